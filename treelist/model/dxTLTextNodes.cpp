// The control's nodes: text nodes, where they keep their images and column texts, and what a
// column's leaving or moving does to those texts.
#include "treelist/dxTL.h"

namespace dxtl {

using namespace fw;

TdxTreeListNode* TCustomdxTreeListControl::CreateNode() {
    return NewNode<TdxTreeListTextNode>();
}

// Every node of this list comes from CreateNode above (or an override making a descendant of
// TdxTreeListTextNode).
TdxTreeListTextNode& TCustomdxTreeListControl::TextNode(TdxTreeListNode* node) {
    return static_cast<TdxTreeListTextNode&>(*node);
}

int TCustomdxTreeListControl::GetNodeImageIndex(TdxTreeListNode* node) {
    int index = TextNode(node).FImageIndex;
    if (OnGetImageIndex)
        OnGetImageIndex(this, node, index);
    return index;
}

int TCustomdxTreeListControl::GetNodeSelectedIndex(TdxTreeListNode* node) {
    int index = TextNode(node).FSelectedIndex;
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, node, index);
    return index;
}

int TCustomdxTreeListControl::GetNodeStateIndex(TdxTreeListNode* node) {
    int index = TextNode(node).FStateIndex;
    if (OnGetStateIndex)
        OnGetStateIndex(this, node, index);
    return index;
}

// Index writes repaint the row even when the value stays: callers rely on it to refresh
// images that changed behind the index.
void TCustomdxTreeListControl::SetNodeImageIndex(TdxTreeListNode* node, int index) {
    if (index != GetNodeImageIndex(node))
        TextNode(node).FImageIndex = index;
    NodeChanged(node, false);
}

void TCustomdxTreeListControl::SetNodeSelectedIndex(TdxTreeListNode* node, int index) {
    if (index != GetNodeSelectedIndex(node))
        TextNode(node).FSelectedIndex = index;
    NodeChanged(node, false);
}

void TCustomdxTreeListControl::SetNodeStateIndex(TdxTreeListNode* node, int index) {
    if (index != GetNodeStateIndex(node))
        TextNode(node).FStateIndex = index;
    NodeChanged(node, false);
}

std::string TCustomdxTreeListControl::GetNodeString(TdxTreeListNode* node, int index) {
    if (index < 0)
        RaiseListIndexError(index);
    return std::string(TextNode(node).FStrings.Get(index));
}

int TCustomdxTreeListControl::GetNodeStringCount(TdxTreeListNode* node) {
    return TextNode(node).FStrings.Count();
}

void TCustomdxTreeListControl::SetNodeString(TdxTreeListNode* node, int index,
                                             std::string_view text) {
    if (index < 0)
        RaiseListIndexError(index);
    TextNode(node).FStrings.Set(index, text);
    // Not repainted, but measured again on its next use: wrapped rows follow their texts.
    node->SetCachedRowHeight(0);
}

TdxValue TCustomdxTreeListControl::GetNodeVariant(TdxTreeListNode* node, int index) {
    return TdxValue(GetNodeString(node, index));
}

void TCustomdxTreeListControl::SetNodeVariant(TdxTreeListNode* node, int index,
                                              const TdxValue& value) {
    SetNodeString(node, index, ValueToText(value));
    if (UpdateLockCount() == 0 && HandleAllocated())
        InvalidateRect(NodeRowRect(node));
}

void TCustomdxTreeListControl::DeleteColumnValue(TdxTreeListNode* node, int fieldIndex) {
    if (!node || fieldIndex < 0)
        return;
    // The node, then its subtree in pre-order, without recursion.
    const TdxTreeListNode* end = node->NextAfterSubtree();
    for (TdxTreeListNode* n = node; n && n != end; n = n->GetNext())
        TextNode(n).FStrings.Delete(fieldIndex);
}

void TCustomdxTreeListControl::MoveColumnValue(TdxTreeListNode* node, int from, int to) {
    if (!node || from < 0 || to < 0 || from == to)
        return;
    const TdxTreeListNode* end = node->NextAfterSubtree();
    for (TdxTreeListNode* n = node; n && n != end; n = n->GetNext())
        TextNode(n).FStrings.Move(from, to);
}

} // namespace dxtl
