// The tree list's shared vocabulary: errors, cell values, option sets, enumerations, event
// types and what a column hands the cell painter.
#pragma once

#include "framework/Control.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <variant>

namespace dxtl {

class TCustomdxTreeList;
class TCustomdxTreeListLayout;
class TCustomdxTreeListControl;
class TdxTreeListBand;
class TdxTreeListBands;
class TdxTreeListColumn;
class TdxTreeListNode;

class EInvaliddxTreeListOperation : public fw::Exception {
public:
    using Exception::Exception;
};

// A node stream that cannot be read; the message names what is wrong and where.
class EdxTreeListStreamError : public EInvaliddxTreeListOperation {
public:
    using EInvaliddxTreeListOperation::EInvaliddxTreeListOperation;
};

// A cell value as editors exchange it. Nodes of this list keep text only.
using TdxValue = std::variant<std::monostate, std::int64_t, double, bool, std::string>;
// Empty for no value, decimal numbers (doubles with up to 15 significant digits), True/False.
std::string ValueToText(const TdxValue& value);

using TTLExpandedEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node)>;
using TTLExpandingEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, bool& allow)>;
using TTLGetImageEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, int& index)>;
// The colour of a tree level in the outlook style; `color` arrives as GroupNodeColor.
using TTLGetLevelColorEvent =
    std::function<void(fw::TObject* sender, int level, fw::TColor& color)>;
// Whether the footer panel shows a cell for `column`; `exists` arrives false.
using TTLIsExistFooterCellEvent =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, bool& exists)>;
// A node's preview text (painted under its cells with aoPreview); `text` arrives empty.
using TTLGetPreviewTextEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, std::string& text)>;
// A node's preview or text line count; `count` arrives as the list computed it.
using TTLGetLineCountEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, int& count)>;
// Whether the children of nodes at `level` close with a row footer; `isFooter` arrives true.
using TTLIsLevelFooterEvent = std::function<void(fw::TObject* sender, int level, bool& isFooter)>;
// Whether the row footer of `node` (the parent whose children it closes) shows a cell for
// `column`; `exists` arrives false.
using TTLIsExistRowFooterCellEvent = std::function<void(
    fw::TObject* sender, TdxTreeListColumn* column, TdxTreeListNode* node, bool& exists)>;
// The text of a footer cell: `node` is the parent of a row footer, nullptr for the footer
// panel; `text` arrives empty.
using TTLGetFooterCellTextEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node,
                                                     TdxTreeListColumn* column, std::string& text)>;
using TTLChangeNodeEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* oldNode, TdxTreeListNode* node)>;
// The effective focused column changed: `column` is its index among the visible columns.
using TTLChangeColumnEvent =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, int column)>;
// Whether `node` may be selected; `allow` arrives true.
using TdxTLCanNodeSelected =
    std::function<void(fw::TObject* sender, TdxTreeListNode* node, bool& allow)>;
// The node under the mouse changed (none: the mouse left the rows).
using TTLHotTrackEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node)>;
using TdxTLBandEvent = std::function<void(fw::TObject* sender, TdxTreeListBand* band)>;
using TdxTLColumnEvent = std::function<void(fw::TObject* sender, TdxTreeListColumn* column)>;
// Whether a band or a column header may be dragged; `allow` arrives true.
using TdxTLCanBandDragging =
    std::function<void(fw::TObject* sender, TdxTreeListBand* band, bool& allow)>;
using TdxTLCanHeaderDragging =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, bool& allow)>;
// A band dragged to `point` (client coordinates) is dropped: `newIndex` arrives as the band
// position under the point (-1 for none) and may be changed; `accept` arrives true.
using TdxTLDragEndBand =
    std::function<void(fw::TObject* sender, TdxTreeListBand* band, fw::TPoint point,
                       int absoluteIndex, int visibleIndex, int& newIndex, bool& accept)>;
// A column header dragged to `point` is dropped: `newColIndex` arrives as the place in its
// band row under the point (-1 for none) and may be changed; `accept` arrives true.
using TdxTLDragEndHeader = std::function<void(fw::TObject* sender, TdxTreeListColumn* column,
                                              fw::TPoint point, int& newColIndex, bool& accept)>;

