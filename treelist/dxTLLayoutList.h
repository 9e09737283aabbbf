// A tree list with columns grouped under bands, and the layout they make: the heights of the
// band panel, header rows and rows, band and column widths and the header rows, best fit and
// the row parts (indent, preview, row footers). Where these lie in the client area, and
// everything the user sees and does, is the control's (dxTLControl.h).
//
// Call flow: property writes call LayoutChanged, which waits for the last EndUpdate and does
// nothing while loading -> RecalcLayout: CalcHeights, the row index, BuildLayout into the cache
// (dxTLLayout.cpp); queries read the cache through Layout().
#pragma once

#include "framework/ImageList.h"
#include "treelist/dxTLBands.h"
#include "treelist/dxTLColumn.h"
#include "treelist/dxTLList.h"
#include "treelist/dxTLSettings.h"
#include "treelist/layout/dxTLLayoutLists.h"

#include <memory>
#include <string>
#include <vector>

namespace dxtl {

// Its nodes are TdxTreeListTextNode (the control makes them). Made only as a
// TCustomdxTreeListControl, which creates the bands and the first band.
class TCustomdxTreeListLayout : public TCustomdxTreeList, public TdxTreeListSettings {
public:
    ~TCustomdxTreeListLayout() override;

    TTLGetPreviewTextEvent OnGetPreviewText;
    TTLGetLineCountEvent OnGetPreviewLineCount;
    TTLGetLineCountEvent OnGetRowLineCount;
    TTLIsLevelFooterEvent OnIsLevelFooter;
    // After the user (or a best fit) changed column or band widths.
    fw::TNotifyEvent OnChangedColumnsWidth;

    // --- Columns ------------------------------------------------------------------------------
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    // Raises fw::EListError out of range.
    TdxTreeListColumn* Columns(int index) const;
    int ColumnIndexOf(const TdxTreeListColumn* column) const;
    // Visible, in a band that exists and is visible.
    bool IsColumnShown(const TdxTreeListColumn* column) const;

    // --- Bands and header rows ----------------------------------------------------------------
    TdxTreeListBands& Bands() { return *FBands; }
    const TdxTreeListBands& Bands() const { return *FBands; }
    void SetBands(const TdxTreeListBands& bands) { FBands->Assign(bands); }
    // Text rows of the band panel: 1 .. BandMaxRowCount.
    int BandRowCount() const { return FBandRowCount; }
    void SetBandRowCount(int count);
    int BandMaxRowCount() const { return FBandMaxRowCount; }
    void SetBandMaxRowCount(int count);
    // Setting it to true gives one band holding every column, one header row, no band panel.
    bool DefaultLayout() const { return FDefaultLayout; }
    void SetDefaultLayout(bool defaultLayout);
    // Text lines of every header row: at least 1.
    int HeaderMinRowCount() const { return FHeaderMinRowCount; }
    void SetHeaderMinRowCount(int count);
    int HeaderPanelMaxRowCount() const { return FHeaderPanelMaxRowCount; }
    void SetHeaderPanelMaxRowCount(int count);
    // Header rows: 1 .. HeaderPanelMaxRowCount. Above 1 clears DefaultLayout; a write clears
    // aoAutoHeaderPanelHeight.
    int HeaderPanelRowCount() const { return FHeaderPanelRowCount; }
    void SetHeaderPanelRowCount(int count);
    bool HeaderPanelRowCountStored() const;

    // --- Published properties with rules of their own (the plain ones: TdxTreeListSettings) --
    // While ParentFont is true these follow the list's Font and are not stored.
    fw::TFont& BandFont() { return FBandFont; }
    const fw::TFont& BandFont() const { return FBandFont; }
    fw::TFont& HeaderFont() { return FHeaderFont; }
    const fw::TFont& HeaderFont() const { return FHeaderFont; }
    fw::TFont& PreviewFont() { return FPreviewFont; }
    const fw::TFont& PreviewFont() const { return FPreviewFont; }
    bool PanelFontsStored() const { return !ParentFont(); }
    fw::TImageList* Images() const { return FImages; }
    void SetImages(fw::TImageList* images);
    fw::TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(fw::TImageList* images);
    // Name a component of the list's owner: set at once when it exists, else when loading
    // ends (a stored layout may name an image list stored after the list).
    void SetImagesName(std::string name);
    void SetStateImagesName(std::string name);
    TdxTreeListOptions Options() const { return FOptions; }
    void SetOptions(TdxTreeListOptions options);
    TdxTreeListOptionsEx OptionsEx() const { return FOptionsEx; }
    void SetOptionsEx(TdxTreeListOptionsEx options);
    // The row height in use; a written value below the computed minimum gives the minimum.
    int DefaultRowHeight() const { return FHeights.Row; }
    void SetDefaultRowHeight(int height);
    bool DefaultRowHeightStored() const { return FRowHeightWritten; }
    // What columns that were never made read-only report: the list is read-only while
    // editing is off.
    bool IsReadOnly() const { return !FOptions.Contains(aoEditing); }

