// The columns' layout list: construction, loading, its published properties with rules of
// their own (option sets and their side effects, header rows, fonts, image lists, row height),
// and what a column's or a band's change does to it.
//
// Sections:
//   lifetime           - construction, destruction, loading, notifications
//   fonts              - the panel fonts following the list's, columns' unwritten fonts
//   header rows        - band rows, default layout, header panel rows
//   options            - Options and OptionsEx and what changing them does
//   image lists
//   row height         - the written height and the minimum
//   columns and bands  - the column list, a column's or a band's change
#include "treelist/dxTL.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {
constexpr TColor kPreviewFontColor = 0x00FF0000;
} // namespace

// --- lifetime --------------------------------------------------------------------------------

TCustomdxTreeListLayout::TCustomdxTreeListLayout(TComponent* owner) : TCustomdxTreeList(owner) {
    FPreviewFont.SetColor(kPreviewFontColor);
    const auto panelFontChanged = [this] {
        if (!FChangingPanelFonts)
            LayoutChanged();
    };
    FBandFont.OnChange = panelFontChanged;
    FHeaderFont.OnChange = panelFontChanged;
    FPreviewFont.OnChange = panelFontChanged;
}

TCustomdxTreeListLayout::~TCustomdxTreeListLayout() {
    FBandFont.OnChange = nullptr;
    FHeaderFont.OnChange = nullptr;
    FPreviewFont.OnChange = nullptr;
}

void TCustomdxTreeListLayout::BeforeDestruction() {
    TCustomdxTreeList::BeforeDestruction();
    // The columns belong to the form and outlive the list: they only forget it.
    for (TdxTreeListColumn* column : FColumns)
        column->FTreeList = nullptr;
    FColumns.clear();
}

void TCustomdxTreeListLayout::Loaded() {
    TCustomdxTreeList::Loaded();
    ResolvePendingImages();
    CopyFontToColumns();
    CompactHeaderRows();
}

void TCustomdxTreeListLayout::Notification(TComponent* component, TOperation operation) {
    TCustomdxTreeList::Notification(component, operation);
    if (operation != opRemove)
        return;
    bool changed = false;
    if (component == FImages) {
        FImages = nullptr;
        changed = true;
    }
    if (component == FStateImages) {
        FStateImages = nullptr;
        changed = true;
    }
    if (changed)
        LayoutChanged();
}

int TCustomdxTreeListLayout::VisibleColumnCount() const {
    return static_cast<int>(Layout().HeaderItems.size());
}

void TCustomdxTreeListLayout::ViewChanged() {
    if (UpdateLockCount() == 0 && !IsLoading() && !ListDestroying())
        Invalidate();
}

// --- fonts -----------------------------------------------------------------------------------

// While ParentFont is true, a new font from the parent is copied into the panel fonts (the
// preview font takes its name, size and style and stays blue); columns whose font was never
// written take it too.
void TCustomdxTreeListLayout::FollowParentFont() {
    if (ParentFont()) {
        const TTemporaryValue changing(*this, FChangingPanelFonts, true);
        FBandFont.Assign(Font());
        FHeaderFont.Assign(Font());
        FPreviewFont.SetName(Font().Name());
        FPreviewFont.SetHeight(Font().Height());
        FPreviewFont.SetCharset(Font().Charset());
        FPreviewFont.SetStyle(Font().Style());
        FPreviewFont.SetColor(kPreviewFontColor);
    }
    CopyFontToColumns();
    LayoutChanged();
}

// --- header rows -----------------------------------------------------------------------------

void TCustomdxTreeListLayout::SetBandRowCount(int count) {
    FBandRowCount = std::clamp(count, 1, FBandMaxRowCount);
    if (FOptionsEx.Contains(aoAutoHeaderPanelHeight) && !IsLoading())
        ApplyAutoHeaderPanelHeight();
    LayoutChanged();
}

void TCustomdxTreeListLayout::SetBandMaxRowCount(int count) {
    FBandMaxRowCount = std::max(count, 1);
    SetBandRowCount(FBandRowCount);
}

void TCustomdxTreeListLayout::SetDefaultLayout(bool defaultLayout) {
    if (defaultLayout == FDefaultLayout)
        return;
    FDefaultLayout = defaultLayout;
    DropLayoutLists();
    if (defaultLayout)
        ApplyDefaultLayout();
    else
        LayoutChanged();
}

