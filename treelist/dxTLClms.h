// Column kinds beyond text: the graphic column and its cell painter.
#pragma once

#include "framework/Picture.h"
#include "treelist/dxTL.h"

#include <functional>
#include <string>

namespace dxtl {

enum TdxGraphicEditTransparency { gtDefault, gtOpaque, gtTransparent };

// The application supplies a picture for the column's editor.
using TdxGraphicEditAssignPictureEvent =
    std::function<void(fw::TObject* sender, fw::TPicture*& picture)>;
// The class a node's picture data is read with; `graphicClass` arrives as gcNone, which lets
// the picture tell it from the data.
using TdxGraphicEditGetGraphicClassEvent = std::function<void(
    fw::TObject* sender, TdxTreeListNode* node, fw::TGraphicClass& graphicClass)>;

// Where the picture editor's popup toolbar sits; (-10000, -10000) until it is placed.
struct TdxPopupToolBarSettings {
    static constexpr int kUnplaced = -10000;
    int Left = kUnplaced;
    int Top = kUnplaced;
};

// What the graphic painter draws a cell from: the cell's view data (text cleared) and the
// picture with the column's settings. The background is the column's colour, not the
// selection's: a graphic cell shows its selection only by shading its picture.
struct TdxTreeListGraphicViewData : TdxTreeListCellViewData {
    const fw::TPicture* Picture = nullptr;
    // The node's value as text, shown centred when the picture is empty.
    std::string ValueText;
    fw::TColor BackgroundBrush = fw::clWindow;
    fw::TColor BackgroundColor = fw::clWindow;
    bool Center = true;
    bool ShadowSelection = false; // shade the picture with SelectionColor
    bool QuickDraw = false;
    bool Stretch = true;
    fw::TBitmap* PaintBitmap = nullptr;
};

// The graphic cell painter. The cell is composed in memory and copied to the canvas through
// the paint bitmap (pixel by pixel without one), so a picture never reaches past its cell.
//
// Fitting (Stretch): the picture is scaled, up or down, by the largest factor that fits it in
// the cell with its proportions kept, and centred; at least one pixel each way. Without
// Stretch it keeps its size at the cell's top-left corner, or centred with Center.
// Scaling: each cell pixel averages the picture pixels it covers (weighted by their alpha), so
// shrinking keeps thin lines as tints; QuickDraw on a bitmap takes the nearest picture pixel.
// Shading: every picture pixel in a checkerboard aligned to the control's pixels ((x + y)
// even) takes the selection colour; transparent pixels and the background stay unshaded.
class TdxInplaceTreeListGraphicEdit {
public:
    TdxTreeListGraphicViewData ViewData;
    void Paint(fw::TCanvas& canvas, const fw::TRect& cell);
};

// A column whose cells show a picture read from the node's value for the column. Its header
// spans every free header row below it by default (HeaderMaxLineCount 0).
class TdxTreeListGraphicColumn : public TdxTreeListColumn {
public:
    explicit TdxTreeListGraphicColumn(fw::TComponent* owner);
    int DefaultHeaderMaxLineCount() const override { return 0; }

    bool Center() const { return FCenter; }
    void SetCenter(bool center);
    const std::string& CustomFilter() const { return FCustomFilter; }
    void SetCustomFilter(std::string filter) { FCustomFilter = std::move(filter); }
    // The application draws the cells; at design time the column then shows no picture.
    bool CustomGraphic() const { return FCustomGraphic; }
    void SetCustomGraphic(bool custom);
    bool DblClickActivate() const { return FDblClickActivate; }
    void SetDblClickActivate(bool activate) { FDblClickActivate = activate; }
    TdxGraphicEditTransparency GraphicTransparency() const { return FGraphicTransparency; }
    void SetGraphicTransparency(TdxGraphicEditTransparency transparency);
    TdxPopupToolBarSettings& PopupToolBar() { return FPopupToolBar; }
    const TdxPopupToolBarSettings& PopupToolBar() const { return FPopupToolBar; }
    bool PopupToolbarPosStored() const { return FPopupToolbarPosStored; }
    // False puts the toolbar back to its unplaced position.
    void SetPopupToolbarPosStored(bool stored);
    bool QuickDraw() const { return FQuickDraw; }
    void SetQuickDraw(bool quickDraw);
    bool ShadowSelection() const { return FShadowSelection; }
    void SetShadowSelection(bool shadow);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool stretch);

    TdxGraphicEditAssignPictureEvent OnAssignPicture;
    fw::TNotifyEvent OnCustomClick;
    TdxGraphicEditGetGraphicClassEvent OnGetGraphicClass;

    // Copies the column's own properties (not its events), repainting once at the end.
    void Assign(const TdxTreeListGraphicColumn& source);
    // The picture of the cell painted last, read again for every painted cell.
    const fw::TPicture& Picture() const { return FPicture; }
    // Reads the node's picture as painting does.
    void LoadPicture(TdxTreeListNode* node);

    std::string EditorClassName() const override { return "TdxInplaceTreeListGraphicEdit"; }
    void PaintCell(fw::TCanvas& canvas, const fw::TRect& rect, const TdxTreeListCellViewData& data,
                   fw::TBitmap* paintBitmap) override;

private:
    void SetLook(bool& field, bool value);
    TdxValue NodeValue(TdxTreeListNode* node) const;
    void LoadPicture(TdxTreeListNode* node, const TdxValue& value);

    bool FCenter = true;
    std::string FCustomFilter;
    bool FCustomGraphic = false;
    bool FDblClickActivate = true;
    TdxGraphicEditTransparency FGraphicTransparency = gtDefault;
    TdxPopupToolBarSettings FPopupToolBar;
    bool FPopupToolbarPosStored = true;
    bool FQuickDraw = false;
    bool FShadowSelection = true;
    bool FStretch = true;
    fw::TPicture FPicture;
    TdxInplaceTreeListGraphicEdit FPainter;
};

// TdxTreeListGraphicColumn for stored layouts (with every property of TdxTreeListColumn).
void RegisterTreeListGraphicColumn(fw::TPropertyRegistry& registry);

} // namespace dxtl
