// The paint pass's share of the panels and the window's border (the pass: dxTLPaintPass.h).
// The header panel paints the band and header panels itself (dxTLHeaderPaint.cpp).
//
// Sections:
//   1. panels  - the pass's paint bitmap, the header panel's turn
//   2. border  - the window's frame by border style and look, the flat looks' own frame
#include "treelist/dxTLControlParts.h"
#include "treelist/header/dxTLHeaderPanel.h"
#include "treelist/paint/dxTLPaintPass.h"

namespace dxtl {

using namespace fw;

// =============================================================================================
// 1. panels

TBitmap& TCustomdxTreeListControl::TPaintPass::PaintBitmap() {
    if (!Bitmap)
        Bitmap = std::make_unique<TBitmap>(List.Platform());
    return *Bitmap;
}

void TCustomdxTreeListControl::TPaintPass::PaintPanels() {
    List.FParts->HeaderPanel->Paint(*this);
}

// =============================================================================================
// 2. border

TChildFrame TCustomdxTreeListControl::ChildFrame() const {
    if (BorderStyle() == bsNone)
        return TChildFrame::None;
    if (LookAndFeel() != lfStandard)
        return TChildFrame::OwnDrawn;
    return Ctl3D() ? TChildFrame::Sunken : TChildFrame::Single;
}

void TCustomdxTreeListControl::ApplyFrame() {
    if (Window())
        Window()->SetFrame(ChildFrame());
}

void TCustomdxTreeListControl::CreateParams(TWindowCreateArgs& args) {
    TCustomdxTreeList::CreateParams(args);
    args.Frame = ChildFrame();
}

// After the platform's own painting (scroll bars): the flat looks' 1-pixel frame, and the
// corner between two scroll bars inside it.
void TCustomdxTreeListControl::WMNCPaint(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    if (LookAndFeel() == lfStandard || BorderStyle() == bsNone || !Window())
        return;
    const std::unique_ptr<ICanvasDevice> device = Window()->GetWindowDevice();
    TCanvas canvas(Platform(), device.get());
    const TSize size = device->SurfaceSize();
    TRect r{0, 0, size.cx, size.cy};
    if (LookAndFeel() == lfUltraFlat) {
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(r);
    } else {
        TRect edge = r;
        canvas.DrawEdge(edge, BDR::SunkenOuter, BF::Rect);
    }
    const TdxScrollState& scroll = ScrollState();
    if (scroll.BarShown[0] && scroll.BarShown[1]) {
        const int width = Platform().SystemMetric(SM::CxVScroll);
        const int height = Platform().SystemMetric(SM::CyHScroll);
        FillSolid(canvas, {r.Right - 1 - width, r.Bottom - 1 - height, r.Right - 1, r.Bottom - 1},
                  clBtnFace);
    }
}

} // namespace dxtl
