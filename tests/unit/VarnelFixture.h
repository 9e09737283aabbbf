// The main form on the headless platform, with its stored layout read from the source tree.
#pragma once

#include "HeadlessFixture.h"
#include "app/uVarnel.h"
#include "tests/support/HeadlessMainForm.h"

namespace testing_support {

class VarnelTest : public HeadlessTest {
protected:
    VarnelTest() { AddMainFormLayout(Platform); }
    varnel::TfVarnel* CreateMainForm() {
        Form = Application.CreateForm<varnel::TfVarnel>();
        return Form;
    }

    // The row of the window in the form's list, or nullptr.
    dxtl::TdxTreeListNode* NodeOf(fw::TWindowHandle window) {
        dxtl::TdxTreeList& list = *Form->tlWinList;
        for (int i = 0; i < list.NodeCount(); ++i)
            if (static_cast<varnel::TWindowObject*>(list.NodeAt(i)->Data())->Handle == window)
                return list.NodeAt(i);
        return nullptr;
    }
    // Sets the window's mark as the application does: the image and the selected image.
    void Mark(fw::TWindowHandle window, int mark = varnel::TfVarnel::kMarked) {
        auto* node = NodeOf(window);
        ASSERT_NE(node, nullptr);
        node->SetImageIndex(mark);
        node->SetSelectedIndex(mark);
    }
    void PressF2() {
        Desktop().PressHotKey(0, fw::VK::F2);
        Platform.ProcessPosted();
    }
    void PressShiftF2() {
        Desktop().PressHotKey(fw::HotKeyMod::Shift, fw::VK::F2);
        Platform.ProcessPosted();
    }

    varnel::TfVarnel* Form = nullptr;
};

} // namespace testing_support
