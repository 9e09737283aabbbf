// A flat push button that draws itself: a face in its colour (by default the parent's) and a
// centred caption.
#pragma once

#include "framework/Control.h"
#include "framework/Layout.h"

namespace quol {

enum TStyle {
    stFlat,
    stDefault,
    stNone,
    stRaised,
    stFlatDot,
    stRaisedDot,
    stFrameLowered,
    stFrameRaised
};

class TQuolButton : public fw::TCustomControl {
public:
    explicit TQuolButton(fw::TComponent* owner);

    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int ms) { FRepeatInterval = ms; }
    int RepeatStartInterval() const { return FRepeatStartInterval; }
    void SetRepeatStartInterval(int ms) { FRepeatStartInterval = ms; }
    fw::TColor HotTrackBGColor() const { return FHotTrackBGColor; }
    void SetHotTrackBGColor(fw::TColor color) { FHotTrackBGColor = color; }
    TStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TStyle style);

    // Where the caption goes: centred in the client area, in the button's font.
    fw::TRect CaptionRect();

protected:
    void Paint() override;

private:
    int FRepeatInterval = 50;
    int FRepeatStartInterval = 50;
    fw::TColor FHotTrackBGColor = fw::clBlack;
    TStyle FButtonStyle = stFlat;
};

void RegisterQuolButton(fw::TPropertyRegistry& registry);

} // namespace quol
