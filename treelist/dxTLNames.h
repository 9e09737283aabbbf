// Names of the tree list's enumerations and option sets as stored layouts spell them, in
// declaration order: the registration reads them and a column's stored properties write them.
// Internal to treelist/.
#pragma once

#include "treelist/dxTL.h"

#include <array>
#include <string_view>

namespace dxtl::names {

inline constexpr std::array<std::string_view, 3> kAlignment = {"taLeftJustify", "taRightJustify",
                                                               "taCenter"};
inline constexpr std::array<std::string_view, 3> kCharCase = {"ecNormal", "ecUpperCase",
                                                              "ecLowerCase"};
inline constexpr std::array<std::string_view, 3> kColumnSort = {"csNone", "csDown", "csUp"};
inline constexpr std::array<std::string_view, 3> kTextLayout = {"tlTop", "tlCenter", "tlBottom"};
inline constexpr std::array<std::string_view, 3> kBandFixed = {"bfNone", "bfLeft", "bfRight"};
inline constexpr std::array<std::string_view, 3> kLookAndFeel = {"lfStandard", "lfFlat",
                                                                 "lfUltraFlat"};
inline constexpr std::array<std::string_view, 2> kPaintStyle = {"psStandard", "psOutlook"};
inline constexpr std::array<std::string_view, 2> kTreeLineStyle = {"tlSolid", "tlDot"};
inline constexpr std::array<std::string_view, 4> kScrollStyle = {"ssNone", "ssHorizontal",
                                                                 "ssVertical", "ssBoth"};
// fw::TFormBorderStyle, of which a list takes bsNone and bsSingle.
inline constexpr std::array<std::string_view, 2> kBorderStyle = {"bsNone", "bsSingle"};

inline constexpr std::array<std::string_view, 18> kOption = {
    "aoColumnSizing",    "aoColumnMoving",    "aoEditing",     "aoTabs",
    "aoTabThrough",      "aoRowSelect",       "aoMultiSelect", "aoImmediateEditor",
    "aoPreview",         "aoDrawEndEllipsis", "aoAutoWidth",   "aoExtMultiSelect",
    "aoExtCustomizing",  "aoHideFocusRect",   "aoAutoSort",    "aoCaseInsensitive",
    "aoStoreToRegistry", "aoStoreToIniFile"};

inline constexpr std::array<std::string_view, 32> kOptionEx = {
    "aoInvertSelect",      "aoUseBitmap",
    "aoBandHeaderWidth",   "aoAutoCalcPreviewLines",
    "aoBandSizing",        "aoBandMoving",
    "aoHorzThrough",       "aoVertThrough",
    "aoCellMultiSelect",   "aoEnterThrough",
    "aoEnterShowEditor",   "aoFullSizing",
    "aoDragScroll",        "aoDragExpand",
    "aoDragCollapse",      "aoRowAutoHeight",
    "aoShowHourGlass",     "aoBandButtonClicking",
    "aoBandPanelSizing",   "aoHeaderButtonClicking",
    "aoHeaderPanelSizing", "aoRowSizing",
    "aoMultiSort",         "aoAutoSortRefresh",
    "aoShowButtonAlways",  "aoAutoHeaderPanelHeight",
    "aoKeepColumnWidth",   "aoAnsiSort",
    "aoMouseScroll",       "aoAutoSearch",
    "aoHotTrack",          "aoAutoCopySelectedToClipboard"};

static_assert(kOption.size() == aoStoreToIniFile + 1);
static_assert(kOptionEx.size() == aoAutoCopySelectedToClipboard + 1);

template <std::size_t N>
std::string_view Of(const std::array<std::string_view, N>& table, int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N
               ? table[static_cast<std::size_t>(value)]
               : std::string_view();
}

} // namespace dxtl::names
