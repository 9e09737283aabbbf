// Each write stores the value, clamped where it has bounds, and tells the list what it changed.
#include "treelist/dxTLSettings.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

void TdxTreeListSettings::SetBorderStyle(TBorderStyle style) {
    FBorderStyle = style == bsNone ? bsNone : bsSingle;
    SettingChanged(TdxSettingEffect::Reframe);
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetCtl3D(bool ctl3D) {
    FCtl3D = ctl3D;
    FParentCtl3D = false;
    SettingChanged(TdxSettingEffect::Reframe);
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetAutoSearchColor(TColor color) {
    Write(FAutoSearchColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetAutoSearchTextColor(TColor color) {
    Write(FAutoSearchTextColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGroupNodeColor(TColor color) {
    Write(FGroupNodeColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGroupNodeTextColor(TColor color) {
    Write(FGroupNodeTextColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetRowFooterColor(TColor color) {
    Write(FRowFooterColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetRowFooterTextColor(TColor color) {
    Write(FRowFooterTextColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHeaderColor(TColor color) {
    Write(FHeaderColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetBandColor(TColor color) {
    Write(FBandColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideFocusRect(bool value) {
    Write(FHideFocusRect, value, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelection(bool value) {
    Write(FHideSelection, value, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetIndentDesc(int value) {
    Write(FIndentDesc, std::max(value, 0), TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetFixedBandLineColor(TColor color) {
    Write(FFixedBandLineColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetFixedBandLineWidth(int value) {
    Write(FFixedBandLineWidth, std::max(value, 1), TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetLookAndFeel(TdxLookAndFeel value) {
    FLookAndFeel = value;
    SettingChanged(TdxSettingEffect::Reframe);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetMaxRowLineCount(int value) {
    Write(FMaxRowLineCount, std::max(value, -1), TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetPaintStyle(TdxTreeListPaintStyle value) {
    Write(FPaintStyle, value, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetRowSeparatorLineWidth(int value) {
    Write(FRowSeparatorLineWidth, std::max(value, 1), TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetPreviewLines(int value) {
    Write(FPreviewLines, std::max(value, -1), TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetHighlightColor(TColor color) {
    Write(FHighlightColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHighlightTextColor(TColor color) {
    Write(FHighlightTextColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetTreeLineColor(TColor color) {
    Write(FTreeLineColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetTreeLineStyle(TdxTreeLineStyle value) {
    Write(FTreeLineStyle, value, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelectionColor(TColor color) {
    Write(FHideSelectionColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelectionTextColor(TColor color) {
    Write(FHideSelectionTextColor, color, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetScrollBars(TScrollStyle value) {
    Write(FScrollBars, value, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetCustomizingRowCount(int value) {
    FCustomizingRowCount = std::max(value, 2);
}

void TdxTreeListSettings::SetShowBands(bool show) {
    Write(FShowBands, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowGrid(bool show) {
    Write(FShowGrid, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowRowFooter(bool show) {
    Write(FShowRowFooter, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowIndicator(bool show) {
    Write(FShowIndicator, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowNewItemRow(bool show) {
    Write(FShowNewItemRow, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowFooter(bool show) {
    Write(FShowFooter, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowButtons(bool show) {
    Write(FShowButtons, show, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetShowPreviewGrid(bool show) {
    Write(FShowPreviewGrid, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowHeader(bool show) {
    Write(FShowHeader, show, TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowLines(bool show) {
    Write(FShowLines, show, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetShowRoot(bool show) {
    Write(FShowRoot, show, TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGridLineColor(TColor color) {
    Write(FGridLineColor, color, TdxSettingEffect::Repaint);
}

} // namespace dxtl
