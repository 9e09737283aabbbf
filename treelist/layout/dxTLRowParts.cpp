// The parts of a row beyond its cells: the indent width, preview text lines, wrapped text lines
// and row footers. The layout adds them to a row's height (NodeHeight) and the paint pass
// places them: cells on top, then the preview, the grid separator, the row footers.
#include "treelist/dxTL.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

// A text is laid out 2 pixels in on the left and 1 on the right of its rectangle.
constexpr int kTextMargins = 3;

// Lines the text takes when wrapped at `width` pixels in the canvas's font.
int WrappedLines(TCanvas& canvas, const std::string& text, int width, int lineHeight) {
    if (text.empty())
        return 0;
    if (width <= 0 || lineHeight <= 0)
        return 1;
    TRect r{0, 0, width, 0};
    canvas.DrawText(text, r, DT::CalcRect | DT::WordBreak | DT::NoPrefix | DT::ExpandTabs);
    return std::max(1, (r.Height() + lineHeight - 1) / lineHeight);
}

} // namespace

int TCustomdxTreeListLayout::LevelSlots(const TdxTreeListNode* node) const {
    return node->Level() + (node->HasChildren() || PaintStyle() == psStandard ? 1 : 0);
}

int TCustomdxTreeListLayout::IndentWidth(TdxTreeListNode* node) {
    return IndentWidth(LevelSlots(node), FStateImages ? GetNodeStateIndex(node) : -1);
}

int TCustomdxTreeListLayout::IndentWidth(int levelSlots, int stateIndex) const {
    int indent = levelSlots * kIndentStep;
    if (PaintStyle() == psStandard && !ShowRoot())
        indent -= kIndentStep;
    if (FStateImages && stateIndex != -1)
        indent += FStateImages->Width();
    if (FImages)
        indent += FImages->Width();
    return std::max(indent, 0);
}

std::string TCustomdxTreeListLayout::PreviewText(TdxTreeListNode* node) {
    std::string text;
    if (OnGetPreviewText)
        OnGetPreviewText(this, node, text);
    return text;
}

int TCustomdxTreeListLayout::PreviewLineCount(TdxTreeListNode* node) {
    if (!FOptions.Contains(aoPreview) || PreviewLines() == 0)
        return 0;
    int lines = PreviewLines();
    if (FOptionsEx.Contains(aoAutoCalcPreviewLines) || PreviewLines() < 0) {
        const std::string text = PreviewText(node);
        if (TCanvas* canvas = MeasureCanvas()) {
            canvas->Font().Assign(FPreviewFont);
            const int width = TotalWidth() - IndentWidth(node) - kTextMargins;
            lines = WrappedLines(*canvas, text, width, FHeights.PreviewText);
        } else {
            lines = text.empty() ? 0 : 1;
        }
        if (PreviewLines() > 0)
            lines = std::min(lines, PreviewLines());
    }
    if (OnGetPreviewLineCount)
        OnGetPreviewLineCount(this, node, lines);
    return std::max(lines, 0);
}

int TCustomdxTreeListLayout::RowLineCount(TdxTreeListNode* node) {
    if (!FOptionsEx.Contains(aoRowAutoHeight) || MaxRowLineCount() == 0)
        return 1;
    if (node->CachedRowHeight() > 0 && node->CachedRowLineCount() > 0)
        return node->CachedRowLineCount();
    int lines = 1;
    if (TCanvas* canvas = MeasureCanvas()) {
        const TdxLayoutLists& layout = Layout();
        int indent = -1; // asked once, and only when a column starts inside the indent
        for (std::size_t p = 0; p < layout.Bands.size(); ++p)
            for (const TdxHeaderRow& row : layout.Bands[p].Rows)
                for (std::size_t i = 0; i < row.Columns.size(); ++i) {
                    const int c = row.Columns[i];
                    TdxTreeListColumn* column = FColumns[std::size_t(c)];
                    const TdxCellViewParams params = column->CellView(node);
                    // The width the text is painted in: the grid line and right alignment
                    // each take one more pixel.
                    int width = layout.ColumnWidths[std::size_t(c)] - kTextMargins -
                                (ShowGrid() ? 1 : 0) - (params.Alignment == taRightJustify ? 1 : 0);
                    if (p == 0 && i == 0) {
                        if (indent < 0)
                            indent = IndentWidth(node);
                        width -= indent;
                    }
                    const TFont& font = params.Font ? *params.Font : Font();
                    canvas->Font().Assign(font);
                    const int lineHeight = canvas->TextHeight("Wg");
                    lines = std::max(lines, WrappedLines(*canvas, params.Text, width, lineHeight));
                }
    }
    if (MaxRowLineCount() > 0)
        lines = std::min(lines, MaxRowLineCount());
    if (OnGetRowLineCount)
        OnGetRowLineCount(this, node, lines);
    return std::max(lines, 1);
}

int TCustomdxTreeListLayout::CollectRowFooters(const TdxTreeListNode* node,
                                               std::vector<TdxTreeListNode*>* parents) const {
    if (!ShowRowFooter() || !node)
        return 0;
    // An open parent's footer goes under its last shown descendant, not under itself; a
    // hidden row has none.
    if (node->Expanded() && node->ChildCount() > 0)
        return 0;
    for (const TdxTreeListNode* a = node->Parent(); a; a = a->Parent())
        if (!a->Expanded())
            return 0;
    auto* sender = const_cast<TCustomdxTreeListLayout*>(this);
    int count = 0;
    for (const TdxTreeListNode* n = node; n->Parent() && !n->GetNextSibling(); n = n->Parent()) {
        bool isFooter = true;
        if (OnIsLevelFooter)
            OnIsLevelFooter(sender, n->Parent()->Level(), isFooter);
        if (!isFooter)
            continue;
        ++count;
        if (parents)
            parents->push_back(n->Parent());
    }
    return count;
}

int TCustomdxTreeListLayout::RowFooterCount(const TdxTreeListNode* node) const {
    return CollectRowFooters(node, nullptr);
}

std::vector<TdxTreeListNode*>
TCustomdxTreeListLayout::RowFooterNodes(const TdxTreeListNode* node) const {
    std::vector<TdxTreeListNode*> parents;
    CollectRowFooters(node, &parents);
    return parents;
}

} // namespace dxtl
