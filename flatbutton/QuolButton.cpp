#include "flatbutton/QuolButton.h"

#include "framework/StandardClasses.h"

namespace quol {

using namespace fw;

TQuolButton::TQuolButton(TComponent* owner) : TCustomControl(owner) {
    WindowClassName = "TQuolButton";
    SetBounds(0, 0, 75, 25);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(false);
}

void TQuolButton::SetButtonStyle(TStyle style) {
    if (style == FButtonStyle)
        return;
    FButtonStyle = style;
    Invalidate();
}

TRect TQuolButton::CaptionRect() {
    const TRect r = ClientRect();
    Canvas().Font().Assign(Font());
    const TSize text = Canvas().TextExtent(Caption());
    const int x = r.Left + (r.Width() - text.cx) / 2;
    const int y = r.Top + (r.Height() - text.cy) / 2;
    return {x, y, x + text.cx, y + text.cy};
}

void TQuolButton::Paint() {
    TCustomControl::Paint(); // the button's colour, which is its parent's
    TRect r = CaptionRect();
    Canvas().Brush().SetStyle(bsClear);
    Canvas().DrawText(Caption(), r, DT::Center | DT::ExpandTabs);
}

void RegisterQuolButton(TPropertyRegistry& registry) {
    RegisterComponentClass<TQuolButton>(registry, "TQuolButton", "TCustomControl")
        .Int("RepeatInterval", &TQuolButton::SetRepeatInterval)
        .Int("RepeatStartInterval", &TQuolButton::SetRepeatStartInterval)
        .Color("HotTrackBGColor", &TQuolButton::SetHotTrackBGColor)
        .Enum("ButtonStyle",
              std::vector<std::pair<const char*, TStyle>>{{"stFlat", stFlat},
                                                          {"stDefault", stDefault},
                                                          {"stNone", stNone},
                                                          {"stRaised", stRaised},
                                                          {"stFlatDot", stFlatDot},
                                                          {"stRaisedDot", stRaisedDot},
                                                          {"stFrameLowered", stFrameLowered},
                                                          {"stFrameRaised", stFrameRaised}},
              &TQuolButton::SetButtonStyle);
}

} // namespace quol