    // --- Layout: heights ------------------------------------------------------------------
    int BandTextHeight() const { return FHeights.BandText; }
    int BandPanelHeight() const { return FHeights.BandPanel; }
    int HeaderRowHeight() const { return FHeights.HeaderRow; }
    int HeaderPanelHeight() const { return FHeights.HeaderPanel; }
    int TextHeight() const { return FHeights.Text; }
    int MinRowHeight() const { return FHeights.MinRow; }
    int RowHeight() const override { return FHeights.Row; }
    int PreviewTextHeight() const { return FHeights.PreviewText; }
    int FooterRowHeight() const { return FHeights.FooterRow; }
    int FooterHeight() const { return FHeights.Footer; }
    int RowFooterHeight() const { return FHeights.RowFooter; }
    int HorzScrollStep() const { return FHeights.HorzScrollStep; }
    int IndicatorWidth() const { return ShowIndicator() ? kIndicatorWidth : 0; }
    // The header drag arrows' rectangle size.
    fw::TSize HeaderDragArrowsSize() const;
    // Height of the node's row: header rows of lines, preview, grid separators, row footers.
    int NodeHeight(const TdxTreeListNode* node) const override;
    // Below the band and header panels and the new item row, right of the indicator, above
    // the footer.
    fw::TRect DataAreaRect() const override;
    // The new item row's height (0 when not shown).
    int NewItemRowHeight() const { return FHeights.NewItemRow; }

    // --- Row parts (dxTLRowParts.cpp) -------------------------------------------------------
    // Tree level slots of the node's indent: its level, one more for a parent or in the
    // standard style.
    int LevelSlots(const TdxTreeListNode* node) const;
    // The indent area's width: the level slots (less one without the root), the state image
    // when the node has one, the node image.
    int IndentWidth(TdxTreeListNode* node);
    // The same from the node's level slots and state index (-1: no state image).
    int IndentWidth(int levelSlots, int stateIndex) const;
    // The node's preview text (empty without OnGetPreviewText).
    std::string PreviewText(TdxTreeListNode* node);
    // Lines of preview text under the node's cells: 0 without aoPreview or with PreviewLines
    // 0; measured from the text (at most PreviewLines when positive) with
    // aoAutoCalcPreviewLines or a negative PreviewLines, else PreviewLines.
    int PreviewLineCount(TdxTreeListNode* node);
    // Text lines of the node's row: 1, or with aoRowAutoHeight and MaxRowLineCount not 0 the
    // most lines a cell's text needs when wrapped (at most MaxRowLineCount when positive).
    int RowLineCount(TdxTreeListNode* node);
    // Row footers under the node: one for each expanded parent whose last shown row it is and
    // whose level OnIsLevelFooter leaves with a footer; 0 without ShowRowFooter. The first
    // footer closes the node's parent, the next one the grandparent, and so on.
    int RowFooterCount(const TdxTreeListNode* node) const;
    // The parents those footers close, in that order.
    std::vector<TdxTreeListNode*> RowFooterNodes(const TdxTreeListNode* node) const;

    // --- Layout: bands and columns (visible positions count the visible bands) -------------
    int VisibleBandCount() const { return FBands->VisibleCount(); }
    // Band collection index at a visible position, and the reverse; -1 when none.
    int BandAtPosition(int position) const;
    int BandPosition(int bandIndex) const;
    // Used header rows of the band at `position`, their columns and the column-list index of
    // one of them (-1 out of range).
    int BandRowsUsed(int position) const;
    int ColumnsInRow(int position, int row) const;
    int ColumnAt(int position, int row, int i) const;
    // MinWidth of a sizable column, else its Width.
    int ColumnMinWidth(int column) const;
    int BandMinWidth(int position) const;
    int BandNaturalWidth(int position) const;
    int BandWidth(int position) const;
    // Sum of the visible bands' widths.
    int TotalWidth() const;
    // Display width of a column; 0 when it is not shown.
    int ColumnWidth(int column) const;
    // Header rows the column's header spans.
    int HeaderRowSpan(int column) const;
    // A shown column's position among its band's used header rows (its cells' line inside a
    // row); -1 when the column is not shown.
    int ColumnRowPosition(int column) const;

