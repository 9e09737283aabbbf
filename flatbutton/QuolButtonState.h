// What the pointer, the left mouse button and the keyboard focus are doing to one flat button.
// The button moves it along as events arrive and then draws; the painter only reads it.
#pragma once

namespace quol {

class TQuolButtonState {
public:
    // The caption is drawn in the hot-track colour.
    bool HotText() const { return FHotText; }
    // 1 while the left button holds the button down: glyph and caption move down and right.
    int PressOffset() const { return FPressOffset; }
    // The pointer has left since it last entered; a release then does nothing.
    bool MouseLeft() const { return FMouseLeft; }
    // A left press on the button has not been released or cancelled yet.
    bool Held() const { return FHeld; }
    // Enter clicks this button.
    bool Active() const { return FActive; }
    // The button holds the keyboard focus (for the styles that show it).
    bool HasFocus() const { return FHasFocus; }

    void Enter() {
        FPressOffset = 0;
        FHotText = true;
        FMouseLeft = false;
    }
    void Leave() {
        FPressOffset = 0;
        FHotText = false;
        FMouseLeft = true;
    }
    void Press() {
        FHotText = true;
        FPressOffset = 1;
        FHeld = true;
    }
    // The caption stays hot: the pointer is still over the button.
    void Release() {
        FPressOffset = 0;
        FHeld = false;
    }
    // A popup menu took the press.
    void MenuClosed() {
        FPressOffset = 0;
        FHotText = false;
        FHeld = false;
    }
    // The press ends without a release (capture lost, button disabled, hidden or freed).
    void CancelPress() {
        FPressOffset = 0;
        FHeld = false;
    }
    void DropHotText() { FHotText = false; }
    void SetActive(bool active) { FActive = active; }
    void SetHasFocus(bool hasFocus) { FHasFocus = hasFocus; }

private:
    bool FHotText = false;
    int FPressOffset = 0;
    bool FMouseLeft = false;
    bool FHeld = false;
    bool FActive = false;
    bool FHasFocus = false;
};

} // namespace quol
