// The list's published properties: construction with their initial values, clamps, option
// sets and their side effects, fonts, image lists, and loading.
//
// Sections:
//   lifetime           - construction, destruction, loading, notifications, resizing
//   fonts              - the panel fonts following the list's, columns' unwritten fonts
//   header rows        - band rows, default layout, header panel rows
//   options            - Options and OptionsEx and what changing them does
//   image lists
//   row height         - the written height and the minimum
#include "treelist/dxTL.h"
#include "treelist/dxTLControlParts.h"
#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/input/dxTLPanning.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {
constexpr TColor kPreviewFontColor = 0x00FF0000;
} // namespace

// --- lifetime --------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(TCustomdxTreeListControl, TCustomdxTreeList)
FW_MESSAGE(Msg::CmFontChanged, CMFontChanged)
FW_MESSAGE(Msg::SetFocus, WMSetFocus)
FW_MESSAGE(Msg::KillFocus, WMKillFocus)
FW_MESSAGE(Msg::Size, WMSize)
FW_MESSAGE(Msg::VScroll, WMVScroll)
FW_MESSAGE(Msg::HScroll, WMHScroll)
FW_MESSAGE(Msg::MouseWheel, WMMouseWheel)
FW_MESSAGE(Msg::Timer, WMTimer)
FW_MESSAGE(Msg::LButtonUp, WMButtonUp)
FW_MESSAGE(Msg::RButtonUp, WMButtonUp)
FW_MESSAGE(Msg::MButtonUp, WMButtonUp)
FW_MESSAGE(Msg::CaptureChanged, WMCaptureChanged)
FW_MESSAGE(Msg::CancelMode, WMCancelMode)
FW_MESSAGE(Msg::CmMouseEnter, CMMouseEnter)
FW_MESSAGE(Msg::CmMouseLeave, CMMouseLeave)
FW_MESSAGE(Msg::GetDlgCode, WMGetDlgCode)
FW_MESSAGE(Msg::NcPaint, WMNCPaint)
FW_END_MESSAGE_MAP()

TCustomdxTreeListControl::TCustomdxTreeListControl(TComponent* owner)
    : TCustomdxTreeList(owner), FParts(std::make_unique<TParts>(*this)),
      FBands(std::make_unique<TdxTreeListBands>(this)) {
    // The list raises its click itself, at the release of a row press.
    SetControlStyle((ControlStyle() | csCaptureMouse | csDoubleClicks) & ~csClickEvents);
    FPreviewFont.SetColor(kPreviewFontColor);
    const auto panelFontChanged = [this] {
        if (!FParts->ChangingPanelFonts)
            LayoutChanged();
    };
    FBandFont.OnChange = panelFontChanged;
    FHeaderFont.OnChange = panelFontChanged;
    FPreviewFont.OnChange = panelFontChanged;
    FBands->Add();
    FParts->HeaderPanel = MakeHeaderPanel();
    CalcHeights();
}

TCustomdxTreeListControl::~TCustomdxTreeListControl() {
    FBandFont.OnChange = nullptr;
    FHeaderFont.OnChange = nullptr;
    FPreviewFont.OnChange = nullptr;
    // Reached without BeforeDestruction only through a plain delete.
    for (TdxTreeListColumn* column : FColumns)
        column->FTreeList = nullptr;
    FColumns.clear();
}

void TCustomdxTreeListControl::BeforeDestruction() {
    TCustomdxTreeList::BeforeDestruction();
    // The columns belong to the form and outlive the list: they only forget it.
    for (TdxTreeListColumn* column : FColumns)
        column->FTreeList = nullptr;
    FColumns.clear();
}

void TCustomdxTreeListControl::Loaded() {
    TCustomdxTreeList::Loaded();
    ResolvePendingImages();
    CopyFontToColumns();
    CompactHeaderRows();
    LoadSortedColumns();
    LayoutChanged();
}

