// Scrolling and the view position of a tree list.
//
// Sections:
//   1. row counts       - how many rows fit from a top row (the page) and are shown
//   2. vertical         - SetTopRow (moving the window's pixels), MakeVisible, PageMove, clamp
//   3. horizontal       - LeftCoord, the content and view widths, SetLeftCoord
//   4. scroll bars      - writing both bars twice, resize, bar and wheel messages, panning
//
// Vertical scrolling is by whole rows, horizontal by pixels. Less than a page (or a view width)
// scrolled over moves the window's pixels and repaints the uncovered strip; more repaints all.
#include "treelist/dxTLControlParts.h"
#include "treelist/input/dxTLPanning.h"
#include "treelist/layout/dxTLGeometry.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace dxtl {

using namespace fw;

bool TCustomdxTreeListControl::Panning() const {
    return FParts->Panning != nullptr;
}

// =============================================================================================
// 1. row counts

void TCustomdxTreeList::CountRows(TdxTreeListNode* top, int& page, int& shown) const {
    const TRect area = DataAreaRect();
    const long long height = area.Height();
    page = 0;
    shown = 0;
    long long used = 0;
    const TdxTreeListNode* unplaced =
        StackRows(top, area.Top, area.Bottom, [&](TdxTreeListNode* node, int) {
            const int h = NodeHeight(node);
            ++shown; // it starts inside the area
            if (used + h > height)
                return -1;
            used += h;
            ++page;
            return h;
        });
    // The rows ran out before the area was full: rows above the top fill the page that the
    // end of the list shows.
    if (!unplaced && top)
        for (TdxTreeListNode* node = top->GetPrevRow(); node; node = node->GetPrevRow()) {
            const int h = NodeHeight(node);
            if (used + h > height)
                break;
            used += h;
            ++page;
        }
    page = std::max(page, 1);
    shown = std::max(shown, 1);
}

void TCustomdxTreeList::UpdateScrollBars() {
    if (ListDestroying())
        return;
    CountRows(FirstViewRow(), FScroll.PageRowCount, FScroll.ShownRowCount);
}

// =============================================================================================
// 2. vertical

int TCustomdxTreeList::TopRow() const {
    return FTopVisibleNode ? RowOf(FTopVisibleNode) : -1;
}

// Rows differ in height: how far down the top may go is measured by the page that ends at the
// last row, never by the page at the current top.
int TCustomdxTreeList::ClampedTopRow(int row) const {
    const int count = AbsoluteCount();
    if (count == 0)
        return -1;
    row = std::clamp(row, 0, count - 1);
    int fit = 0;
    int shown = 0;
    // With the rows from `row` down leaving room, the count includes the rows above that fill
    // it: the top of the last full page is that many rows before the end.
    CountRows(NodeAtAbsoluteIndex(row), fit, shown);
    if (row + fit > count)
        row = std::max(count - fit, 0);
    return row;
}

void TCustomdxTreeList::SetTopRow(int row) {
    CancelEditing();
    const int old = TopRow();
    if (row == old)
        return;
    const int count = AbsoluteCount();
    if (count < 2)
        return;
    row = ClampedTopRow(row);
    if (row == old)
        return;

    const TRect oldFocus = NodeRowRect(FFocusedNode);
    const int rowsScrolled = std::abs(row - std::max(old, 0));
    // The pixel distance counts only when the window's pixels can be moved.
    long long distance = 0;
    if (old >= 0 && rowsScrolled <= FScroll.PageRowCount) {
        TdxTreeListNode* n = NodeAtAbsoluteIndex(std::min(row, old));
        for (int i = 0; n && i < rowsScrolled; ++i, n = n->GetNextRow())
            distance += NodeHeight(n);
        if (row > old)
            distance = -distance;
    }
    // The top row's handler may free the list.
    const TLifeToken alive = LifeToken();
    SetTopVisibleNode(NodeAtAbsoluteIndex(row));
    if (!alive)
        return;
    UpdateScrollBars();
    if (!alive || FLockUpdate != 0 || !HandleAllocated())
        return;
    const TRect newFocus = NodeRowRect(FFocusedNode);
    for (const TRect& r : {oldFocus, newFocus})
        if (!r.IsEmpty())
            InvalidateRect(r);
    if (old < 0 || rowsScrolled > FScroll.PageRowCount || distance == 0 ||
        std::abs(distance) >= DataAreaRect().Height()) {
        Invalidate();
        return;
    }
    ScrollRows(static_cast<int>(distance));
}

