// A flat push button that draws itself: a face in its colour (by default the parent's), an
// optional glyph strip for rest and another for hover, a caption that turns to the hot-track
// colour under the mouse, a popup-menu mark, predefined kinds, click repetition while held
// and a hover sound. Its looks are drawn at once as the mouse acts on it.
#pragma once

#include "flatbutton/QuolButtonPainter.h"
#include "flatbutton/QuolButtonState.h"
#include "flatbutton/QuolButtonStyles.h"
#include "framework/Control.h"
#include "framework/Layout.h"
#include "framework/PopupMenu.h"
#include "framework/Timer.h"

#include <memory>
#include <string>

namespace quol {

class TQuolButton : public fw::TCustomControl {
public:
    explicit TQuolButton(fw::TComponent* owner);
    ~TQuolButton() override;

    // --- Published properties --------------------------------------------------------------
    bool RepeatAction() const { return FRepeatAction; }
    void SetRepeatAction(bool repeat) { FRepeatAction = repeat; }
    // Milliseconds; negative values count as 0 (no repetition).
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int ms) { FRepeatInterval = ms; }
    int RepeatStartInterval() const { return FRepeatStartInterval; }
    void SetRepeatStartInterval(int ms) { FRepeatStartInterval = ms; }
    bool ShowFocused() const { return FShowFocused; }
    void SetShowFocused(bool show) { FShowFocused = show; }
    bool CursorHandCustom() const { return FCursorHandCustom; }
    void SetCursorHandCustom(bool hand) { FCursorHandCustom = hand; }
    TKind ButtonKind() const { return FButtonKind; }
    void SetButtonKind(TKind kind);
    fw::TColor ColorMarginLeftTop() const { return FColorMarginLeftTop; }
    void SetColorMarginLeftTop(fw::TColor color);
    fw::TColor ColorMarginRightBottom() const { return FColorMarginRightBottom; }
    void SetColorMarginRightBottom(fw::TColor color);
    TColorMarginDefault ColorMarginStyle() const { return FColorMarginStyle; }
    void SetColorMarginStyle(TColorMarginDefault style);
    bool PopupMenuMark() const { return FPopupMenuMark; }
    void SetPopupMenuMark(bool mark);
    // 1 to 5 pixels between glyph and mark.
    int PopupMenuMarkGap() const { return FPopupMenuMarkGap; }
    void SetPopupMenuMarkGap(int gap);
    TPositionPopup PositionPopup() const { return FPositionPopup; }
    void SetPositionPopup(TPositionPopup position) { FPositionPopup = position; }
    bool PlayMusic() const { return FPlayMusic; }
    void SetPlayMusic(bool play) { FPlayMusic = play; }
    fw::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(fw::TPopupMenu* menu);
    fw::TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(fw::TColor color) { FHotTrackColor = color; }
    fw::TColor HotTrackBGColor() const { return FHotTrackBGColor; }
    void SetHotTrackBGColor(fw::TColor color) { FHotTrackBGColor = color; }
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool hotTrack) { FHotTrack = hotTrack; }
    // 1 to 5 pixels between glyph and caption.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);
    // -5 to 5: moves the glyph (and the caption with it) toward the left or top.
    int SpacingLayout() const { return FSpacingLayout; }
    void SetSpacingLayout(int spacing);
    // Cells in Glyph and GlyphHot, 1 to 4.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    int NumGlyphsHot() const { return FNumGlyphsHot; }
    void SetNumGlyphsHot(int count);
    // The glyph strips; null until one is assigned or loaded.
    const fw::TBitmap* Glyph() const { return FGlyph.get(); }
    const fw::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    bool GlyphEmpty() const { return !FGlyph || FGlyph->Empty(); }
    bool GlyphHotEmpty() const { return !FGlyphHot || FGlyphHot->Empty(); }
    // Copies the bitmap; the number of cells follows from its shape, and the kind becomes
    // skCustom.
    void SetGlyph(const fw::TBitmap& glyph);
    void SetGlyphHot(const fw::TBitmap& glyph);
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout layout);
    TStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TStyle style);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool cancel) { FCancel = cancel; }
    bool Default() const { return FDefault; }
    void SetDefault(bool isDefault) { FDefault = isDefault; }
    const std::string& HintSecondLine() const { return FHintSecondLine; }
    void SetHintSecondLine(std::string line) { FHintSecondLine = std::move(line); }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool show) { FShowHint = show; }
    fw::TNotifyEvent OnMouseOver;
    fw::TNotifyEvent OnMouseOut;

    // The hint: the base hint, and HintSecondLine on a second line when both are given.
    std::string Hint() const;
    void SetHint(std::string hint) { FHint = std::move(hint); }

    // --- State the looks are drawn from ----------------------------------------------------
    int FrameWidth() const { return FFrameWidth; }
    int HotFrameWidth() const { return FHotFrameWidth; }
    fw::TColor FrameTopColor() const { return FFrameTopColor; }
    fw::TColor FrameBottomColor() const { return FFrameBottomColor; }
    fw::TPenStyle PenStyle() const { return FPenStyle; }
    const TQuolButtonState& State() const { return FState; }
    // The glyph cell the last look drew.
    const fw::TBitmap* CellBitmap() const { return FPainter.CellBitmap(); }

    // Tells the button's window whether it is the default button (the push-button style
    // message); only when the window exists and the bit changes.
    virtual void UpdateDefaultStyle(bool isDefault);