// What lies under a point of the list.
enum TTreeListHitArea : std::uint8_t {
    haEmpty,
    haColumnHeader,
    haColumnEdge,
    haExpandButton,
    haNodeImage,
    haStateImage,
    haIndent,
    haCell,
    haRowEnd,
    haOutside,
    haTopPanel,
    haBandButton,
    haBandHeader,
    haBandEdge,
    haHeaderButton,
    haIndicator,
    haNewItemRow,
    haRowFooter,
    haFooter,
    haBandPanelEdge,
    haHeaderPanelEdge,
    haRowEdge,
    haPreview,
    haStatusCloseButton
};

struct TTreeListHitInfo {
    fw::TPoint Point;
    // The band (collection index) and the column (column-list index) under the point; -1
    // when none.
    int BandIndex = -1;
    int ColumnIndex = -1;
    TdxTreeListNode* Node = nullptr;
    // The row's place among the rows shown, the top row 0; -1 when none.
    int RowOnScreen = -1;
    // The row footer line under the point; -1 when none.
    int FooterLevel = -1;
    TTreeListHitArea Area = haOutside;
};

// The layout's distributions divide by 0 only for shares of nothing (b = 0): see
// dxTLLayout.cpp.
using fw::MulDiv;

// A set of enumeration values, stored as bits in declaration order (bit 0 first).
template <class E> class TdxSet {
public:
    constexpr TdxSet() = default;
    constexpr TdxSet(std::initializer_list<E> members) {
        for (E member : members)
            FBits |= Bit(member);
    }
    static constexpr TdxSet FromBits(std::uint32_t bits) {
        TdxSet set;
        set.FBits = bits;
        return set;
    }
    constexpr std::uint32_t Bits() const { return FBits; }
    constexpr bool Contains(E member) const { return (FBits & Bit(member)) != 0; }
    constexpr TdxSet With(E member) const { return FromBits(FBits | Bit(member)); }
    constexpr TdxSet Without(E member) const { return FromBits(FBits & ~Bit(member)); }
    friend constexpr bool operator==(TdxSet, TdxSet) = default;

private:
    static constexpr std::uint32_t Bit(E member) {
        return std::uint32_t(1) << static_cast<unsigned>(member);
    }
    std::uint32_t FBits = 0;
};

enum TdxTreeListOption {
    aoColumnSizing,
    aoColumnMoving,
    aoEditing,
    aoTabs,
    aoTabThrough,
    aoRowSelect,
    aoMultiSelect,
    aoImmediateEditor,
    aoPreview,
    aoDrawEndEllipsis,
    aoAutoWidth,
    aoExtMultiSelect,
    aoExtCustomizing,
    aoHideFocusRect,
    aoAutoSort,
    aoCaseInsensitive,
    aoStoreToRegistry,
    aoStoreToIniFile
};
using TdxTreeListOptions = TdxSet<TdxTreeListOption>;

enum TdxTreeListOptionEx {
    aoInvertSelect,
    aoUseBitmap,
    aoBandHeaderWidth,
    aoAutoCalcPreviewLines,
    aoBandSizing,
    aoBandMoving,
    aoHorzThrough,
    aoVertThrough,
    aoCellMultiSelect,
    aoEnterThrough,
    aoEnterShowEditor,
    aoFullSizing,
    aoDragScroll,
    aoDragExpand,
    aoDragCollapse,
    aoRowAutoHeight,
    aoShowHourGlass,
    aoBandButtonClicking,
    aoBandPanelSizing,
    aoHeaderButtonClicking,
    aoHeaderPanelSizing,
    aoRowSizing,
    aoMultiSort,
    aoAutoSortRefresh,
    aoShowButtonAlways,
    aoAutoHeaderPanelHeight,
    aoKeepColumnWidth,
    aoAnsiSort,
    aoMouseScroll,
    aoAutoSearch,
    aoHotTrack,
    aoAutoCopySelectedToClipboard
};
using TdxTreeListOptionsEx = TdxSet<TdxTreeListOptionEx>;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TdxTreeListColumnSort { csNone, csDown, csUp };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TdxGridBandFixed { bfNone, bfLeft, bfRight };
enum TdxLookAndFeel { lfStandard, lfFlat, lfUltraFlat };
enum TdxTreeListPaintStyle { psStandard, psOutlook };
enum TdxTreeLineStyle { tlSolid, tlDot };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Custom drawing of a cell: the list prepares the canvas and passes text, colour and alignment
// to adjust; a handler that draws everything itself sets done.
using TdxTLCustomDrawCell = std::function<void(
    fw::TObject* sender, fw::TCanvas& canvas, fw::TRect rect, TdxTreeListNode* node,
    TdxTreeListColumn* column, bool selected, bool focused, bool newItemRow, std::string& text,
    fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment, bool& done)>;