void TCustomdxTreeList::ScrollRows(int distance) {
    // The rows area with the indicator column at its left.
    TRect area = DataAreaRect();
    area.Left = ClientRect().Left;
    {
        const TPaintLock lock(*this);
        Window()->Scroll(0, distance, area);
    }
    RowsMoved();
}

void TCustomdxTreeList::MakeVisible(TdxTreeListNode* node) {
    if (!node || node->FOwner != this)
        return;
    // Expansion and top row handlers may free the list.
    const TLifeToken alive = LifeToken();
    const bool expandAncestors = !node->IsVisible();
    std::optional<TUpdateLock> lock;
    if (expandAncestors) {
        lock.emplace(*this);
        for (TdxTreeListNode* p = node->FParent; p; p = p->FParent)
            if (!p->FExpanded) {
                p->SetExpanded(true);
                if (!alive)
                    return;
            }
    }
    ScrollIntoView(node, expandAncestors);
}

// The node's row wholly in view: the first row when it lies above, the last row shown wholly
// when it lies below. Whether it is in view is measured from the top row as it is now, since
// rows differ in height.
void TCustomdxTreeList::ScrollIntoView(TdxTreeListNode* node, bool always) {
    const int top = TopRow();
    const int row = RowOf(node);
    // A handler may have refused an expansion: then the node has no row to show.
    if (row < 0)
        return;
    int page = 0;
    int shown = 0;
    if (top >= 0)
        CountRows(FTopVisibleNode, page, shown);
    const bool inView = top >= 0 && top <= row && row <= top + page - 1;
    if (inView && !always)
        return;
    if (row < top || top < 0) {
        SetTopRow(row);
        return;
    }
    if (row <= top + page - 1)
        return;
    // The node becomes the last row shown wholly: walk up while the rows fit.
    const long long height = DataAreaRect().Height();
    long long used = NodeHeight(node);
    int first = row;
    for (TdxTreeListNode* n = node->GetPrevRow(); n; n = n->GetPrevRow()) {
        const int h = NodeHeight(n);
        if (used + h > height)
            break;
        used += h;
        --first;
    }
    SetTopRow(first);
}

void TCustomdxTreeList::PageMove(int direction) {
    if (FFocusedNode && direction != 0)
        FocusRow(PageMoveRow(direction));
}

int TCustomdxTreeList::PageMoveRow(int direction) const {
    const int focused = RowOf(FFocusedNode);
    if (!FFocusedNode || direction == 0)
        return focused;
    direction = direction < 0 ? -1 : 1;
    const int count = AbsoluteCount();
    if (FScroll.PageRowCount < 2) {
        const bool atStart = direction < 0 && !FFocusedNode->FParent &&
                             FFocusedNode == (FNodes.empty() ? nullptr : FNodes.front());
        const bool atEnd = direction > 0 && focused == count - 1;
        return atStart || atEnd ? focused : focused + direction;
    }
    const int top = std::max(TopRow(), 0);
    const int last = std::min(top + FScroll.PageRowCount - 1, count - 1);
    if (top < focused && focused < last)
        return direction < 0 ? top : last;
    return focused + direction * std::max(FScroll.PageRowCount - 1, 1);
}

void TCustomdxTreeList::ClampView() {
    const int top = TopRow();
    if (top < 0)
        return;
    if (const int clamped = ClampedTopRow(top); clamped != top)
        SetTopRow(clamped);
}

// =============================================================================================
// 3. horizontal

namespace {

// The bands fixed at either end do not scroll: what they take is neither content nor view.
int FixedBandsWidth(const TdxLayoutLists& layout, int lineWidth) {
    int width = 0;
    if (layout.FixedLeft)
        width += layout.Bands.front().Width + lineWidth;
    if (layout.FixedRight && layout.Bands.size() > 1)
        width += layout.Bands.back().Width + lineWidth;
    return width;
}

} // namespace

int TCustomdxTreeListControl::ContentWidth() const {
    const TdxLayoutLists& layout = Layout();
    int width = 0;
    for (const TdxBandLayout& band : layout.Bands)
        if (band.Scrolls)
            width += band.Width;
    return width;
}

int TCustomdxTreeListControl::ViewWidth() const {
    int width = ClientWidth() - IndicatorWidth();
    if (!FOptions.Contains(aoAutoWidth))
        width -= FixedBandsWidth(Layout(), FixedBandLineWidth());
    return std::max(width, 0);
}

