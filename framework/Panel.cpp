#include "framework/Panel.h"

#include <algorithm>

namespace fw {

void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
    ICanvasDevice& device = canvas.RequireDevice();
    const TColorRef top = canvas.ToRGB(topColor);
    const TColorRef bottom = canvas.ToRGB(bottomColor);
    for (int i = 0; i < width; ++i) {
        if (r.IsEmpty())
            break;
        // Right and bottom lines own the top-right and bottom-left corners.
        device.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1}, top);
        device.FillRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, top);
        device.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, bottom);
        device.FillRect({r.Left, r.Bottom - 1, r.Right - 1, r.Bottom}, bottom);
        r = r.Inflate(-1, -1);
    }
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    WindowClassName = "TPanel";
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TPanel::LayoutChanged() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    if (cut == FBevelOuter)
        return;
    FBevelOuter = cut;
    LayoutChanged();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    if (cut == FBevelInner)
        return;
    FBevelInner = cut;
    LayoutChanged();
}

void TPanel::SetBevelWidth(int width) {
    width = std::max(width, 1);
    if (width == FBevelWidth)
        return;
    FBevelWidth = width;
    LayoutChanged();
}

void TPanel::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (width == FBorderWidth)
        return;
    FBorderWidth = width;
    LayoutChanged();
}

void TPanel::SetAlignment(TAlignment alignment) {
    if (alignment == FAlignment)
        return;
    FAlignment = alignment;
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& r) const {
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone)
        inset += FBevelWidth;
    if (FBevelInner != bvNone)
        inset += FBevelWidth;
    r = r.Inflate(-inset, -inset);
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool raised = cut == bvRaised;
        Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow,
                raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(canvas, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    if (!Caption().empty()) {
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().Assign(Font());
        unsigned format = DT::ExpandTabs | DT::VCenter | DT::SingleLine;
        format |= FAlignment == taCenter         ? DT::Center
                  : FAlignment == taRightJustify ? DT::Right
                                                 : DT::Left;
        TRect textRect = r;
        canvas.DrawText(Caption(), textRect, format);
    }
}

} // namespace fw
