// The flat button's published properties, for stored layouts.
#include "flatbutton/QuolButton.h"
#include "framework/StandardClasses.h"

namespace quol {

using namespace fw;

namespace {

template <class E> using TNames = std::vector<std::pair<const char*, E>>;

const TNames<TKind> kKinds = {{"skCustom", skCustom}, {"skOK", skOK},       {"skCancel", skCancel},
                              {"skHelp", skHelp},     {"skYes", skYes},     {"skNo", skNo},
                              {"skClose", skClose},   {"skAbort", skAbort}, {"skRetry", skRetry},
                              {"skIgnore", skIgnore}, {"skAll", skAll},     {"skSilly", skSilly}};

const TNames<TStyle> kStyles = {{"stFlat", stFlat},
                                {"stDefault", stDefault},
                                {"stNone", stNone},
                                {"stRaised", stRaised},
                                {"stFlatDot", stFlatDot},
                                {"stRaisedDot", stRaisedDot},
                                {"stFrameLowered", stFrameLowered},
                                {"stFrameRaised", stFrameRaised}};

const TNames<TLayout> kLayouts = {{"blGlyphLeft", blGlyphLeft},
                                  {"blGlyphBottom", blGlyphBottom},
                                  {"blGlyphRight", blGlyphRight},
                                  {"blGlyphTop", blGlyphTop}};

const TNames<TColorMarginDefault> kMarginStyles = {{"cmDefault", cmDefault},
                                                   {"cmCustom", cmCustom}};

const TNames<TPositionPopup> kPopupPositions = {
    {"puDown", puDown}, {"puLeft", puLeft}, {"puRight", puRight}};

} // namespace

void RegisterQuolButton(TPropertyRegistry& registry) {
    using B = TQuolButton;
    RegisterComponentClass<B>(registry, "TQuolButton", "TCustomControl")
        .Bool("RepeatAction", &B::SetRepeatAction)
        .Int("RepeatInterval", &B::SetRepeatInterval)
        .Int("RepeatStartInterval", &B::SetRepeatStartInterval)
        .Bool("ShowFocused", &B::SetShowFocused)
        .Bool("CursorHandCustom", &B::SetCursorHandCustom)
        .Enum("ButtonKind", kKinds, &B::SetButtonKind)
        .Color("ColorMarginLeftTop", &B::SetColorMarginLeftTop)
        .Color("ColorMarginRightBottom", &B::SetColorMarginRightBottom)
        .Enum("ColorMarginStyle", kMarginStyles, &B::SetColorMarginStyle)
        .Bool("PopupMenuMark", &B::SetPopupMenuMark)
        .Int("PopupMenuMarkGap", &B::SetPopupMenuMarkGap)
        .Enum("PositionPopup", kPopupPositions, &B::SetPositionPopup)
        .Bool("PlayMusic", &B::SetPlayMusic)
        .Custom("PopupMenu", [](B& b, const TLayoutValue& v,
                                TLoadContext&) { b.SetPopupMenuName(LayoutIdentifier(v)); })
        .Color("HotTrackColor", &B::SetHotTrackColor)
        .Color("HotTrackBGColor", &B::SetHotTrackBGColor)
        .Bool("HotTrack", &B::SetHotTrack)
        .Int("Spacing", &B::SetSpacing)
        .Int("SpacingLayout", &B::SetSpacingLayout)
        .Event("OnMouseOver", &B::OnMouseOver, "TOnMouseOverEvent")
        .Event("OnMouseOut", &B::OnMouseOut, "TOnMouseOutEvent")
        .Int("NumGlyphs", &B::SetNumGlyphs)
        .Int("NumGlyphsHot", &B::SetNumGlyphsHot)
        .Custom("Glyph", [](B& b, const TLayoutValue& v,
                            TLoadContext&) { b.SetGlyphImage(LayoutSinglePicture(v)); })
        .Custom("GlyphHot", [](B& b, const TLayoutValue& v,
                               TLoadContext&) { b.SetGlyphHotImage(LayoutSinglePicture(v)); })
        .Enum("Layout", kLayouts, &B::SetLayout)
        .Enum("ButtonStyle", kStyles, &B::SetButtonStyle)
        .Bool("Cancel", &B::SetCancel)
        .Bool("Default", &B::SetDefault)
        .String("HintSecondLine", &B::SetHintSecondLine)
        .Bool("ShowHint", &B::SetShowHint);
}

} // namespace quol
