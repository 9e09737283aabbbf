// The benchmarks' workload: a shown 340 x 253 tree list with three columns on a form of the
// headless platform, every row captioned. With `rowParts` the rows are groups of ten children
// under open parents, with a wrapped preview text each and a footer under each group.
#pragma once

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "treelist/dxTL.h"

#include <string>

namespace bench_support {

struct TListOnForm {
    TListOnForm(int rows, dxtl::TdxTreeListOptions options, bool rowParts = false)
        : Application(Platform), Rows(rows) {
        Application.Initialize();
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 400, 300);
        Form->Font().SetHeight(-12);
        List = new dxtl::TdxTreeList(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 340, 253);
        List->SetShowLines(false);
        List->SetOptions(options);
        List->BeginUpdate();
        for (int width : {45, 20, 249})
            List->CreateColumn()->SetWidth(width);
        dxtl::TdxTreeListNode* parent = nullptr;
        for (int i = 0; i < rows; ++i) {
            dxtl::TdxTreeListNode* node = nullptr;
            if (!rowParts || i % 11 == 0) {
                node = parent = List->AddNode();
                parent->SetExpanded(rowParts);
            } else {
                node = parent->AddChild();
            }
            node->SetStrings(2, "Window " + std::to_string(100000 + i));
        }
        if (rowParts) {
            List->SetOptions(List->Options().With(dxtl::aoPreview));
            List->SetShowRowFooter(true);
            List->OnGetPreviewText = [](fw::TObject*, dxtl::TdxTreeListNode*, std::string& text) {
                text = "A preview long enough to wrap over two lines of the list's width";
            };
        }
        List->EndUpdate();
        Form->Show();
        Platform.PaintAll();
    }
    TListOnForm(const TListOnForm&) = delete;
    TListOnForm& operator=(const TListOnForm&) = delete;

    fw::headless::HeadlessPlatform Platform;
    fw::TApplication Application;
    int Rows = 0;
    fw::TForm* Form = nullptr;
    dxtl::TdxTreeList* List = nullptr;
};

} // namespace bench_support
