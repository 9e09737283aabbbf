// What the header panel's gestures end in, as the list's events: the header panel
// (dxTLHeaderPanel.h) reports, the list raises OnBandClick, the header click's sorting,
// OnBandButtonClick and OnHeaderButtonClick, the drag events, OnDragEndBand and OnDragEndHeader
// with the moves they accept, the resizes with OnChangedColumnsWidth, and best fits.
#include "treelist/dxTLControlParts.h"
#include "treelist/header/dxTLHeaderPanel.h"

namespace dxtl {

using namespace fw;

namespace {

// Timer 1 moves the view this often while a band or column is dragged beyond an edge.
constexpr unsigned kDragScrollInterval = 100;

} // namespace

class TCustomdxTreeListControl::THeaderEvents final : public IdxHeaderPanelEvents {
public:
    explicit THeaderEvents(TCustomdxTreeListControl& list) : FList(list) {}

    void BandClicked(int band) override {
        if (FList.OnBandClick)
            FList.OnBandClick(&FList, FList.FBands->Items(band));
    }

    void HeaderClicked(int column, bool multiSort, bool clearSort) override {
        FList.HeaderClicked(column, multiSort, clearSort);
    }

    void CornerButtonClicked(bool bandButton) override {
        const TNotifyEvent& event =
            bandButton ? FList.OnBandButtonClick : FList.OnHeaderButtonClick;
        if (event)
            event(&FList);
    }

    bool DragAllowed(bool band, int index) override {
        bool allow = true;
        if (band && FList.OnCanBandDragging)
            FList.OnCanBandDragging(&FList, FList.FBands->Items(index), allow);
        else if (!band && FList.OnCanHeaderDragging)
            FList.OnCanHeaderDragging(&FList, FList.FColumns[std::size_t(index)], allow);
        return allow;
    }

    void DragStarted(bool band, int index) override {
        if (band && FList.OnStartBandDragging)
            FList.OnStartBandDragging(&FList, FList.FBands->Items(index));
        else if (!band && FList.OnStartHeaderDragging)
            FList.OnStartHeaderDragging(&FList, FList.FColumns[std::size_t(index)]);
    }

    void DragScroll(int direction) override {
        FList.SetInputTimer(direction, direction != 0 ? kDragScrollInterval : 0);
    }

    // Over no band the drop hides the band when the list may be customised.
    void BandDropped(int bandIndex, TPoint point, int from, int target) override {
        TdxTreeListBand* band = FList.FBands->Items(bandIndex);
        bool accept = true;
        const TLifeToken alive = FList.LifeToken();
        if (FList.OnDragEndBand)
            FList.OnDragEndBand(&FList, band, point, bandIndex, from, target, accept);
        if (!alive || !accept)
            return;
        if (target >= 0 && target < FList.VisibleBandCount() && target != from) {
            band->SetIndex(FList.BandAtPosition(target));
        } else if (target < 0 && FList.FOptions.Contains(aoExtCustomizing) &&
                   !band->DisableCustomizing()) {
            band->SetVisible(false);
            if (FList.OnHideBand)
                FList.OnHideBand(&FList, band);
        }
    }

    void ColumnDropped(int columnIndex, TPoint point, int target) override {
        TdxTreeListColumn* column = FList.FColumns[std::size_t(columnIndex)];
        bool accept = true;
        const TLifeToken alive = FList.LifeToken();
        if (FList.OnDragEndHeader)
            FList.OnDragEndHeader(&FList, column, point, target, accept);
        if (alive && accept && target >= 0 && target != column->ColIndex())
            column->SetColIndex(target);
    }

    void Resized(TdxInputState kind, int target, int value) override {
        switch (kind) {
        case isColumnSizing:
            FList.ColumnResized(target, value);
            break;
        case isBandSizing:
            FList.BandResized(target, value);
            break;
        case isBandPanelSizing:
            FList.SetBandRowCount(value);
            break;
        case isHeaderPanelSizing:
            FList.SetHeaderPanelRowCount(value);
            break;
        case isRowSizing:
            FList.SetDefaultRowHeight(value);
            break;
        default:
            break;
        }
    }

    void EdgeDoubleClicked(bool band, int index) override {
        if (band)
            FList.ApplyBandBestFit(index);
        else
            FList.ApplyBestFit(FList.Columns(index));
    }

private:
    TCustomdxTreeListControl& FList;
};

std::unique_ptr<TdxTreeListHeaderPanel> TCustomdxTreeListControl::MakeHeaderPanel() {
    return std::make_unique<TdxTreeListHeaderPanel>(*this, FParts->Input.State,
                                                    std::make_unique<THeaderEvents>(*this));
}

int TCustomdxTreeListControl::PaintPressedColumn() const {
    return FParts->HeaderPanel->PushedColumn();
}

int TCustomdxTreeListControl::PaintPressedBand() const {
    return FParts->HeaderPanel->PushedBand();
}

bool TCustomdxTreeListControl::PaintBandButtonPressed() const {
    return FParts->HeaderPanel->BandButtonPushed();
}

bool TCustomdxTreeListControl::PaintHeaderButtonPressed() const {
    return FParts->HeaderPanel->HeaderButtonPushed();
}

} // namespace dxtl
