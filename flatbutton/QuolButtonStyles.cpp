#include "flatbutton/QuolButtonStyles.h"

#include <array>

namespace quol {

using fw::clBlack;
using fw::clBtnHighlight;
using fw::clBtnShadow;
using fw::TPenStyle;

namespace {

// Short names keep each style on one line of the table.
constexpr bool Y = true, N = false;
constexpr TPenStyle Solid = TPenStyle::Solid, Dot = TPenStyle::Dot;
constexpr fw::TColor Hi = clBtnHighlight, Sh = clBtnShadow, Bk = clBlack;

// clang-format off
constexpr std::array<TStyleInfo, 8> kStyles = {{
    // frame, hot, sets pen, pen, top, bottom, button face, hot background, raised edge,
    // released edge, after-popup width, inset face, shows focus, tracks focus
    {0, 1, Y, Solid, Hi, Sh, N, N, N, N, 0, N, N, N}, // stFlat
    {1, 1, Y, Solid, Hi, Bk, Y, N, Y, Y, 1, N, Y, Y}, // stDefault
    {0, 0, N, Solid, Hi, Sh, N, N, N, N, 0, N, N, N}, // stNone
    {2, 2, Y, Solid, Hi, Sh, N, N, N, N, 2, N, N, N}, // stRaised
    {1, 1, Y, Solid, Hi, Sh, N, N, N, N, 0, N, N, Y}, // stFlatDot
    {2, 2, Y, Dot,   Hi, Sh, N, N, N, N, 2, N, N, N}, // stRaisedDot
    {1, 1, Y, Solid, Sh, Hi, Y, Y, N, Y, 1, N, Y, Y}, // stFrameLowered
    {1, 1, Y, Solid, Hi, Sh, Y, N, Y, Y, 1, Y, Y, Y}, // stFrameRaised
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
