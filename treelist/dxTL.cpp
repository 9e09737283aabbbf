// The published tree list: its initial bounds, the re-sort requests of node changes and its
// paint pass.
#include "treelist/dxTL.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

TdxTreeList::TdxTreeList(TComponent* owner) : TCustomdxTreeListControl(owner) {
    WindowClassName = "TdxTreeList";
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
    SetTabStop(true);
}

void TdxTreeList::Paint() {
    PaintControl(Canvas());
}

bool TdxTreeList::ResortWanted() const {
    return OptionsEx().Contains(aoAutoSortRefresh) && !Clearing() && !ListDestroying();
}

void TdxTreeList::RequestResort() {
    // A handler of a running sort that writes texts must not start another sort.
    if (!ResortWanted() || Sorting())
        return;
    if (UpdateLockCount() != 0)
        FResortPending = true;
    else
        Resort();
}

void TdxTreeList::NodeAdded(TdxTreeListNode* node) {
    TCustomdxTreeListControl::NodeAdded(node);
    RequestResort();
}

void TdxTreeList::NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous,
                              TdxTreeListNode* next, bool last, bool visible) {
    // Freeing many nodes calls this for each: the guard (a life token each time) is taken only
    // when the deletion may ask for a re-sort.
    if (!ResortWanted()) {
        TCustomdxTreeListControl::NodeDeleted(node, previous, next, last, visible);
        return;
    }
    const TScopeExit resort(*this, [this] { RequestResort(); });
    TCustomdxTreeListControl::NodeDeleted(node, previous, next, last, visible);
}

void TdxTreeList::SetNodeString(TdxTreeListNode* node, int index, std::string_view text) {
    TCustomdxTreeListControl::SetNodeString(node, index, text);
    RequestResort();
}

void TdxTreeList::RunPendingResort() {
    if (FResortPending) {
        FResortPending = false;
        Resort();
    }
}

} // namespace dxtl
