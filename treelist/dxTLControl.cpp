// The control's life and the messages it answers itself: construction with its parts, loading,
// focus, fonts, what a written setting asks of it, and columns joining and leaving it.
#include "treelist/dxTLControlParts.h"
#include "treelist/input/dxTLPanning.h"

namespace dxtl {

using namespace fw;

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
    : TCustomdxTreeListLayout(owner), FParts(std::make_unique<TParts>(*this)) {
    // The list raises its click itself, at the release of a row press.
    SetControlStyle((ControlStyle() | csCaptureMouse | csDoubleClicks) & ~csClickEvents);
    // The bands and columns reach their list as the control.
    FBands = std::make_unique<TdxTreeListBands>(this);
    FBands->Add();
    FParts->HeaderPanel = MakeHeaderPanel();
    CalcHeights();
}

TCustomdxTreeListControl::~TCustomdxTreeListControl() {
    // Reached without BeforeDestruction only through a plain delete.
    for (TdxTreeListColumn* column : FColumns)
        column->FTreeList = nullptr;
    FColumns.clear();
}

void TCustomdxTreeListControl::Loaded() {
    TCustomdxTreeListLayout::Loaded();
    LoadSortedColumns();
    LayoutChanged();
}

void TCustomdxTreeListControl::Resize() {
    ClientSizeChanged();
    TCustomdxTreeListLayout::Resize();
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

void TCustomdxTreeListControl::SortOptionsChanged() {
    ResetSortState();
}

void TCustomdxTreeListControl::CMFontChanged(TMessage& message) {
    FollowParentFont();
    DispatchInherited(StaticMessageTable(), message);
}

// --- columns joining and leaving ------------------------------------------------------------

TdxTreeListColumn* TCustomdxTreeListControl::CreateColumn() {
    auto* column = new TdxTreeListColumn(Owner());
    try {
        column->SetTreeList(this);
    } catch (...) {
        column->Free();
        throw;
    }
    return column;
}

void TCustomdxTreeListControl::AddColumn(TdxTreeListColumn* column) {
    FColumns.push_back(column);
    column->FTreeList = this;
    if (!column->FAssignedValues.Contains(cvFont))
        column->CopyListFont();
    ColumnChanged(column, true);
}

void TCustomdxTreeListControl::RemoveColumn(TdxTreeListColumn* column) {
    const int index = ColumnIndexOf(column);
    if (index < 0)
        return;
    const int field = column->FieldIndex();
    DropLayoutLists();
    if (!ListDestroying() && field >= 0)
        for (int i = 0; i < NodeCount(); ++i)
            DeleteColumnValue(NodeAt(i), field);
    FColumns.erase(FColumns.begin() + index);
    FParts->Sort.Remove(column);
    column->FTreeList = nullptr;
    if (EditingColumn() == index)
        CancelEditing();
    if (ListDestroying() || IsLoading())
        return;
    CompactHeaderRows();
    LayoutChanged();
}

// A column with an explicit field index keeps its texts where they are; the texts of columns
// that follow their position move with them.

void TCustomdxTreeListControl::MoveColumn(TdxTreeListColumn* column, int position) {
    const int from = ColumnIndexOf(column);
    if (from < 0)
        return;
    position = std::clamp(position, 0, ColumnCount() - 1);
    if (position == from)
        return;
    if (column->FExplicitFieldIndex < 0)
        for (int i = 0; i < NodeCount(); ++i)
            MoveColumnValue(NodeAt(i), from, position);
    FColumns.erase(FColumns.begin() + from);
    FColumns.insert(FColumns.begin() + position, column);
    CancelEditing();
    ColumnChanged(column, true);
}

} // namespace dxtl
