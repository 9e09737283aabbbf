#include "treelist/dxTLClms.h"

#include "framework/StandardClasses.h"

#include <optional>

namespace dxtl {

using namespace fw;

TdxTreeListGraphicColumn::TdxTreeListGraphicColumn(TComponent* owner) : TdxTreeListColumn(owner) {
    FHeaderMaxLineCount = TdxTreeListGraphicColumn::DefaultHeaderMaxLineCount();
}

void TdxTreeListGraphicColumn::SetLook(bool& field, bool value) {
    if (field == value)
        return;
    field = value;
    Changed(false);
}

void TdxTreeListGraphicColumn::SetCenter(bool center) {
    SetLook(FCenter, center);
}

void TdxTreeListGraphicColumn::SetCustomGraphic(bool custom) {
    SetLook(FCustomGraphic, custom);
}

void TdxTreeListGraphicColumn::SetQuickDraw(bool quickDraw) {
    SetLook(FQuickDraw, quickDraw);
}

void TdxTreeListGraphicColumn::SetShadowSelection(bool shadow) {
    SetLook(FShadowSelection, shadow);
}

void TdxTreeListGraphicColumn::SetStretch(bool stretch) {
    SetLook(FStretch, stretch);
}

void TdxTreeListGraphicColumn::SetGraphicTransparency(TdxGraphicEditTransparency transparency) {
    if (FGraphicTransparency == transparency)
        return;
    FGraphicTransparency = transparency;
    Changed(false);
}

void TdxTreeListGraphicColumn::SetPopupToolbarPosStored(bool stored) {
    FPopupToolbarPosStored = stored;
    if (!stored)
        FPopupToolBar.Left = FPopupToolBar.Top = TdxPopupToolBarSettings::kUnplaced;
}

void TdxTreeListGraphicColumn::Assign(const TdxTreeListGraphicColumn& source) {
    if (&source == this)
        return;
    // The lock holds the repaints back; it is released also when a repaint request raises.
    std::optional<TUpdateLock> lock;
    if (TCustomdxTreeListControl* list = TreeList())
        lock.emplace(*list);
    SetCenter(source.FCenter);
    SetCustomFilter(source.FCustomFilter);
    SetCustomGraphic(source.FCustomGraphic);
    SetDblClickActivate(source.FDblClickActivate);
    SetGraphicTransparency(source.FGraphicTransparency);
    SetHeaderMaxLineCount(source.HeaderMaxLineCount());
    FPopupToolBar = source.FPopupToolBar;
    FPopupToolbarPosStored = source.FPopupToolbarPosStored;
    SetQuickDraw(source.FQuickDraw);
    SetShadowSelection(source.FShadowSelection);
    SetStretch(source.FStretch);
}

void TdxTreeListGraphicColumn::LoadPicture(TdxTreeListNode* node) {
    LoadPicture(node, NodeValue(node));
}

TdxValue TdxTreeListGraphicColumn::NodeValue(TdxTreeListNode* node) const {
    const int field = FieldIndex();
    return node && field >= 0 ? node->Values(field) : TdxValue();
}

void TdxTreeListGraphicColumn::LoadPicture(TdxTreeListNode* node, const TdxValue& value) {
    if (IsDesigning() && FCustomGraphic) {
        FPicture.Clear();
        return;
    }
    TGraphicClass graphicClass = gcNone;
    if (OnGetGraphicClass)
        OnGetGraphicClass(this, node, graphicClass);
    if (const std::string* data = std::get_if<std::string>(&value))
        FPicture.LoadFromData(*data, graphicClass);
    else
        FPicture.Clear();
    if (FGraphicTransparency != gtDefault && !FPicture.Empty())
        FPicture.SetTransparent(FGraphicTransparency == gtTransparent);
}

void TdxTreeListGraphicColumn::PaintCell(TCanvas& canvas, const TRect& rect,
                                         const TdxTreeListCellViewData& data,
                                         TBitmap* paintBitmap) {
    const TdxValue value = NodeValue(data.Node);
    LoadPicture(data.Node, value);
    TdxTreeListGraphicViewData& view = FPainter.ViewData;
    static_cast<TdxTreeListCellViewData&>(view) = data;
    view.Text.clear();
    view.TextLength = 0;
    view.Picture = &FPicture;
    view.ValueText = ValueToText(value);
    view.BackgroundBrush = data.ColumnBrush;
    view.BackgroundColor = data.ColumnColor;
    view.Center = FCenter;
    view.ShadowSelection = data.Selected && FShadowSelection;
    view.QuickDraw = FQuickDraw;
    view.Stretch = FStretch;
    view.PaintBitmap = paintBitmap;
    FPainter.Paint(canvas, rect);
}

void RegisterTreeListGraphicColumn(TPropertyRegistry& registry) {
    using C = TdxTreeListGraphicColumn;
    auto builder =
        RegisterComponentClass<C>(registry, "TdxTreeListGraphicColumn", "TdxTreeListColumn");
    builder.Bool("Center", &C::SetCenter)
        .String("CustomFilter", &C::SetCustomFilter)
        .Bool("CustomGraphic", &C::SetCustomGraphic)
        .Bool("DblClickActivate", &C::SetDblClickActivate)
        .Enum<TdxGraphicEditTransparency>(
            "GraphicTransparency",
            {{"gtDefault", gtDefault}, {"gtOpaque", gtOpaque}, {"gtTransparent", gtTransparent}},
            &C::SetGraphicTransparency)
        .Custom("PopupToolBar.Left",
                [](C& c, const TLayoutValue& v, TLoadContext&) {
                    c.PopupToolBar().Left = static_cast<int>(LayoutInt(v));
                })
        .Custom("PopupToolBar.Top",
                [](C& c, const TLayoutValue& v, TLoadContext&) {
                    c.PopupToolBar().Top = static_cast<int>(LayoutInt(v));
                })
        .Bool("PopupToolbarPosStored", &C::SetPopupToolbarPosStored)
        .Bool("QuickDraw", &C::SetQuickDraw)
        .Bool("ShadowSelection", &C::SetShadowSelection)
        .Bool("Stretch", &C::SetStretch)
        .Event<TdxGraphicEditAssignPictureEvent>("OnAssignPicture", &C::OnAssignPicture,
                                                 "TdxGraphicEditAssignPictureEvent")
        .Event<TNotifyEvent>("OnCustomClick", &C::OnCustomClick, "TNotifyEvent")
        .Event<TdxGraphicEditGetGraphicClassEvent>("OnGetGraphicClass", &C::OnGetGraphicClass,
                                                   "TdxGraphicEditGetGraphicClassEvent");
}

} // namespace dxtl