void TCustomdxTreeListControl::Notification(TComponent* component, TOperation operation) {
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

void TCustomdxTreeListControl::Resize() {
    ClientSizeChanged();
    TCustomdxTreeList::Resize();
}

void TCustomdxTreeListControl::WMSetFocus(TMessage& message) {
    FocusGained();
    DispatchInherited(StaticMessageTable(), message);
}

// OnExit comes first, then the edit in progress ends.
void TCustomdxTreeListControl::WMKillFocus(TMessage& message) {
    if (FParts->Panning)
        FParts->Panning->Stop();
    // An exit handler may free the list.
    const TLifeToken alive = LifeToken();
    DispatchInherited(StaticMessageTable(), message);
    if (!alive)
        return;
    FParts->RowInput.DropPress();
    FocusLost();
}

int TCustomdxTreeListControl::VisibleColumnCount() const {
    return static_cast<int>(Layout().HeaderItems.size());
}

void TCustomdxTreeListControl::SettingChanged(TdxSettingEffect effect) {
    switch (effect) {
    case TdxSettingEffect::Repaint:
        ViewChanged();
        break;
    case TdxSettingEffect::Relayout:
        LayoutChanged();
        break;
    case TdxSettingEffect::Reframe:
        ApplyFrame();
        break;
    }
}

void TCustomdxTreeListControl::ViewChanged() {
    if (UpdateLockCount() == 0 && !IsLoading() && !ListDestroying())
        Invalidate();
}

// --- fonts -----------------------------------------------------------------------------------

// While ParentFont is true, a new font from the parent is copied into the panel fonts (the
// preview font takes its name, size and style and stays blue); columns whose font was never
// written take it too.
void TCustomdxTreeListControl::CMFontChanged(TMessage& message) {
    if (ParentFont()) {
        const TTemporaryValue changing(*this, FParts->ChangingPanelFonts, true);
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
    DispatchInherited(StaticMessageTable(), message);
}

// --- header rows -----------------------------------------------------------------------------

void TCustomdxTreeListControl::SetBandRowCount(int count) {
    FBandRowCount = std::clamp(count, 1, FBandMaxRowCount);
    if (FOptionsEx.Contains(aoAutoHeaderPanelHeight) && !IsLoading())
        ApplyAutoHeaderPanelHeight();
    LayoutChanged();
}

void TCustomdxTreeListControl::SetBandMaxRowCount(int count) {
    FBandMaxRowCount = std::max(count, 1);
    SetBandRowCount(FBandRowCount);
}

void TCustomdxTreeListControl::SetDefaultLayout(bool defaultLayout) {
    if (defaultLayout == FDefaultLayout)
        return;
    FDefaultLayout = defaultLayout;
    DropLayoutLists();
    if (defaultLayout)
        ApplyDefaultLayout();
    else
        LayoutChanged();
}

void TCustomdxTreeListControl::SetHeaderMinRowCount(int count) {
    FHeaderMinRowCount = std::max(count, 1);
    LayoutChanged();
}

void TCustomdxTreeListControl::SetHeaderPanelMaxRowCount(int count) {
    FHeaderPanelMaxRowCount = std::max(count, 1);
    // Applied again under the new maximum; not a write of the count itself.
    ApplyHeaderPanelRowCount(FHeaderPanelRowCount, false);
}

void TCustomdxTreeListControl::SetHeaderPanelRowCount(int count) {
    ApplyHeaderPanelRowCount(count, true);
}

void TCustomdxTreeListControl::ApplyHeaderPanelRowCount(int count, bool clearsAutoHeight) {
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

bool TCustomdxTreeListControl::HeaderPanelRowCountStored() const {
    return !FOptionsEx.Contains(aoAutoHeaderPanelHeight);
}

// --- options ---------------------------------------------------------------------------------

void TCustomdxTreeListControl::SetOptions(TdxTreeListOptions options) {
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
        ResetSortState();
    DropLayoutLists();
    if (!IsLoading()) {
        ClearSelection();
        if (TdxTreeListNode* focused = FocusedNode())
            SetNodeSelected(focused, true);
        if (!options.Contains(aoRowSelect) && StoredFocusedColumn() < 0)
            SetFocusedColumn(0);
    }
}

void TCustomdxTreeListControl::SetOptionsEx(TdxTreeListOptionsEx options) {
    if (options == FOptionsEx)
        return;
    const TdxTreeListOptionsEx old = FOptionsEx;
    const TUpdateLock lock(*this);
    if (options.Contains(aoInvertSelect))
        FOptions = FOptions.Without(aoRowSelect);
    FOptionsEx = options;
    if ((old.Contains(aoMultiSort) && !options.Contains(aoMultiSort)) ||
        old.Contains(aoAnsiSort) != options.Contains(aoAnsiSort))
        ResetSortState();
    if (!old.Contains(aoAutoHeaderPanelHeight) && options.Contains(aoAutoHeaderPanelHeight) &&
        !IsLoading())
        ApplyAutoHeaderPanelHeight();
    DropLayoutLists();
}

// --- image lists -----------------------------------------------------------------------------

void TCustomdxTreeListControl::SetImageList(TImageList*& slot, TImageList* images) {
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

void TCustomdxTreeListControl::SetImages(TImageList* images) {
    FParts->PendingImagesName.clear();
    SetImageList(FImages, images);
}

void TCustomdxTreeListControl::SetStateImages(TImageList* images) {
    FParts->PendingStateImagesName.clear();
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

void TCustomdxTreeListControl::SetImagesName(std::string name) {
    if (IsLoading() && !name.empty() && !(Owner() && Owner()->FindComponent(name))) {
        FParts->PendingImagesName = std::move(name);
        return;
    }
    SetImages(FindImageList(*this, name));
}

void TCustomdxTreeListControl::SetStateImagesName(std::string name) {
    if (IsLoading() && !name.empty() && !(Owner() && Owner()->FindComponent(name))) {
        FParts->PendingStateImagesName = std::move(name);
        return;
    }
    SetStateImages(FindImageList(*this, name));
}

void TCustomdxTreeListControl::ResolvePendingImages() {
    const std::string images = std::move(FParts->PendingImagesName);
    const std::string stateImages = std::move(FParts->PendingStateImagesName);
    FParts->PendingImagesName.clear();
    FParts->PendingStateImagesName.clear();
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

void TCustomdxTreeListControl::SetDefaultRowHeight(int height) {
    FWrittenRowHeight = height;
    FRowHeightWritten = true;
    // Until the next recalculation the written height shows, never below the minimum.
    FHeights.Row = std::max(height, FHeights.MinRow);
    LayoutChanged();
}

} // namespace dxtl