void TCustomdxTreeListControl::SetLeftCoord(int x) {
    CancelEditing();
    if (x == FLeftCoord)
        return;
    const int content = ContentWidth();
    const int view = ViewWidth();
    x = std::max(x, 0);
    if (x + view > content)
        x = content - view;
    x = std::max(x, 0);
    const int old = FLeftCoord;
    if (x == old)
        return;
    FLeftCoord = x;
    // A bar shown or hidden may scroll rows, whose handler may free the list.
    const TLifeToken alive = LifeToken();
    UpdateScrollBars();
    if (!alive || UpdateLockCount() != 0)
        return;
    if (HandleAllocated()) {
        const TdxLayoutLists& layout = Layout();
        if (ShowFooter() || std::abs(old - x) > view || layout.FixedLeft || layout.FixedRight) {
            Invalidate();
        } else {
            // The panels and rows right of the indicator move; the footer would not.
            const TdxTreeListAreas& areas = layout.Areas;
            const TRect moving{areas.Rows.Left, areas.Client.Top, areas.Client.Right,
                               areas.Rows.Bottom};
            {
                const TPaintLock lock(*this);
                Window()->Scroll(old - x, 0, moving);
            }
            RowsMoved();
        }
    }
    if (OnChangeLeftCoord)
        OnChangeLeftCoord(this);
}

void TCustomdxTreeListControl::MakeColumnVisible(int column) {
    const TGeometry geometry(*this, FLeftCoord);
    const std::vector<TdxHeaderItem>& items = geometry.Layout().HeaderItems;
    if (column < 0 || column >= static_cast<int>(items.size()))
        return;
    const TdxHeaderItem& item = items[std::size_t(column)];
    if (!item.Scrolls)
        return;
    const TdxLayoutLists& layout = geometry.Layout();
    const int viewLeft = geometry.Areas().Rows.Left +
                         (layout.FixedLeft ? layout.Bands.front().Width + FixedBandLineWidth() : 0);
    const int viewRight = viewLeft + ViewWidth();
    const int left = geometry.ItemLeft(item);
    const int right = geometry.ItemRight(item);
    if (left < viewLeft)
        SetLeftCoord(FLeftCoord - (viewLeft - left));
    else if (right > viewRight)
        SetLeftCoord(FLeftCoord + std::min(right - viewRight, left - viewLeft));
}

void TCustomdxTreeListControl::ClampView() {
    // The top row's handler may free the list.
    const TLifeToken alive = LifeToken();
    TCustomdxTreeList::ClampView();
    if (!alive)
        return;
    const int content = ContentWidth();
    const int view = ViewWidth();
    if (view < content && FLeftCoord + view > content) {
        FLeftCoord = content - view;
        if (HandleAllocated() && UpdateLockCount() == 0)
            Invalidate();
    } else if (view >= content && FLeftCoord != 0) {
        SetLeftCoord(0);
    }
}

// =============================================================================================
// 4. scroll bars

void TCustomdxTreeListControl::BeginPaintLock() {
    if (FPaintLockCount++ == 0)
        HideInteractionMarks();
}

void TCustomdxTreeListControl::EndPaintLock() {
    if (--FPaintLockCount == 0)
        ShowInteractionMarks();
}

void TCustomdxTreeListControl::WriteScrollBar(int bar, const TScrollInfo& info, bool visible) {
    bool& shown = ScrollState().BarShown[bar == SB::Vert ? 1 : 0];
    const TScrollInfo current = Window()->GetScrollInfo(bar);
    if (visible == shown && current.Min == info.Min && current.Max == info.Max &&
        current.Page == info.Page && current.Pos == info.Pos)
        return;
    shown = visible;
    // A bar shown or hidden resizes the client area at once; keeping the view in range then
    // may scroll, and a top row handler may free the list.
    const TPaintLock lock(*this);
    Window()->SetScrollInfo(bar, info, visible);
}

// Each bar is written twice: showing or hiding one changes the client size the other depends
// on.
void TCustomdxTreeListControl::UpdateScrollBars() {
    TCustomdxTreeList::UpdateScrollBars();
    TdxScrollState& state = ScrollState();
    if (!HandleAllocated() || state.UpdatingBars || ListDestroying() || IsLoading())
        return;
    const TLifeToken alive = LifeToken();
    const TTemporaryValue updating(*this, state.UpdatingBars, true);
    const bool vertical = ScrollBars() == ssVertical || ScrollBars() == ssBoth;
    const bool horizontal = ScrollBars() == ssHorizontal || ScrollBars() == ssBoth;
    for (int pass = 0; pass < 2; ++pass) {
        TCustomdxTreeList::UpdateScrollBars();
        const int count = AbsoluteCount();
        const int page = PageRowCount();
        TScrollInfo v{0, page >= count ? 0 : count - 1, page, std::max(TopRow(), 0), 0};
        WriteScrollBar(SB::Vert, v, vertical && v.Max > 0);
        if (!alive)
            return;
        const int content = ContentWidth();
        const int view = ViewWidth();
        TScrollInfo h{0, view >= content ? 0 : content - 1, view, FLeftCoord, 0};
        WriteScrollBar(SB::Horz, h, horizontal && h.Max > 0);
        if (!alive)
            return;
    }
}