protected:
    void Paint() override;
    // By kind: skHelp shows help, skClose closes the form, the others raise OnClick.
    void Click() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void BeforeDestruction() override;
    void Loaded() override;

    void HandleMouseEnter(fw::TMessage& message);
    void HandleMouseLeave(fw::TMessage& message);
    void HandleDoubleClick(fw::TMessage& message);
    void HandleDialogKey(fw::TMessage& message);
    void HandleDialogChar(fw::TMessage& message);
    void HandleFocusChange(fw::TMessage& message);
    void HandleCommand(fw::TMessage& message);
    void HandleCaptureChanged(fw::TMessage& message);
    void HandleEnabledChanged(fw::TMessage& message);
    void HandleVisibleChanged(fw::TMessage& message);
    void HandleFontChanged(fw::TMessage& message);
    void HandleColorChanged(fw::TMessage& message);
    FW_DECLARE_MESSAGE_MAP()

private:
    friend void RegisterQuolButton(fw::TPropertyRegistry& registry);
    // Reads the glyph strips through their canvases.
    friend class TQuolButtonPainter;

    fw::TBitmap& EnsureBitmap(std::unique_ptr<fw::TBitmap>& bitmap);
    // Loads a kind's resources without making the kind custom.
    void LoadKindGlyphs(const TKindInfo& kind);
    // The frame colours and pen of the current style, as ButtonStyle sets them.
    void ApplyStyleColors();
    void ResetFlatHoverFrame();
    // The number of cells a glyph strip of this shape holds, or `current` when the shape
    // does not tell.
    static int CellsOfStrip(const fw::TBitmap& strip, int current);
    void ShowPopupMenu(fw::TMouseButton button, fw::TShiftState shift, int x, int y);
    void StartRepeatDelay();
    void StopRepeat();
    void RepeatStartTick(fw::TObject* sender);
    void RepeatTick(fw::TObject* sender);
    fw::TTimer* MakeRepeatTimer(void (TQuolButton::*tick)(fw::TObject*));
    // Ends a press that will see no release: timers stop and the capture goes.
    void CancelPress();
    bool StyleForcesButtonFace() const { return StyleInfo(FButtonStyle).ButtonFace; }
    void SetPopupMenuName(std::string name) { FPopupMenuName = std::move(name); }
    void SetGlyphImage(const fw::TPixelImage& image);
    void SetGlyphHotImage(const fw::TPixelImage& image);

    bool FRepeatAction = false;
    int FRepeatInterval = 50;
    int FRepeatStartInterval = 50;
    bool FShowFocused = true;
    bool FCursorHandCustom = true;
    TKind FButtonKind = skCustom;
    fw::TColor FColorMarginLeftTop = fw::clBtnHighlight;
    fw::TColor FColorMarginRightBottom = fw::clBtnShadow;
    TColorMarginDefault FColorMarginStyle = cmDefault;
    bool FPopupMenuMark = false;
    int FPopupMenuMarkGap = 5;
    TPositionPopup FPositionPopup = puDown;
    bool FPlayMusic = false;
    fw::TPopupMenu* FPopupMenu = nullptr;
    std::string FPopupMenuName; // from a stored layout, resolved once it is loaded
    fw::TColor FHotTrackColor = 0x00FF0000;
    fw::TColor FHotTrackBGColor = fw::clBlack;
    bool FHotTrack = true;
    int FSpacing = 4;
    int FSpacingLayout = 3;
    int FNumGlyphs = 2;
    int FNumGlyphsHot = 2;
    std::unique_ptr<fw::TBitmap> FGlyph;
    std::unique_ptr<fw::TBitmap> FGlyphHot;
    TLayout FLayout = blGlyphLeft;
    TStyle FButtonStyle = stFlat;
    bool FCancel = false;
    bool FDefault = false;
    std::string FHint;
    std::string FHintSecondLine;
    bool FShowHint = false;

    int FFrameWidth = 0;
    int FHotFrameWidth = 1;
    fw::TColor FFrameTopColor = fw::clBtnHighlight;
    fw::TColor FFrameBottomColor = fw::clBtnShadow;
    fw::TPenStyle FPenStyle = fw::TPenStyle::Solid;
    // The default bit last sent with the push-button style message.
    bool FDefaultStyleBit = false;
    TQuolButtonState FState;
    TQuolButtonPainter FPainter;
    // Owned components, made on the first press that repeats.
    fw::TTimer* FRepeatTimer = nullptr;
    fw::TTimer* FRepeatStartTimer = nullptr;
};

void RegisterQuolButton(fw::TPropertyRegistry& registry);

} // namespace quol
