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
    FAutoSearchColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetAutoSearchTextColor(TColor color) {
    FAutoSearchTextColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGroupNodeColor(TColor color) {
    FGroupNodeColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGroupNodeTextColor(TColor color) {
    FGroupNodeTextColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetRowFooterColor(TColor color) {
    FRowFooterColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetRowFooterTextColor(TColor color) {
    FRowFooterTextColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHeaderColor(TColor color) {
    FHeaderColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetBandColor(TColor color) {
    FBandColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideFocusRect(bool value) {
    FHideFocusRect = value;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelection(bool value) {
    FHideSelection = value;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetIndentDesc(int value) {
    FIndentDesc = std::max(value, 0);
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetFixedBandLineColor(TColor color) {
    FFixedBandLineColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetFixedBandLineWidth(int value) {
    FFixedBandLineWidth = std::max(value, 1);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetLookAndFeel(TdxLookAndFeel value) {
    FLookAndFeel = value;
    SettingChanged(TdxSettingEffect::Reframe);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetMaxRowLineCount(int value) {
    FMaxRowLineCount = std::max(value, -1);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetPaintStyle(TdxTreeListPaintStyle value) {
    FPaintStyle = value;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetRowSeparatorLineWidth(int value) {
    FRowSeparatorLineWidth = std::max(value, 1);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetPreviewLines(int value) {
    FPreviewLines = std::max(value, -1);
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetHighlightColor(TColor color) {
    FHighlightColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHighlightTextColor(TColor color) {
    FHighlightTextColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetTreeLineColor(TColor color) {
    FTreeLineColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetTreeLineStyle(TdxTreeLineStyle value) {
    FTreeLineStyle = value;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelectionColor(TColor color) {
    FHideSelectionColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetHideSelectionTextColor(TColor color) {
    FHideSelectionTextColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetCustomizingRowCount(int value) {
    FCustomizingRowCount = std::max(value, 2);
}

void TdxTreeListSettings::SetShowBands(bool show) {
    FShowBands = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowGrid(bool show) {
    FShowGrid = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowRowFooter(bool show) {
    FShowRowFooter = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowIndicator(bool show) {
    FShowIndicator = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowNewItemRow(bool show) {
    FShowNewItemRow = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowFooter(bool show) {
    FShowFooter = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowButtons(bool show) {
    FShowButtons = show;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetShowPreviewGrid(bool show) {
    FShowPreviewGrid = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowHeader(bool show) {
    FShowHeader = show;
    SettingChanged(TdxSettingEffect::Relayout);
}

void TdxTreeListSettings::SetShowLines(bool show) {
    FShowLines = show;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetShowRoot(bool show) {
    FShowRoot = show;
    SettingChanged(TdxSettingEffect::Repaint);
}

void TdxTreeListSettings::SetGridLineColor(TColor color) {
    FGridLineColor = color;
    SettingChanged(TdxSettingEffect::Repaint);
}

} // namespace dxtl