    // --- Resizing and best fit --------------------------------------------------------------
    // What a user's resize stores; raises OnChangedColumnsWidth.
    void ColumnResized(int column, int width);
    void BandResized(int position, int width);
    // Widens or narrows sizable columns to their content (every node's text, the tree part for
    // the first column, the caption); each call in one update lock, then
    // OnChangedColumnsWidth.
    void ApplyBestFit(TdxTreeListColumn* column);
    void ApplyBandBestFit(int bandIndex);
    void ApplyBestFitAll();
    // The width a best fit would give the column.
    int BestFitWidth(const TdxTreeListColumn* column) const;

    static constexpr int kIndicatorWidth = 12;
    // One tree level of the indent; the expand button's width.
    static constexpr int kIndentStep = 16;
    // A row with preview lines has a pixel above and one below them.
    static constexpr int kPreviewMargin = 2;
    static constexpr int kMaxSizingRight = 100000;

protected:
    explicit TCustomdxTreeListLayout(fw::TComponent* owner);

    void ClearRowIndex() override;
    void RecalcLayout() override;
    void Loaded() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // Focus and selection read the options and the visible columns.
    bool MultiSelect() const override { return FOptions.Contains(aoMultiSelect); }
    bool ExtMultiSelect() const override { return FOptions.Contains(aoExtMultiSelect); }
    bool RowSelectMode() const override { return FOptions.Contains(aoRowSelect); }
    int VisibleColumnCount() const override;
    // The options that sorting reads changed (the control starts its sort state afresh).
    virtual void SortOptionsChanged() {}
    // Runs the re-sort that changes under the update lock left pending.
    virtual void RunPendingResort() {}
    // A change of looks only: repaint unless the update lock is held or the list is loading.
    void ViewChanged();
    // A new font from the parent, while ParentFont is true.
    void FollowParentFont();
    // Row footers under a node, and the parents they close appended to `parents` when given.
    int CollectRowFooters(const TdxTreeListNode* node,
                          std::vector<TdxTreeListNode*>* parents) const;

    // Layout (dxTLLayout.cpp)
    void CalcHeights();
    int FontTextHeight(const fw::TFont& font) const;
    fw::TCanvas* MeasureCanvas() const;
    const TdxLayoutLists& Layout() const;
    int HeaderRowSpan(const TdxLayoutLists& lists, int column) const;
    void BuildLayout(TdxLayoutLists& lists) const;
    TdxTreeListAreas ComputeAreas() const;
    void DropLayoutLists() const;
    void CompactHeaderRows();
    void ApplyAutoHeaderPanelHeight();
    void ApplyDefaultLayout();
    void KeepFittedWidths();
    int HighestStoredRowIndex() const;
    void FitColumn(TdxTreeListColumn* column);

    // Columns and bands (dxTLColumns.cpp, dxTLBands.cpp)
    void ColumnChanged(TdxTreeListColumn* column, bool layout);
    void BandsChanged();
    void BandDeleted(int index);
    void BandMoved(int from, int to);
    void CopyFontToColumns();
    // Properties (dxTLLayoutList.cpp)
    void ApplyHeaderPanelRowCount(int count, bool clearsAutoHeight);
    void SetImageList(fw::TImageList*& slot, fw::TImageList* images);
    void ResolvePendingImages();

    std::vector<TdxTreeListColumn*> FColumns;
    std::unique_ptr<TdxTreeListBands> FBands;
    TdxLayoutHeights FHeights;

    int FBandRowCount = 1;
    int FBandMaxRowCount = 5;
    bool FDefaultLayout = true;
    int FHeaderMinRowCount = 1;
    int FHeaderPanelMaxRowCount = 5;
    int FHeaderPanelRowCount = 1;
    fw::TFont FBandFont;
    fw::TFont FHeaderFont;
    fw::TFont FPreviewFont;
    fw::TImageList* FImages = nullptr;
    fw::TImageList* FStateImages = nullptr;
    TdxTreeListOptions FOptions{aoColumnSizing, aoColumnMoving, aoEditing, aoTabThrough,
                                aoRowSelect};
    TdxTreeListOptionsEx FOptionsEx{aoUseBitmap,  aoBandHeaderWidth, aoAutoCalcPreviewLines,
                                    aoBandSizing, aoBandMoving,      aoDragScroll,
                                    aoDragExpand};
    int FWrittenRowHeight = 0;
    bool FRowHeightWritten = false;

private:
    // The layout lists, built when first read after a change; the scratch lists serve reads
    // while the update lock is held or while loading.
    mutable TdxLayoutLists FLayout;
    mutable TdxLayoutLists FScratchLayout;
    mutable bool FLayoutBuilt = false;
    mutable std::unique_ptr<fw::TBitmap> FMeasureBitmap;
    bool FCompacting = false;
    bool FChangingPanelFonts = false;
    // Image lists named while loading, before the owner had them.
    std::string FPendingImagesName;
    std::string FPendingStateImagesName;
};

} // namespace dxtl
