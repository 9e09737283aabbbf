// The tree list's published settings that are plain values: each write stores the value
// (clamped where it has bounds) and tells the list what it changed, so that the list repaints,
// lays itself out again or takes a new frame. Settings with further rules (options, header
// rows, fonts, image lists, the row height) stay with the list.
#pragma once

#include "treelist/dxTLTypes.h"

#include <string>

namespace dxtl {

// What a written setting asks of the list.
enum class TdxSettingEffect {
    Repaint,  // looks only
    Relayout, // heights, widths or what is shown
    Reframe,  // the window's frame
};

class TdxTreeListSettings {
public:
    virtual ~TdxTreeListSettings() = default;

    // --- The frame: bsSingle or bsNone ----------------------------------------------------
    fw::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(fw::TBorderStyle style);
    // A write clears ParentCtl3D.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool ctl3D);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool parent) { FParentCtl3D = parent; }
    TdxLookAndFeel LookAndFeel() const { return FLookAndFeel; }
    void SetLookAndFeel(TdxLookAndFeel lookAndFeel);

    // --- Colours ------------------------------------------------------------------------------
    fw::TColor AutoSearchColor() const { return FAutoSearchColor; }
    void SetAutoSearchColor(fw::TColor color);
    fw::TColor AutoSearchTextColor() const { return FAutoSearchTextColor; }
    void SetAutoSearchTextColor(fw::TColor color);
    fw::TColor GroupNodeColor() const { return FGroupNodeColor; }
    void SetGroupNodeColor(fw::TColor color);
    fw::TColor GroupNodeTextColor() const { return FGroupNodeTextColor; }
    void SetGroupNodeTextColor(fw::TColor color);
    fw::TColor RowFooterColor() const { return FRowFooterColor; }
    void SetRowFooterColor(fw::TColor color);
    fw::TColor RowFooterTextColor() const { return FRowFooterTextColor; }
    void SetRowFooterTextColor(fw::TColor color);
    fw::TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(fw::TColor color);
    fw::TColor BandColor() const { return FBandColor; }
    void SetBandColor(fw::TColor color);
    fw::TColor FixedBandLineColor() const { return FFixedBandLineColor; }
    void SetFixedBandLineColor(fw::TColor color);
    fw::TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(fw::TColor color);
    fw::TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(fw::TColor color);
    fw::TColor TreeLineColor() const { return FTreeLineColor; }
    void SetTreeLineColor(fw::TColor color);
    fw::TColor HideSelectionColor() const { return FHideSelectionColor; }
    void SetHideSelectionColor(fw::TColor color);
    fw::TColor HideSelectionTextColor() const { return FHideSelectionTextColor; }
    void SetHideSelectionTextColor(fw::TColor color);
    fw::TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(fw::TColor color);