// Whether every shown row and the content would fit with neither bar.
bool TCustomdxTreeListControl::FitsWithoutScrollBars() const {
    const TRect area = DataAreaRect();
    const long long height = area.Height() + Platform().SystemMetric(SM::CyHScroll);
    long long used = 0;
    for (TdxTreeListNode* n = NodeAtAbsoluteIndex(0); n; n = n->GetNextRow()) {
        used += NodeHeight(n);
        if (used > height)
            return false;
    }
    return ContentWidth() <= ViewWidth() + Platform().SystemMetric(SM::CxVScroll);
}

// The cached row heights follow the width; a client grown past all rows scrolls back so that no
// empty space is left below the last row while rows are hidden above.
void TCustomdxTreeListControl::ClientSizeChanged() {
    if (!HandleAllocated())
        return LayoutChanged();
    const TRect client = ClientRect();
    const TSize size{client.Width(), client.Height()};
    if (size.cx == FParts->ClientSize.cx && size.cy == FParts->ClientSize.cy)
        return;
    FParts->ClientSize = size;
    // Areas and widths follow the new client size.
    DropLayoutLists();
    ClearRowHeights();
    CancelEditing();
    TdxScrollState& state = ScrollState();
    // Two bars each needed only because of the other: both go at once.
    if (state.BarShown[0] && state.BarShown[1] && !state.UpdatingBars && FitsWithoutScrollBars()) {
        // The bars going resize the client at once, which may scroll rows; a top row handler
        // may free the list.
        const TLifeToken alive = LifeToken();
        {
            const TTemporaryValue updating(*this, state.UpdatingBars, true);
            state.BarShown[0] = state.BarShown[1] = false;
            Window()->SetScrollInfo(SB::Horz, Window()->GetScrollInfo(SB::Horz), false);
            if (alive)
                Window()->SetScrollInfo(SB::Vert, Window()->GetScrollInfo(SB::Vert), false);
        }
        if (!alive)
            return;
    }
    LayoutChanged();
}

void TCustomdxTreeListControl::CreateHandle() {
    TCustomdxTreeList::CreateHandle();
    FParts->ClientSize = {};
    ClientSizeChanged();
}

void TCustomdxTreeListControl::WMSize(TMessage& message) {
    DispatchInherited(StaticMessageTable(), message);
    ClientSizeChanged();
}

// Dot patterns are fixed to the surface: moved by an odd distance (either way) they would show
// stripes, so the focus frame's row and the tree lines' level slots repaint.
void TCustomdxTreeListControl::RowsMoved() {
    if (const TRect focused = NodeRowRect(FocusedNode()); !focused.IsEmpty())
        InvalidateRect(focused);
    if (PaintStyle() != psStandard || !ShowLines() || TreeLineStyle() != tlDot)
        return;
    const TGeometry geometry(*this, FLeftCoord);
    int levels = 0;
    int rows = 0;
    for (TdxTreeListNode* n = TopVisibleNode(); n && rows < ShownRowCount();
         n = n->GetNextRow(), ++rows)
        levels = std::max(levels, n->Level() + 1);
    const TRect& area = geometry.Areas().Rows;
    const TRect strip{
        area.Left, area.Top,
        std::min(geometry.SlotsLeft() + levels * kIndentStep, geometry.FirstBandRight()),
        area.Bottom};
    if (!strip.IsEmpty())
        InvalidateRect(strip);
}

namespace {
// Scroll bar requests, in the low word of the message's first parameter.
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4,
              kThumbTrack = 5, kTop = 6, kBottom = 7;
// A wheel notch.
constexpr int kWheelDelta = 120;
} // namespace

