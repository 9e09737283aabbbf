// A tree list on a form of the headless platform, whose fixed text metrics make every height
// and width computable by hand: a font of height -12 measures "Wg" 12 pixels high and a narrow
// character (6 pixels) half as wide, rounded up.
#pragma once

#include "HeadlessFixture.h"
#include "framework/ImageList.h"
#include "framework/StandardClasses.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms.h"

#include <string>
#include <vector>

namespace treelist_testing {

// The classes that stored layouts with tree lists use: the standard ones, the list, its columns.
inline fw::TPropertyRegistry TreeListClasses() {
    fw::TPropertyRegistry registry;
    fw::RegisterStandardClasses(registry);
    dxtl::RegisterTreeList(registry);
    dxtl::RegisterTreeListGraphicColumn(registry);
    return registry;
}

// The published list, with the incremental search's match as a test sets it (the list has no
// search of its own to find one).
class TSearchTreeList : public dxtl::TdxTreeList {
public:
    using TdxTreeList::TdxTreeList;
    int SearchMatch = 0;

protected:
    int PaintSearchMatchLength() const override { return SearchMatch; }
};

class TreeListLayoutTest : public testing_support::HeadlessTest {
protected:
    TreeListLayoutTest() {
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 700, 500);
        Form->Font().SetHeight(-12);
        List = new TSearchTreeList(Form);
        // Without a border, as on the main window: the client area is the list's bounds.
        List->SetBorderStyle(fw::bsNone);
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
    }

    dxtl::TdxTreeListColumn* AddColumn(int width, std::string caption = {}) {
        dxtl::TdxTreeListColumn* column = List->CreateColumn();
        column->SetWidth(width);
        if (!caption.empty())
            column->SetCaption(std::move(caption));
        return column;
    }

    // The main window's list: one band, clSelect (45), lcICon (20, fixed, at least 16) and
    // lcCaption (249) in one header row, fitted to the width, flat, band panel shown, 16-pixel
    // images.
    void MakeWindowList() {
        Images = new fw::TImageList(Form);
        List->BeginUpdate();
        List->SetLookAndFeel(dxtl::lfFlat);
        List->SetOptions({dxtl::aoTabThrough, dxtl::aoRowSelect, dxtl::aoMultiSelect,
                          dxtl::aoAutoWidth, dxtl::aoAutoSort});
        List->SetShowBands(true);
        List->SetImages(Images);
        List->SetStateImages(Images);
        Select = AddColumn(45, "숨기기");
        Icon = new dxtl::TdxTreeListGraphicColumn(Form);
        Icon->SetTreeList(List);
        Icon->SetMinWidth(16);
        Icon->SetWidth(20);
        Icon->SetSizing(false);
        Caption = AddColumn(249, "프로그램명");
        List->EndUpdate();
    }

    // A node by its place in Nodes ("-" for none), so event logs read as places.
    std::string Name(const dxtl::TdxTreeListNode* node) const {
        for (std::size_t i = 0; i < Nodes.size(); ++i)
            if (Nodes[i] == node)
                return std::to_string(i);
        return node ? "?" : "-";
    }

    // The selected nodes by their place in Nodes, in ascending order.
    std::vector<int> Selected() const {
        std::vector<int> places;
        for (std::size_t i = 0; i < Nodes.size(); ++i)
            if (List->IsNodeSelected(Nodes[i]))
                places.push_back(static_cast<int>(i));
        return places;
    }

    std::vector<int> Widths() {
        std::vector<int> widths;
        for (int c = 0; c < List->ColumnCount(); ++c)
            widths.push_back(List->ColumnWidth(c));
        return widths;
    }

    fw::TForm* Form = nullptr;
    TSearchTreeList* List = nullptr;
    fw::TImageList* Images = nullptr;
    dxtl::TdxTreeListColumn* Select = nullptr;
    dxtl::TdxTreeListColumn* Icon = nullptr;
    dxtl::TdxTreeListColumn* Caption = nullptr;
    // The nodes a test added, in the order it added them.
    std::vector<dxtl::TdxTreeListNode*> Nodes;
};

} // namespace treelist_testing
