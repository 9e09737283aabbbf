// The published tree list: its initial bounds, the re-sort requests of node changes, and a
// plain rendering of the computed layout until the full paint pass.
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

namespace {

constexpr int kCellTextMargin = 2;

// A band or header cell: its colour, a raised frame in the standard look (a flat line at its
// right and bottom otherwise) and its caption.
void PaintPanelCell(TCanvas& canvas, TRect cell, TColor color, const TFont& font, bool flat,
                    const std::string& caption, TAlignment alignment) {
    if (cell.IsEmpty())
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(cell);
    TRect frame = cell;
    if (flat)
        canvas.DrawEdge(frame, BDR::RaisedInner, BF::Right | BF::Bottom | BF::Flat);
    else
        canvas.DrawEdge(frame, BDR::RaisedInner, BF::Rect);
    canvas.Font().Assign(font);
    canvas.Brush().SetStyle(bsClear);
    TRect text = cell.Inflate(-kCellTextMargin, 0);
    const unsigned align = alignment == taCenter         ? DT::Center
                           : alignment == taRightJustify ? DT::Right
                                                         : DT::Left;
    canvas.DrawText(caption, text,
                    align | DT::VCenter | DT::SingleLine | DT::NoPrefix | DT::EndEllipsis);
}

} // namespace

// The band panel, the headers and each row's texts, in the places the layout computed; the node
// image precedes the texts in the first column of the first band.
void TdxTreeList::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    const bool flat = LookAndFeel() != lfStandard;

    if (ShowBands())
        for (int position = 0; position < VisibleBandCount(); ++position) {
            const TdxTreeListBand* band = Bands().Items(BandAtPosition(position));
            PaintPanelCell(canvas, BandRect(position), BandColor(), BandFont(), flat,
                           band->Caption(), band->Alignment());
        }
    if (ShowHeader())
        for (int c = 0; c < ColumnCount(); ++c) {
            const TdxTreeListColumn* column = Columns(c);
            PaintPanelCell(canvas, HeaderRect(c), HeaderColor(), HeaderFont(), flat,
                           column->DisableCaption() ? std::string() : column->Caption(),
                           column->HeaderAlignment());
        }

    const TRect area = DataAreaRect();
    const int treeColumn = ColumnAt(0, 0, 0);
    int y = area.Top;
    for (TdxTreeListNode* node = TopVisibleNode(); node && y < area.Bottom;
         node = node->GetNextRow()) {
        const int height = NodeHeight(node);
        const TRect row{area.Left, y, area.Right, std::min(y + height, area.Bottom)};
        if (canvas.RectVisible(row))
            for (int c = 0; c < ColumnCount(); ++c) {
                const int line = ColumnRowPosition(c);
                if (line < 0)
                    continue;
                TdxTreeListColumn* column = Columns(c);
                const int top = y + line * RowHeight();
                TRect cell{ColumnLeft(c), top, ColumnLeft(c) + ColumnWidth(c), top + RowHeight()};
                cell = IntersectRect(cell, row);
                if (cell.IsEmpty())
                    continue;
                canvas.Brush().SetStyle(bsSolid);
                canvas.Brush().SetColor(column->Color());
                canvas.FillRect(cell);
                const int saved = canvas.SaveClip();
                canvas.IntersectClipRect(cell);
                TRect text = cell.Inflate(-kCellTextMargin, 0);
                if (c == treeColumn && Images()) {
                    const int image = node->ImageIndex();
                    Images()->Draw(canvas, cell.Left,
                                   cell.Top + (cell.Height() - Images()->Height()) / 2, image);
                    text.Left = cell.Left + Images()->Width() + kCellTextMargin;
                }
                canvas.Font().Assign(column->Font());
                canvas.Brush().SetStyle(bsClear);
                const TAlignment alignment = column->Alignment();
                const unsigned align = alignment == taCenter         ? DT::Center
                                       : alignment == taRightJustify ? DT::Right
                                                                     : DT::Left;
                canvas.DrawText(column->ConvertDisplayText(column->DisplayText(node)), text,
                                align | DT::VCenter | DT::SingleLine | DT::NoPrefix |
                                    DT::EndEllipsis);
                canvas.RestoreClip(saved);
            }
        y += height;
    }
}

void TdxTreeList::RequestResort() {
    if (Clearing() || ListDestroying())
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
    try {
        TCustomdxTreeListControl::NodeDeleted(node, previous, next, last, visible);
    } catch (...) {
        RequestResort();
        throw;
    }
    RequestResort();
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
