// The selection decision (see dxTLSelectionDecision.h): the key rules, then the steps they are
// made of. Each step stops as soon as the filter's handler freed nodes or the list.
#include "treelist/model/dxTLSelectionDecision.h"

#include <utility>
#include <vector>

namespace dxtl {

using Follow = TdxSelectionFollow;

TdxSelectionDecision::TdxSelectionDecision(TdxSelectionRows& rows,
                                           const TdxTreeListSelection& current, bool multiSelect,
                                           bool extMultiSelect)
    : FRows(rows), FDecided(current), FMultiSelect(multiSelect), FExtMultiSelect(extMultiSelect) {
    FDecided.RangeStart = nullptr;
}

// --- Rules -----------------------------------------------------------------------------------

void TdxSelectionDecision::ForKey(const TdxKeySelection& request) {
    if (request.EndsShiftRun)
        FDecided.Extending = false;
    switch (request.Follow) {
    case Follow::Keep:
        break;
    case Follow::Alone:
    case Follow::Clear:
        Clear();
        break;
    case Follow::AloneWithoutAnchor:
        Clear();
        SetAnchor(nullptr);
        break;
    case Follow::Step:
        if (FMultiSelect) {
            if (!request.AtEdge)
                Clear();
            SetAnchor(nullptr);
        }
        break;
    case Follow::ShiftStep:
        ShiftStep(request);
        break;
    case Follow::Range:
        Clear();
        if (!FDecided.Anchor)
            SetAnchor(request.Focused);
        if (FMultiSelect)
            SelectRange(FDecided.Anchor, request.Target);
        break;
    case Follow::Toggle:
        Toggle(request.Focused);
        SetAnchor(request.Focused);
        break;
    }
    if (request.KeepsARowSelected && FDecided.Count() == 0 && request.Target)
        Select(request.Target);
}

void TdxSelectionDecision::ShiftStep(const TdxKeySelection& request) {
    if (!FDecided.Extending) {
        StartShiftRun(request);
        return;
    }
    if (CompareWithAnchor(request.Focused) == -request.Direction)
        Deselect(request.Focused);
    else
        Select(request.Target);
}

// The first Shift move: the range from the anchor to the focused row (the focused row alone
// without an anchor), then the row the focus arrives at.
void TdxSelectionDecision::StartShiftRun(const TdxKeySelection& request) {
    TdxTreeListNode* focused = request.Focused;
    if (!request.AtEdge)
        Clear();
    if (TdxTreeListNode* anchor = FDecided.Anchor) {
        SelectRange(anchor, focused);
        if (CompareWithAnchor(focused) == -request.Direction && focused != anchor)
            Deselect(focused);
    } else {
        SetAnchor(focused);
        Select(focused);
    }
    if (FStopped)
        return;
    SetExtending(true);
    Select(request.Target);
}

bool TdxSelectionDecision::ForPress(TdxTreeListNode* focusedBefore, TdxTreeListNode* pressed,
                                    bool shift, bool ctrl) {
    SetExtending(false);
    if (ctrl && !shift) {
        Toggle(pressed);
        SetAnchor(pressed);
        return false;
    }
    if (shift) {
        if (!FDecided.Anchor)
            SetAnchor(focusedBefore);
        TdxTreeListNode* from = focusedBefore;
        if (!ctrl && FDecided.Anchor) {
            Clear();
            from = FDecided.Anchor;
        }
        if (from)
            SelectRange(from, pressed);
        else
            Toggle(pressed);
        return false;
    }
    if (FDecided.Contains(pressed))
        return true;
    Alone(pressed);
    return false;
}

void TdxSelectionDecision::Alone(TdxTreeListNode* node) {
    Clear();
    Select(node);
    SetAnchor(node);
}

// --- Steps -----------------------------------------------------------------------------------

void TdxSelectionDecision::Select(TdxTreeListNode* node) {
    if (FStopped || !FMultiSelect || !node)
        return;
    if (Allows(node))
        FDecided.Insert(node);
}

void TdxSelectionDecision::Deselect(TdxTreeListNode* node) {
    if (!FStopped && FMultiSelect)
        FDecided.Remove(node);
}

void TdxSelectionDecision::Toggle(TdxTreeListNode* node) {
    if (FDecided.Contains(node))
        Deselect(node);
    else
        Select(node);
}

void TdxSelectionDecision::Clear() {
    if (FStopped || FDecided.Count() == 0)
        return;
    FDecided.Clear();
    FDecided.Extending = false;
}

void TdxSelectionDecision::SelectRange(TdxTreeListNode* a, TdxTreeListNode* b) {
    if (FStopped)
        return;
    // The range runs over shown rows only, so it never starts at a row that does not exist.
    a = FRows.ShownRowOf(a);
    b = FRows.ShownRowOf(b);
    if (!a || !b)
        return;
    if (FRows.RowOfNode(a) > FRows.RowOfNode(b))
        std::swap(a, b);
    // While the range is collected, its first row stands for the selection the filter keeps
    // siblings with.
    TdxTreeListNode* const earlierStart = std::exchange(FDecided.RangeStart, nullptr);
    std::vector<TdxTreeListNode*> collected;
    for (TdxTreeListNode* node = a; node; node = FRows.RowAfter(node)) {
        if (!FDecided.RangeStart)
            FDecided.RangeStart = node;
        const bool allowed = Allows(node);
        if (FStopped)
            return;
        if (allowed)
            collected.push_back(node);
        if (node == b)
            break;
    }
    FDecided.RangeStart = earlierStart;
    FDecided.Merge(std::move(collected));
}

bool TdxSelectionDecision::Allows(TdxTreeListNode* node) {
    const TdxHandlerVerdict verdict = FRows.AskHandler(node);
    if (verdict == TdxHandlerVerdict::FreedNodes || verdict == TdxHandlerVerdict::FreedList) {
        FStopped = true;
        return false;
    }
    return verdict == TdxHandlerVerdict::Allows &&
           (FExtMultiSelect || FDecided.SharesParentWithFirst(node));
}

int TdxSelectionDecision::CompareWithAnchor(const TdxTreeListNode* node) const {
    const int difference = FRows.RowOfNode(node) - FRows.RowOfNode(FDecided.Anchor);
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

} // namespace dxtl