    // --- Looks --------------------------------------------------------------------------------
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool hide);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool hide);
    // At least 0.
    int IndentDesc() const { return FIndentDesc; }
    void SetIndentDesc(int indent);
    TdxTreeLineStyle TreeLineStyle() const { return FTreeLineStyle; }
    void SetTreeLineStyle(TdxTreeLineStyle style);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool show);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool show);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool show);

    // --- Layout: what is shown and how tall ---------------------------------------------------
    // At least 1.
    int FixedBandLineWidth() const { return FFixedBandLineWidth; }
    void SetFixedBandLineWidth(int width);
    // At least -1 (no limit).
    int MaxRowLineCount() const { return FMaxRowLineCount; }
    void SetMaxRowLineCount(int count);
    TdxTreeListPaintStyle PaintStyle() const { return FPaintStyle; }
    void SetPaintStyle(TdxTreeListPaintStyle style);
    // At least 1.
    int RowSeparatorLineWidth() const { return FRowSeparatorLineWidth; }
    void SetRowSeparatorLineWidth(int width);
    // At least -1 (measured from the text).
    int PreviewLines() const { return FPreviewLines; }
    void SetPreviewLines(int lines);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle scrollBars);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool show);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool show);
    bool ShowRowFooter() const { return FShowRowFooter; }
    void SetShowRowFooter(bool show);
    bool ShowIndicator() const { return FShowIndicator; }
    void SetShowIndicator(bool show);
    // The new item row under the header: one row and a separator strip.
    bool ShowNewItemRow() const { return FShowNewItemRow; }
    void SetShowNewItemRow(bool show);
    bool ShowFooter() const { return FShowFooter; }
    void SetShowFooter(bool show);
    bool ShowPreviewGrid() const { return FShowPreviewGrid; }
    void SetShowPreviewGrid(bool show);
    bool ShowHeader() const { return FShowHeader; }
    void SetShowHeader(bool show);

    // --- Behaviour ----------------------------------------------------------------------------
    // A double click on a row, not only on its button, expands or collapses it.
    bool DblClkExpanding() const { return FDblClkExpanding; }
    void SetDblClkExpanding(bool expanding) { FDblClkExpanding = expanding; }

    // --- Stored and loaded; nothing in the list reads them -----------------------------------
    // The header drag arrows' colour.
    fw::TColor ArrowsColor() const { return FArrowsColor; }
    void SetArrowsColor(fw::TColor color) { FArrowsColor = color; }
    bool AutoExpandOnSearch() const { return FAutoExpandOnSearch; }
    void SetAutoExpandOnSearch(bool expand) { FAutoExpandOnSearch = expand; }
    const std::string& IniFileName() const { return FIniFileName; }
    void SetIniFileName(std::string name) { FIniFileName = std::move(name); }
    const std::string& IniSectionName() const { return FIniSectionName; }
    void SetIniSectionName(std::string name) { FIniSectionName = std::move(name); }
    const std::string& RegistryPath() const { return FRegistryPath; }
    void SetRegistryPath(std::string path) { FRegistryPath = std::move(path); }
    int WaitForExpandNodeTime() const { return FWaitForExpandNodeTime; }
    void SetWaitForExpandNodeTime(int milliseconds) { FWaitForExpandNodeTime = milliseconds; }
    // At least 2.
    int CustomizingRowCount() const { return FCustomizingRowCount; }
    void SetCustomizingRowCount(int count);
    bool SimpleCustomizeBox() const { return FSimpleCustomizeBox; }
    void SetSimpleCustomizeBox(bool simple) { FSimpleCustomizeBox = simple; }
    bool ShowHiddenInCustomizeBox() const { return FShowHiddenInCustomizeBox; }
    void SetShowHiddenInCustomizeBox(bool show) { FShowHiddenInCustomizeBox = show; }

protected:
    // Told after each write that changes what the list shows.
    virtual void SettingChanged(TdxSettingEffect effect) = 0;

private:
    template <class T> void Write(T& field, T value, TdxSettingEffect effect) {
        field = value;
        SettingChanged(effect);
    }

    fw::TBorderStyle FBorderStyle = fw::bsSingle;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    TdxLookAndFeel FLookAndFeel = lfStandard;
    fw::TColor FArrowsColor = 0x0000FF00;
    fw::TColor FAutoSearchColor = fw::clNone;
    fw::TColor FAutoSearchTextColor = fw::clNone;
    fw::TColor FGroupNodeColor = fw::clBtnFace;
    fw::TColor FGroupNodeTextColor = fw::clNone;
    fw::TColor FRowFooterColor = fw::cl3DLight;
    fw::TColor FRowFooterTextColor = fw::clWindowText;
    fw::TColor FHeaderColor = fw::clBtnFace;
    fw::TColor FBandColor = fw::clBtnFace;
    fw::TColor FFixedBandLineColor = fw::clWindowFrame;
    fw::TColor FHighlightColor = fw::clHighlight;
    fw::TColor FHighlightTextColor = fw::clHighlightText;
    fw::TColor FTreeLineColor = fw::clGrayText;
    fw::TColor FHideSelectionColor = fw::clBtnFace;
    fw::TColor FHideSelectionTextColor = fw::clBtnText;
    fw::TColor FGridLineColor = fw::clNone;
    bool FHideFocusRect = true;
    bool FHideSelection = true;
    int FIndentDesc = 20;
    TdxTreeLineStyle FTreeLineStyle = tlDot;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    int FFixedBandLineWidth = 2;
    int FMaxRowLineCount = -1;
    TdxTreeListPaintStyle FPaintStyle = psStandard;
    int FRowSeparatorLineWidth = 1;
    int FPreviewLines = 2;
    TScrollStyle FScrollBars = ssBoth;
    bool FShowBands = false;
    bool FShowGrid = false;
    bool FShowRowFooter = false;
    bool FShowIndicator = false;
    bool FShowNewItemRow = false;
    bool FShowFooter = false;
    bool FShowPreviewGrid = true;
    bool FShowHeader = true;
    bool FAutoExpandOnSearch = true;
    bool FDblClkExpanding = true;
    std::string FIniFileName;
    std::string FIniSectionName;
    std::string FRegistryPath;
    int FWaitForExpandNodeTime = 500;
    int FCustomizingRowCount = 11;
    bool FSimpleCustomizeBox = false;
    bool FShowHiddenInCustomizeBox = false;
};

} // namespace dxtl