void TCustomdxTreeListLayout::SetHeaderMinRowCount(int count) {
    FHeaderMinRowCount = std::max(count, 1);
    LayoutChanged();
}

void TCustomdxTreeListLayout::SetHeaderPanelMaxRowCount(int count) {
    FHeaderPanelMaxRowCount = std::max(count, 1);
    // Applied again under the new maximum; not a write of the count itself.
    ApplyHeaderPanelRowCount(FHeaderPanelRowCount, false);
}

void TCustomdxTreeListLayout::SetHeaderPanelRowCount(int count) {
    ApplyHeaderPanelRowCount(count, true);
}

void TCustomdxTreeListLayout::ApplyHeaderPanelRowCount(int count, bool clearsAutoHeight) {
    count = std::clamp(count, 1, FHeaderPanelMaxRowCount);
    if (clearsAutoHeight)
        FOptionsEx = FOptionsEx.Without(aoAutoHeaderPanelHeight);
    if (count > 1)
        FDefaultLayout = false;
    if (count == FHeaderPanelRowCount)
        return;
    FHeaderPanelRowCount = count;
    DropLayoutLists();
    if (IsLoading() || ListDestroying())
        return;
    CompactHeaderRows();
    LayoutChanged();
}

bool TCustomdxTreeListLayout::HeaderPanelRowCountStored() const {
    return !FOptionsEx.Contains(aoAutoHeaderPanelHeight);
}

// --- options ---------------------------------------------------------------------------------

void TCustomdxTreeListLayout::SetOptions(TdxTreeListOptions options) {
    if (options == FOptions)
        return;
    const TdxTreeListOptions old = FOptions;
    // The lock closes an open editor, makes the selection's changes one event and recomputes
    // the layout at its end.
    const TUpdateLock lock(*this);
    if (options.Contains(aoRowSelect))
        FOptionsEx = FOptionsEx.Without(aoInvertSelect);
    if (old.Contains(aoAutoWidth) && !options.Contains(aoAutoWidth) &&
        FOptionsEx.Contains(aoKeepColumnWidth) && !IsLoading())
        KeepFittedWidths();
    FOptions = options;
    if (!old.Contains(aoAutoSort) && options.Contains(aoAutoSort))
        SortOptionsChanged();
    DropLayoutLists();
    if (!IsLoading()) {
        ClearSelection();
        if (TdxTreeListNode* focused = FocusedNode())
            SetNodeSelected(focused, true);
        if (!options.Contains(aoRowSelect) && StoredFocusedColumn() < 0)
            SetFocusedColumn(0);
    }
}

void TCustomdxTreeListLayout::SetOptionsEx(TdxTreeListOptionsEx options) {
    if (options == FOptionsEx)
        return;
    const TdxTreeListOptionsEx old = FOptionsEx;
    const TUpdateLock lock(*this);
    if (options.Contains(aoInvertSelect))
        FOptions = FOptions.Without(aoRowSelect);
    FOptionsEx = options;
    if ((old.Contains(aoMultiSort) && !options.Contains(aoMultiSort)) ||
        old.Contains(aoAnsiSort) != options.Contains(aoAnsiSort))
        SortOptionsChanged();
    if (!old.Contains(aoAutoHeaderPanelHeight) && options.Contains(aoAutoHeaderPanelHeight) &&
        !IsLoading())
        ApplyAutoHeaderPanelHeight();
    DropLayoutLists();
}

// --- image lists -----------------------------------------------------------------------------

void TCustomdxTreeListLayout::SetImageList(TImageList*& slot, TImageList* images) {
    if (slot == images)
        return;
    TImageList* old = slot;
    slot = images;
    // The other slot may hold the same list and still needs to hear when it goes.
    if (old && old != FImages && old != FStateImages)
        RemoveFreeNotification(old);
    if (images)
        images->FreeNotification(this);
    LayoutChanged();
}

void TCustomdxTreeListLayout::SetImages(TImageList* images) {
    FPendingImagesName.clear();
    SetImageList(FImages, images);
}

void TCustomdxTreeListLayout::SetStateImages(TImageList* images) {
    FPendingStateImagesName.clear();
    SetImageList(FStateImages, images);
}

