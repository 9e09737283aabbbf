// The parts a tree list control owns, and the state only its own files read. Included by the
// control's implementation, never by its users: a change here rebuilds treelist/ alone.
#pragma once

#include "treelist/dxTLControl.h"
#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/input/dxTLInput.h"
#include "treelist/input/dxTLRowInput.h"
#include "treelist/model/dxTLSortState.h"

#include <memory>
#include <string>

namespace dxtl {

struct TCustomdxTreeListControl::TParts {
    explicit TParts(TCustomdxTreeListControl& list) : RowInput(list, Input.State) {}

    // The gesture in progress, shared by every part that starts one (dxTLMouse.cpp runs it).
    TdxTreeListInput Input;
    // Row presses, drag select, the input timer and hot tracking.
    TdxTreeListRowInput RowInput;
    // The band and header panels: hit test, presses, sizing, drags and their painting.
    std::unique_ptr<TdxTreeListHeaderPanel> HeaderPanel;
    // The running mode, which lives in StartPanning: a handler of a scroll it makes may free
    // the list under it.
    TdxTreeListPanning* Panning = nullptr;
    TdxTreeListSortState Sort;

    // The cell being painted (valid from BeforePaintCell to AfterPaintCell).
    TdxTreeListCellViewData CellViewData;
    // The client size the layout last followed (a resize to the same size does nothing).
    fw::TSize ClientSize;
};

} // namespace dxtl
