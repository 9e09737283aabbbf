// A shown tree list with one 100-pixel column and rows to scroll through, for the scrolling
// tests. The list is 340 x 253 with a 17-pixel header: its rows area holds 14 rows of 16
// pixels and a part of a fifteenth.
#pragma once

#include "test_treelist_layout_support.h"

#include <string>

namespace treelist_testing {

class ScrollingTestBase : public TreeListLayoutTest {
protected:
    ScrollingTestBase() {
        AddColumn(100);
        Form->Show();
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i)
            List->AddNode()->SetStrings(0, "row " + std::to_string(i));
    }
    fw::headless::HeadlessWindow& Window() { return WindowOf(*List); }
};

} // namespace treelist_testing