namespace {
// An image list among the owner's components; none for an empty name.
TImageList* FindImageList(const TComponent& list, const std::string& name) {
    if (name.empty())
        return nullptr;
    auto* images =
        dynamic_cast<TImageList*>(list.Owner() ? list.Owner()->FindComponent(name) : nullptr);
    if (!images)
        throw EInvaliddxTreeListOperation("'" + name + "' is not an image list of " +
                                          (list.Owner() ? list.Owner()->Name() : "no owner"));
    return images;
}
} // namespace

void TCustomdxTreeListLayout::SetImagesName(std::string name) {
    if (IsLoading() && !name.empty() && !(Owner() && Owner()->FindComponent(name))) {
        FPendingImagesName = std::move(name);
        return;
    }
    SetImages(FindImageList(*this, name));
}

void TCustomdxTreeListLayout::SetStateImagesName(std::string name) {
    if (IsLoading() && !name.empty() && !(Owner() && Owner()->FindComponent(name))) {
        FPendingStateImagesName = std::move(name);
        return;
    }
    SetStateImages(FindImageList(*this, name));
}

void TCustomdxTreeListLayout::ResolvePendingImages() {
    const std::string images = std::move(FPendingImagesName);
    const std::string stateImages = std::move(FPendingStateImagesName);
    FPendingImagesName.clear();
    FPendingStateImagesName.clear();
    try {
        if (!images.empty())
            SetImages(FindImageList(*this, images));
        if (!stateImages.empty())
            SetStateImages(FindImageList(*this, stateImages));
    } catch (const EInvaliddxTreeListOperation& e) {
        throw ELayoutError(Name() + ": " + e.what());
    }
}

// --- other properties ------------------------------------------------------------------------

void TCustomdxTreeListLayout::SetDefaultRowHeight(int height) {
    FWrittenRowHeight = height;
    FRowHeightWritten = true;
    // Until the next recalculation the written height shows, never below the minimum.
    FHeights.Row = std::max(height, FHeights.MinRow);
    LayoutChanged();
}

// --- columns and bands ------------------------------------------------------------------------

TdxTreeListColumn* TCustomdxTreeListLayout::Columns(int index) const {
    if (index < 0 || index >= ColumnCount())
        RaiseListIndexError(index);
    return FColumns[static_cast<std::size_t>(index)];
}

int TCustomdxTreeListLayout::ColumnIndexOf(const TdxTreeListColumn* column) const {
    const auto it = std::find(FColumns.begin(), FColumns.end(), column);
    return it == FColumns.end() ? -1 : static_cast<int>(it - FColumns.begin());
}

bool TCustomdxTreeListLayout::IsColumnShown(const TdxTreeListColumn* column) const {
    if (!column || !column->FVisible)
        return false;
    const int band = column->FBandIndex;
    return band >= 0 && band < FBands->Count() && FBands->Items(band)->Visible();
}

void TCustomdxTreeListLayout::ColumnChanged(TdxTreeListColumn*, bool layout) {
    // Wrapped rows are measured in the width their text is painted in, which a column's looks
    // (its alignment) change: their heights are measured again.
    if (!layout && FOptionsEx.Contains(aoRowAutoHeight) && !IsLoading()) {
        LayoutChanged();
        return;
    }
    if (!layout) {
        ViewChanged();
        return;
    }
    DropLayoutLists();
    if (IsLoading() || ListDestroying())
        return;
    CompactHeaderRows();
    LayoutChanged();
}

void TCustomdxTreeListLayout::CopyFontToColumns() {
    for (TdxTreeListColumn* column : FColumns)
        if (!column->FAssignedValues.Contains(cvFont))
            column->CopyListFont();
}

void TCustomdxTreeListLayout::BandDeleted(int index) {
    for (TdxTreeListColumn* column : FColumns) {
        if (column->FBandIndex == index)
            column->FBandIndex = -1;
        else if (column->FBandIndex > index)
            --column->FBandIndex;
    }
}

// Renumbered columns sit in other band positions: the layout follows at once, whoever moved
// the band.
void TCustomdxTreeListLayout::BandMoved(int from, int to) {
    for (TdxTreeListColumn* column : FColumns) {
        int& band = column->FBandIndex;
        if (band == from)
            band = to;
        else if (from < to && band > from && band <= to)
            --band;
        else if (from > to && band >= to && band < from)
            ++band;
    }
    BandsChanged();
}

void TCustomdxTreeListLayout::BandsChanged() {
    DropLayoutLists();
    if (IsLoading() || ListDestroying())
        return;
    CompactHeaderRows();
    LayoutChanged();
}

} // namespace dxtl
