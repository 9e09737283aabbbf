// The published tree list and its registration for stored layouts.
#include "treelist/dxTL.h"

#include "framework/StandardClasses.h"

namespace dxtl {

using namespace fw;

TdxTreeList::TdxTreeList(TComponent* owner) : TCustomdxTreeListControl(owner) {
    WindowClassName = "TdxTreeList";
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
    SetTabStop(true);
}

// A plain rendering until the list has columns and its full paint pass: one text line per
// displayed row, each node's texts side by side.
void TdxTreeList::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    const TRect area = DataAreaRect();
    canvas.Brush().SetStyle(bsClear);
    int y = area.Top;
    for (TdxTreeListNode* node = TopVisibleNode(); node && y < area.Bottom;
         node = node->GetNextRow()) {
        std::string text;
        for (int i = 0; i < GetNodeStringCount(node); ++i) {
            const std::string part = node->Strings(i);
            if (part.empty())
                continue;
            if (!text.empty())
                text += ' ';
            text += part;
        }
        const TRect row{area.Left, y, area.Right, y + RowHeight()};
        if (canvas.RectVisible(row)) {
            TRect textRect{area.Left + 2 * RowHeight() + 2, y, area.Right, row.Bottom};
            canvas.DrawText(text, textRect, DT::Left | DT::VCenter | DT::SingleLine | DT::NoPrefix);
        }
        y += RowHeight();
    }
}

void TdxTreeList::RequestResort() {
    if (Clearing() || ListDestroying())
        return;
    if (UpdateLockCount() != 0)
        FResortPending = true;
    else
        Resort();
}

void TdxTreeList::NodeAdded(TdxTreeListNode* node) {
    TCustomdxTreeListControl::NodeAdded(node);
    RequestResort();
}

void TdxTreeList::NodeDeleted(TdxTreeListNode* node, TdxTreeListNode* previous,
                              TdxTreeListNode* next, bool last, bool visible) {
    try {
        TCustomdxTreeListControl::NodeDeleted(node, previous, next, last, visible);
    } catch (...) {
        RequestResort();
        throw;
    }
    RequestResort();
}

void TdxTreeList::SetNodeString(TdxTreeListNode* node, int index, std::string_view text) {
    TCustomdxTreeListControl::SetNodeString(node, index, text);
    RequestResort();
}

void TdxTreeList::RecalcLayout() {
    if (FResortPending) {
        FResortPending = false;
        Resort();
    }
    TCustomdxTreeListControl::RecalcLayout();
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The node stream as a layout holds it: hexadecimal digits, two per byte, in one string or
// spread over a list of strings; blanks are ignored.
std::string BytesFromHex(const TLayoutValue& value) {
    std::string digits;
    if (value.Kind == TLayoutValue::StringList)
        for (const std::string& line : value.Items)
            digits += line;
    else
        digits = LayoutString(value);
    std::string bytes;
    int high = -1;
    for (char c : digits) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        const int digit = HexDigit(c);
        if (digit < 0)
            throw ELayoutError(std::string("'") + c + "' is not a hexadecimal digit");
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0)
        throw ELayoutError("odd number of hexadecimal digits");
    return bytes;
}

} // namespace

void RegisterTreeList(TPropertyRegistry& registry) {
    RegisterComponentClass<TdxTreeList>(registry, "TdxTreeList", "TCustomControl")
        .Event<TTLExpandedEvent>("OnDeletion", &TdxTreeList::OnDeletion, "TTLExpandedEvent")
        .Event<TTLExpandingEvent>("OnExpanding", &TdxTreeList::OnExpanding, "TTLExpandingEvent")
        .Event<TTLExpandingEvent>("OnCollapsing", &TdxTreeList::OnCollapsing, "TTLExpandingEvent")
        .Event<TTLExpandedEvent>("OnExpanded", &TdxTreeList::OnExpanded, "TTLExpandedEvent")
        .Event<TTLExpandedEvent>("OnCollapsed", &TdxTreeList::OnCollapsed, "TTLExpandedEvent")
        .Event<TTLChangeNodeEvent>("OnChangeNode", &TdxTreeList::OnChangeNode, "TTLChangeNodeEvent")
        .Event<TTLGetImageEvent>("OnGetImageIndex", &TdxTreeList::OnGetImageIndex,
                                 "TTLGetImageEvent")
        .Event<TTLGetImageEvent>("OnGetSelectedIndex", &TdxTreeList::OnGetSelectedIndex,
                                 "TTLGetImageEvent")
        .Event<TTLGetImageEvent>("OnGetStateIndex", &TdxTreeList::OnGetStateIndex,
                                 "TTLGetImageEvent")
        .Custom("Data", [](TdxTreeList& list, const TLayoutValue& value, TLoadContext&) {
            list.ReadData(BytesFromHex(value));
        });
}

} // namespace dxtl
