// The flat button's enumerations and the tables behind them: what each style sets and how the
// looks draw it, and what each kind loads.
#pragma once

#include "framework/Platform.h"
#include "framework/Types.h"

namespace quol {

enum TKind {
    skCustom,
    skOK,
    skCancel,
    skHelp,
    skYes,
    skNo,
    skClose,
    skAbort,
    skRetry,
    skIgnore,
    skAll,
    skSilly
};

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

enum TLayout { blGlyphLeft, blGlyphBottom, blGlyphRight, blGlyphTop };
enum TColorMarginDefault { cmDefault, cmCustom };
enum TPositionPopup { puDown, puLeft, puRight };

struct TStyleInfo {
    int FrameWidth;    // border of the resting look
    int HotFrameWidth; // border of the hover and press looks
    // stNone leaves the pen and the frame colours as they are.
    bool SetsPenAndColors;
    fw::TPenStyle Pen;
    fw::TColor TopColor;    // default top/left frame colour
    fw::TColor BottomColor; // default bottom/right frame colour
    // The style turns ParentColor off, keeps Color at clBtnFace and draws its faces in it.
    bool ButtonFace;
    // The hover face is HotTrackBGColor.
    bool HotBackground;
    // Raised inner edge in the resting, hover and left looks; sunken outer when pressed.
    bool RaisedEdge;
    // Raised inner edge in the released and after-popup looks.
    bool ReleasedEdge;
    int AfterPopupWidth;
    // The face and edge sit one pixel further in.
    bool InsetFace;
    // DrawFocus draws a focus rectangle.
    bool ShowsFocus;
    // The button keeps track of having the keyboard focus.
    bool TracksFocus;
};

const TStyleInfo& StyleInfo(TStyle style);

// The bottom/right colour ColorMarginStyle := cmDefault writes: the style's, but black for
// stDefault and stFlatDot.
fw::TColor MarginStyleBottomColor(TStyle style);

struct TKindInfo {
    const char* Glyph;    // resting glyph resource (grey); null for none
    const char* GlyphHot; // hot glyph resource (coloured); null for none
    const char* Caption;  // null: the caption stays
    bool Cancel;
    bool Default;
};

const TKindInfo& KindInfo(TKind kind);

// Resources of the program the button uses.
constexpr const char* kHandCursorResource = "HANDquolb";
constexpr const char* kHoverSoundResource = "PREKO";
constexpr const char* kPopupMarkResource = "Strela";
// The slot of the program-wide cursor table that holds the hand cursor.
constexpr fw::TCursor kHandCursorSlot = 1;

} // namespace quol
