#include "flatbutton/QuolButtonStyles.h"

#include <array>

namespace quol {

using fw::clBlack;
using fw::clBtnHighlight;
using fw::clBtnShadow;
using fw::TPenStyle;

namespace {

// clang-format off
constexpr std::array<TStyleInfo, 8> kStyles = {{
    //            frame hot  sets  pen               top             bottom          face   hotBG  raised released popup inset  focus  tracks
    /* stFlat */ {0,    1,   true, TPenStyle::Solid, clBtnHighlight, clBtnShadow,    false, false, false, false,   0,    false, false, false},
    /* stDefault */
                 {1,    1,   true, TPenStyle::Solid, clBtnHighlight, clBlack,        true,  false, true,  true,    1,    false, true,  true},
    /* stNone */ {0,    0,   false, TPenStyle::Solid, clBtnHighlight, clBtnShadow,   false, false, false, false,   0,    false, false, false},
    /* stRaised */
                 {2,    2,   true, TPenStyle::Solid, clBtnHighlight, clBtnShadow,    false, false, false, false,   2,    false, false, false},
    /* stFlatDot */
                 {1,    1,   true, TPenStyle::Solid, clBtnHighlight, clBtnShadow,    false, false, false, false,   0,    false, false, true},
    /* stRaisedDot */
                 {2,    2,   true, TPenStyle::Dot,   clBtnHighlight, clBtnShadow,    false, false, false, false,   2,    false, false, false},
    /* stFrameLowered */
                 {1,    1,   true, TPenStyle::Solid, clBtnShadow,    clBtnHighlight, true,  true,  false, true,    1,    false, true,  true},
    /* stFrameRaised */
                 {1,    1,   true, TPenStyle::Solid, clBtnHighlight, clBtnShadow,    true,  false, true,  true,    1,    true,  true,  true},
}};

constexpr std::array<TKindInfo, 12> kKinds = {{
    /* skCustom */ {nullptr,       nullptr,      nullptr,   false, false},
    /* skOK */     {"dagquolb",    "daquolb",    "OK",      false, true},
    /* skCancel */ {"iksicgquolb", "iksicquolb", "Cancel",  true,  false},
    /* skHelp */   {"pomocgquolb", "pomocquolb", "&Help",   false, false},
    /* skYes */    {"dagquolb",    "daquolb",    "&Yes",    false, true},
    /* skNo */     {"negquolb",    "nequolb",    "&No",     true,  false},
    /* skClose */  {"exitgquolb",  "exitquolb",  "&Close",  false, false},
    /* skAbort */  {"iksicgquolb", "iksicquolb", "Abort",   false, false},
    /* skRetry */  {"Retrigquolb", "Retriquolb", "&Retry",  false, false},
    /* skIgnore */ {"ignogquolb",  "ignoquolb",  "&Ignore", false, false},
    /* skAll */    {"svegquolb",   "svequolb",   "&All",    false, false},
    /* skSilly */  {"glupigquolb", "glupiquolb", "&Silly",  false, false},
}};
// clang-format on

} // namespace

const TStyleInfo& StyleInfo(TStyle style) {
    return kStyles.at(static_cast<std::size_t>(style));
}

fw::TColor MarginStyleBottomColor(TStyle style) {
    if (style == stDefault || style == stFlatDot)
        return clBlack;
    return StyleInfo(style).BottomColor;
}

const TKindInfo& KindInfo(TKind kind) {
    return kKinds.at(static_cast<std::size_t>(kind));
}

} // namespace quol
