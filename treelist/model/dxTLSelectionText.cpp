// The selection as text: the visible columns' captions, then one tab-separated line per
// selected node; and the same on the clipboard.
#include "treelist/dxTL.h"

namespace dxtl {

using namespace fw;

std::string TCustomdxTreeListControl::SelectionText() {
    const std::vector<TdxHeaderItem>& items = Layout().HeaderItems;
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += '\t';
        text += FColumns[std::size_t(items[i].Column)]->Caption();
    }
    // The header line ends in a line break of its own, so an empty line follows it.
    text += "\r\n";
    std::vector<TdxTreeListNode*> rows;
    if (MultiSelect()) {
        // Tree order: every node in pre-order, the selected ones picked.
        if (SelectedCount() > 0)
            for (TdxTreeListNode* node = NodeAt(0); node; node = node->GetNext())
                if (IsNodeSelected(node))
                    rows.push_back(node);
    } else if (FocusedNode()) {
        rows.push_back(FocusedNode());
    }
    text += "\r\n";
    for (TdxTreeListNode* node : rows) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += GetNodeString(node, FColumns[std::size_t(items[i].Column)]->FieldIndex());
        }
        text += "\r\n";
    }
    return text;
}

void TCustomdxTreeListControl::CopySelectionToClipboard() {
    if (HasPlatform())
        Platform().SetClipboardText(SelectionText());
}

} // namespace dxtl