// The list's whole-cell custom drawing, raised before OnCustomDrawCell with the same values;
// the text is read-only.
using TTLCustomDrawEvent = std::function<void(
    fw::TObject* sender, fw::TCanvas& canvas, fw::TRect rect, TdxTreeListNode* node,
    TdxTreeListColumn* column, const std::string& text, fw::TFont& font, fw::TColor& color,
    bool selected, bool focused, bool& done)>;
// Custom drawing of a column header.
using TdxTLCustomDrawHeader =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, fw::TCanvas& canvas,
                       fw::TRect rect, std::string& text, fw::TColor& color, fw::TFont& font,
                       fw::TAlignment& alignment, TdxTreeListColumnSort& sorted, bool& done)>;

// A header click on `column` (before any sorting it causes).
using TTLColumnClick = std::function<void(fw::TObject* sender, TdxTreeListColumn* column)>;
// Whether a header click may change the column's sort state; `allow` arrives true.
using TdxTreeListColumnSorting =
    std::function<void(fw::TObject* sender, TdxTreeListColumn* column, bool& allow)>;
// The sort state a header shows for `column`; `sorted` arrives as the column's Sorted. Only
// what is drawn changes.
using TTLColumnSorted = std::function<void(fw::TObject* sender, TdxTreeListColumn* column,
                                           TdxTreeListColumnSort& sorted)>;
// The order of two nodes of one sibling list: `compare` arrives 0; below 0 puts `node1`
// first, above 0 `node2`.
using TdxTLCompareEvent = std::function<void(fw::TObject* sender, TdxTreeListNode* node1,
                                             TdxTreeListNode* node2, int& compare)>;
// Custom drawing of a band caption.
using TdxTLCustomDrawBand = std::function<void(
    fw::TObject* sender, TdxTreeListBand* band, fw::TCanvas& canvas, fw::TRect rect,
    std::string& text, fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment, bool& done)>;

// What a column hands an in-place text editor and reads back from it.
struct TdxInplaceTextEdit {
    std::string Text;
    TdxValue Value;
    bool ReadOnly = false;
    TEditCharCase CharCase = ecNormal;
    int MaxLength = 0;
    bool OEMConvert = false;
    char PasswordChar = '\0';
    fw::TNotifyEvent OnChange;
    fw::TNotifyEvent OnValidate;
};

// What a column tells the cell painter about one of its cells.
struct TdxCellViewParams {
    std::string Text;
    fw::TAlignment Alignment = fw::taLeftJustify;
    TTextLayout VertAlignment = tlTop;
    fw::TColor Color = fw::clWindow;
    const fw::TFont* Font = nullptr;
};

// The inputs of one cell for its painter; the list keeps one and refills it for every cell.
// Brushes are colours. The rectangle is relative to the cell, 2 pixels wider on every side.
struct TdxTreeListCellViewData {
    fw::TColor Brush = fw::clWindow;
    const fw::TFont* Font = nullptr;
    fw::TColor BkColor = fw::clWindow;
    fw::TColor TextColor = fw::clWindowText;
    fw::TAlignment Alignment = fw::taLeftJustify;
    TTextLayout VertAlignment = tlTop;
    std::string Text;
    int TextLength = 0;
    bool Selected = false;
    bool InvertSelect = false;
    bool LeftEdge = false;
    bool RightEdge = false;
    bool MultiLine = false;
    bool InvertText = false;
    bool EndEllipsis = false;
    TdxTreeListNode* Node = nullptr;
    bool NullNode = false;
    fw::TColor SelectionColor = fw::clHighlight;
    fw::TColor ColumnBrush = fw::clWindow;
    fw::TColor ColumnColor = fw::clWindow;
    bool HotTrack = false;
    fw::TRect CellRect;
};

} // namespace dxtl