// The thumb's place comes from the bar's 32-bit tracking position; the message's own field has
// 16 bits.
void TCustomdxTreeListControl::WMVScroll(TMessage& message) {
    const int request = static_cast<int>(message.WParam & 0xFFFF);
    const int top = std::max(TopRow(), 0);
    const int count = AbsoluteCount();
    int row = 0;
    switch (request) {
    case kLineUp:
        row = top - 1;
        break;
    case kLineDown:
        row = top + 1;
        break;
    case kPageUp:
        row = top - PageRowCount();
        break;
    case kPageDown:
        row = top + PageRowCount();
        break;
    case kThumbPosition:
    case kThumbTrack: {
        const TScrollInfo bar = Window() ? Window()->GetScrollInfo(SB::Vert) : TScrollInfo{};
        const int track = bar.TrackPos;
        // The bar's page is the page at the current top; rows of other heights make the last
        // page hold fewer or more rows. The thumb at the end of its travel means the last page.
        const bool atEnd = bar.Max > 0 && track >= bar.Max - std::max(bar.Page, 1) + 1;
        row = track <= 0 ? 0 : track >= count || atEnd ? count : track;
        break;
    }
    case kTop:
        row = 0;
        break;
    case kBottom:
        row = count;
        break;
    default:
        return;
    }
    SetTopRow(row);
}

void TCustomdxTreeListControl::WMHScroll(TMessage& message) {
    if (Layout().HeaderItems.empty())
        return;
    const int request = static_cast<int>(message.WParam & 0xFFFF);
    const int content = ContentWidth();
    const int view = ViewWidth();
    int x = 0;
    switch (request) {
    case kLineUp:
        x = FLeftCoord - FHeights.HorzScrollStep;
        break;
    case kLineDown:
        x = FLeftCoord + FHeights.HorzScrollStep;
        break;
    case kPageUp:
        x = FLeftCoord - view;
        break;
    case kPageDown:
        x = FLeftCoord + view;
        break;
    case kThumbPosition:
    case kThumbTrack: {
        const int p = Window() ? Window()->GetScrollInfo(SB::Horz).TrackPos : 0;
        if (p <= 0)
            x = 0;
        else if (p >= content)
            x = content;
        else if (view + p + 1 < content)
            x = (p + 1) / 4 * 4;
        else
            x = p + 1;
        break;
    }
    case kTop:
        x = 0;
        break;
    case kBottom:
        x = content;
        break;
    default:
        return;
    }
    SetLeftCoord(x);
}

// Wheel messages of high-resolution wheels and touchpads carry fractions of a notch: they add up
// to whole notches, the rest waits for the next message.
void TCustomdxTreeListControl::WMMouseWheel(TMessage& message) {
    {
        const TLifeToken alive = LifeToken();
        DispatchInherited(StaticMessageTable(), message);
        if (!alive)
            return;
    }
    TdxScrollState& state = ScrollState();
    state.WheelRemainder += HiWordSigned(static_cast<std::intptr_t>(message.WParam));
    const int notches = state.WheelRemainder / kWheelDelta;
    state.WheelRemainder -= notches * kWheelDelta;
    message.Result = 0;
    if (notches == 0)
        return;
    // Away from the user (a positive delta) scrolls up.
    const bool up = notches > 0;
    const unsigned setting = Platform().WheelScrollLines();
    // Each line's top row handler may free the list.
    const TLifeToken alive = LifeToken();
    for (int notch = 0; notch < std::abs(notches); ++notch) {
        if (setting == kWheelPageScroll) {
            Perform(Msg::VScroll, static_cast<std::uintptr_t>(up ? kPageUp : kPageDown));
            if (!alive)
                return;
            continue;
        }
        // More lines than rows would only repeat the clamp.
        const unsigned lines = std::min(setting, static_cast<unsigned>(AbsoluteCount()));
        for (unsigned line = 0; line < lines; ++line) {
            Perform(Msg::VScroll, static_cast<std::uintptr_t>(up ? kLineUp : kLineDown));
            if (!alive)
                return;
        }
    }
}

void TCustomdxTreeListControl::StartPanning() {
    if (FParts->Panning || !HandleAllocated())
        return;
    const TdxScrollState& state = ScrollState();
    TdxTreeListPanning panning(*this, state.BarShown[0], state.BarShown[1]);
    const TTemporaryValue<TdxTreeListPanning*> running(*this, FParts->Panning, &panning);
    panning.Run();
}

void TCustomdxTreeListControl::WMTimer(TMessage& message) {
    if (FParts->Panning && message.WParam == TdxTreeListPanning::kTimerId) {
        FParts->Panning->Tick();
        return;
    }
    if (message.WParam == kInputTimerId) {
        InputTimerTick();
        return;
    }
    DispatchInherited(StaticMessageTable(), message);
}

} // namespace dxtl
