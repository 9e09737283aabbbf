// Stored-layout registration of TdxTreeList and TdxTreeListColumn.
//
// A column is a component of the form stored as its own object; "TreeList = <name>" attaches it
// to a list of the same root (a list stored after the column is attached when loading ends).
// The list's bands are a collection:
//   Bands = <
//     item
//       Caption = 'Band'
//     end>
// assigned as a whole (as many bands as items).
#include "treelist/dxTL.h"
#include "treelist/dxTLNames.h"

#include "framework/StandardClasses.h"

#include <algorithm>

namespace dxtl {

using namespace fw;

namespace {

template <class E, std::size_t N>
E EnumFromLayout(const TLayoutValue& value, const std::array<std::string_view, N>& table) {
    const std::string& id = LayoutIdentifier(value);
    for (std::size_t i = 0; i < N; ++i)
        if (id == table[i])
            return static_cast<E>(i);
    throw ELayoutError("'" + id + "' is not a valid value");
}

// Set members named by `table`, as bits in declaration order.
template <std::size_t N>
std::uint32_t SetFromLayout(const TLayoutValue& value,
                            const std::array<std::string_view, N>& table) {
    if (value.Kind != TLayoutValue::Set)
        throw ELayoutError(std::string("a set was expected, not ") + value.KindName());
    std::uint32_t bits = 0;
    for (const std::string& member : value.Items) {
        const auto it = std::find(table.begin(), table.end(), member);
        if (it == table.end())
            throw ELayoutError("'" + member + "' is not a member of this set");
        bits |= std::uint32_t(1) << (it - table.begin());
    }
    return bits;
}

TFontStyles FontStyleFromLayout(const TLayoutValue& value) {
    return LayoutSet(value, {{"fsBold", fsBold},
                             {"fsItalic", fsItalic},
                             {"fsUnderline", fsUnderline},
                             {"fsStrikeOut", fsStrikeOut}});
}

// "<prefix>.Name", ".Height", ".Size", ".Charset", ".Color", ".Style" of a font of T.
template <class T>
void AddFont(TClassBuilder<T>& builder, const std::string& prefix, TFont& (*font)(T&)) {
    const auto add = [&](const char* member, void (*apply)(TFont&, const TLayoutValue&)) {
        builder.Custom(
            (prefix + member).c_str(),
            [font, apply](T& t, const TLayoutValue& v, TLoadContext&) { apply(font(t), v); });
    };
    add(".Name", [](TFont& f, const TLayoutValue& v) { f.SetName(LayoutString(v)); });
    add(".Height",
        [](TFont& f, const TLayoutValue& v) { f.SetHeight(static_cast<int>(LayoutInt(v))); });
    add(".Size",
        [](TFont& f, const TLayoutValue& v) { f.SetSize(static_cast<int>(LayoutInt(v))); });
    add(".Charset", [](TFont& f, const TLayoutValue& v) { f.SetCharset(LayoutCharset(v)); });
    add(".Color", [](TFont& f, const TLayoutValue& v) { f.SetColor(LayoutColor(v)); });
    add(".Style", [](TFont& f, const TLayoutValue& v) { f.SetStyle(FontStyleFromLayout(v)); });
}

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

void ApplyBandProperty(TdxTreeListBand& band, const TLayoutProperty& p) {
    const TLayoutValue& v = p.Value;
    if (p.Name == "Alignment")
        band.SetAlignment(EnumFromLayout<TAlignment>(v, names::kAlignment));
    else if (p.Name == "Caption")
        band.SetCaption(LayoutString(v));
    else if (p.Name == "DisableCustomizing")
        band.SetDisableCustomizing(LayoutBool(v));
    else if (p.Name == "DisableDragging")
        band.SetDisableDragging(LayoutBool(v));
    else if (p.Name == "Fixed")
        band.SetFixed(EnumFromLayout<TdxGridBandFixed>(v, names::kBandFixed));
    else if (p.Name == "MinWidth")
        band.SetMinWidth(static_cast<int>(LayoutInt(v)));
    else if (p.Name == "OnlyOwnColumns")
        band.SetOnlyOwnColumns(LayoutBool(v));
    else if (p.Name == "Sizing")
        band.SetSizing(LayoutBool(v));
    else if (p.Name == "Visible")
        band.SetVisible(LayoutBool(v));
    else if (p.Name == "Width")
        band.SetWidth(static_cast<int>(LayoutInt(v)));
    else
        throw ELayoutError("unknown band property '" + p.Name + "'");
}

void ReadBands(TdxTreeList& list, const TLayoutValue& value) {
    if (value.Kind != TLayoutValue::Collection)
        throw ELayoutError(std::string("a collection of bands was expected, not ") +
                           value.KindName());
    TdxTreeListBands bands(nullptr);
    for (const TLayoutItem& item : value.Elements) {
        TdxTreeListBand* band = bands.Add();
        for (const TLayoutProperty& p : item.Properties)
            ApplyBandProperty(*band, p);
    }
    list.SetBands(bands);
}

// Bands, header rows, the border, colours, fonts and images.
void RegisterListPanelProperties(TClassBuilder<TdxTreeList>& builder) {
    using L = TdxTreeList;
    auto integer = [&](const char* name, auto setter) { builder.Int(name, setter); };
    auto color = [&](const char* name, auto setter) { builder.Color(name, setter); };
    auto boolean = [&](const char* name, auto setter) { builder.Bool(name, setter); };

    builder.Custom("Bands", [](L& l, const TLayoutValue& v, TLoadContext&) { ReadBands(l, v); });
    integer("BandRowCount", &L::SetBandRowCount);
    integer("BandMaxRowCount", &L::SetBandMaxRowCount);
    boolean("DefaultLayout", &L::SetDefaultLayout);
    integer("HeaderMinRowCount", &L::SetHeaderMinRowCount);
    integer("HeaderPanelMaxRowCount", &L::SetHeaderPanelMaxRowCount);
    integer("HeaderPanelRowCount", &L::SetHeaderPanelRowCount);
    builder.Custom("BorderStyle", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetBorderStyle(EnumFromLayout<int>(v, names::kBorderStyle) == 0 ? bsNone : bsSingle);
    });
    boolean("Ctl3D", &L::SetCtl3D);
    boolean("ParentCtl3D", &L::SetParentCtl3D);
    color("ArrowsColor", &L::SetArrowsColor);
    boolean("AutoExpandOnSearch", &L::SetAutoExpandOnSearch);
    color("AutoSearchColor", &L::SetAutoSearchColor);
    color("AutoSearchTextColor", &L::SetAutoSearchTextColor);
    boolean("DblClkExpanding", &L::SetDblClkExpanding);
    color("GroupNodeColor", &L::SetGroupNodeColor);
    color("GroupNodeTextColor", &L::SetGroupNodeTextColor);
    color("RowFooterColor", &L::SetRowFooterColor);
    color("RowFooterTextColor", &L::SetRowFooterTextColor);
    color("HeaderColor", &L::SetHeaderColor);
    color("BandColor", &L::SetBandColor);
    AddFont<L>(builder, "BandFont", [](L& l) -> TFont& { return l.BandFont(); });
    AddFont<L>(builder, "HeaderFont", [](L& l) -> TFont& { return l.HeaderFont(); });
    AddFont<L>(builder, "PreviewFont", [](L& l) -> TFont& { return l.PreviewFont(); });
    boolean("HideFocusRect", &L::SetHideFocusRect);
    boolean("HideSelection", &L::SetHideSelection);
    builder.Custom("Images", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetImagesName(LayoutIdentifier(v));
    });
    builder.Custom("StateImages", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetStateImagesName(LayoutIdentifier(v));
    });
}

// Options, rows, lines, scroll bars and what is shown.
void RegisterListViewProperties(TClassBuilder<TdxTreeList>& builder) {
    using L = TdxTreeList;
    auto integer = [&](const char* name, auto setter) { builder.Int(name, setter); };
    auto color = [&](const char* name, auto setter) { builder.Color(name, setter); };
    auto boolean = [&](const char* name, auto setter) { builder.Bool(name, setter); };

    integer("IndentDesc", &L::SetIndentDesc);
    builder.String("IniFileName", &L::SetIniFileName);
    builder.String("IniSectionName", &L::SetIniSectionName);
    builder.String("RegistryPath", &L::SetRegistryPath);
    color("FixedBandLineColor", &L::SetFixedBandLineColor);
    integer("FixedBandLineWidth", &L::SetFixedBandLineWidth);
    builder.Custom("LookAndFeel", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetLookAndFeel(EnumFromLayout<TdxLookAndFeel>(v, names::kLookAndFeel));
    });
    integer("MaxRowLineCount", &L::SetMaxRowLineCount);
    builder.Custom("Options", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetOptions(TdxTreeListOptions::FromBits(SetFromLayout(v, names::kOption)));
    });
    builder.Custom("OptionsEx", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetOptionsEx(TdxTreeListOptionsEx::FromBits(SetFromLayout(v, names::kOptionEx)));
    });
    builder.Custom("PaintStyle", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetPaintStyle(EnumFromLayout<TdxTreeListPaintStyle>(v, names::kPaintStyle));
    });
    integer("DefaultRowHeight", &L::SetDefaultRowHeight);
    integer("RowSeparatorLineWidth", &L::SetRowSeparatorLineWidth);
    integer("PreviewLines", &L::SetPreviewLines);
    color("HighlightColor", &L::SetHighlightColor);
    color("HighlightTextColor", &L::SetHighlightTextColor);
    color("TreeLineColor", &L::SetTreeLineColor);
    builder.Custom("TreeLineStyle", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetTreeLineStyle(EnumFromLayout<TdxTreeLineStyle>(v, names::kTreeLineStyle));
    });
    color("HideSelectionColor", &L::SetHideSelectionColor);
    color("HideSelectionTextColor", &L::SetHideSelectionTextColor);
    integer("WaitForExpandNodeTime", &L::SetWaitForExpandNodeTime);
    builder.Custom("ScrollBars", [](L& l, const TLayoutValue& v, TLoadContext&) {
        l.SetScrollBars(EnumFromLayout<TScrollStyle>(v, names::kScrollStyle));
    });
    integer("CustomizingRowCount", &L::SetCustomizingRowCount);
    boolean("ShowBands", &L::SetShowBands);
    boolean("ShowGrid", &L::SetShowGrid);
    boolean("ShowRowFooter", &L::SetShowRowFooter);
    boolean("ShowIndicator", &L::SetShowIndicator);
    boolean("ShowFooter", &L::SetShowFooter);
    boolean("ShowButtons", &L::SetShowButtons);
    boolean("ShowPreviewGrid", &L::SetShowPreviewGrid);
    boolean("ShowHeader", &L::SetShowHeader);
    boolean("ShowLines", &L::SetShowLines);
    boolean("ShowRoot", &L::SetShowRoot);
    boolean("SimpleCustomizeBox", &L::SetSimpleCustomizeBox);
    boolean("ShowHiddenInCustomizeBox", &L::SetShowHiddenInCustomizeBox);
    color("GridLineColor", &L::SetGridLineColor);
}

// The events and the node stream "Data".
void RegisterListEvents(TClassBuilder<TdxTreeList>& builder) {
    using L = TdxTreeList;
    builder.Event<TTLExpandedEvent>("OnDeletion", &L::OnDeletion, "TTLExpandedEvent")
        .Event<TTLExpandingEvent>("OnExpanding", &L::OnExpanding, "TTLExpandingEvent")
        .Event<TTLExpandingEvent>("OnCollapsing", &L::OnCollapsing, "TTLExpandingEvent")
        .Event<TTLExpandedEvent>("OnExpanded", &L::OnExpanded, "TTLExpandedEvent")
        .Event<TTLExpandedEvent>("OnCollapsed", &L::OnCollapsed, "TTLExpandedEvent")
        .Event<TTLChangeNodeEvent>("OnChangeNode", &L::OnChangeNode, "TTLChangeNodeEvent")
        .Event<TTLGetImageEvent>("OnGetImageIndex", &L::OnGetImageIndex, "TTLGetImageEvent")
        .Event<TTLGetImageEvent>("OnGetSelectedIndex", &L::OnGetSelectedIndex, "TTLGetImageEvent")
        .Event<TTLGetImageEvent>("OnGetStateIndex", &L::OnGetStateIndex, "TTLGetImageEvent")
        .Event<TNotifyEvent>("OnChangedColumnsWidth", &L::OnChangedColumnsWidth, "TNotifyEvent")
        .Event<TTLCustomDrawEvent>("OnCustomDraw", &L::OnCustomDraw, "TTLCustomDrawEvent")
        .Event<TdxTLCustomDrawCell>("OnCustomDrawCell", &L::OnCustomDrawCell, "TdxTLCustomDrawCell")
        .Event<TTLColumnClick>("OnColumnClick", &L::OnColumnClick, "TTLColumnClick")
        .Event<TdxTreeListColumnSorting>("OnColumnSorting", &L::OnColumnSorting,
                                         "TdxTreeListColumnSorting")
        .Event<TTLColumnSorted>("OnColumnSorted", &L::OnColumnSorted, "TTLColumnSorted")
        .Event<TdxTLCompareEvent>("OnCompare", &L::OnCompare, "TdxTLCompareEvent")
        .Event<TdxTLCustomDrawHeader>("OnCustomDrawColumnHeader", &L::OnCustomDrawColumnHeader,
                                      "TdxTLCustomDrawHeader")
        .Event<TdxTLCustomDrawBand>("OnCustomDrawBand", &L::OnCustomDrawBand, "TdxTLCustomDrawBand")
        .Custom("Data", [](L& list, const TLayoutValue& value, TLoadContext&) {
            list.ReadData(BytesFromHex(value));
        });
}

void RegisterListClass(TPropertyRegistry& registry) {
    auto builder = RegisterComponentClass<TdxTreeList>(registry, "TdxTreeList", "TCustomControl");
    RegisterListPanelProperties(builder);
    RegisterListViewProperties(builder);
    RegisterListEvents(builder);
}

void RegisterColumnClass(TPropertyRegistry& registry) {
    using C = TdxTreeListColumn;
    auto builder = RegisterComponentClass<C>(registry, "TdxTreeListColumn", "");
    builder.Custom("TreeList", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetTreeListName(LayoutIdentifier(v));
    });
    builder.Custom("Alignment", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetAlignment(EnumFromLayout<TAlignment>(v, names::kAlignment));
    });
    builder.String("Caption", &C::SetCaption);
    builder.Custom("CharCase", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetCharCase(EnumFromLayout<TEditCharCase>(v, names::kCharCase));
    });
    builder.Color("Color", &C::SetColor);
    builder.Bool("DisableCaption", &C::SetDisableCaption);
    builder.Bool("DisableCustomizing", &C::SetDisableCustomizing);
    builder.Bool("DisableDragging", &C::SetDisableDragging);
    builder.Bool("DisableEditor", &C::SetDisableEditor);
    AddFont<C>(builder, "Font", [](C& c) -> TFont& { return c.Font(); });
    builder.Custom("HeaderAlignment", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetHeaderAlignment(EnumFromLayout<TAlignment>(v, names::kAlignment));
    });
    builder.Int("MaxLength", &C::SetMaxLength);
    builder.Int("MinWidth", &C::SetMinWidth);
    builder.Bool("OEMConvert", &C::SetOEMConvert);
    builder.Custom("PasswordChar", [](C& c, const TLayoutValue& v, TLoadContext&) {
        if (v.Kind == TLayoutValue::Integer) {
            c.SetPasswordChar(static_cast<char>(LayoutInt(v)));
            return;
        }
        const std::string& text = LayoutString(v);
        if (text.size() > 1)
            throw ELayoutError("one character was expected");
        c.SetPasswordChar(text.empty() ? '\0' : text[0]);
    });
    builder.Bool("ReadOnly", &C::SetReadOnly);
    builder.Bool("Sizing", &C::SetSizing);
    builder.Custom("Sorted", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetSorted(EnumFromLayout<TdxTreeListColumnSort>(v, names::kColumnSort));
    });
    builder.Bool("TabStop", &C::SetTabStop);
    builder.Custom("VertAlignment", [](C& c, const TLayoutValue& v, TLoadContext&) {
        c.SetVertAlignment(EnumFromLayout<TTextLayout>(v, names::kTextLayout));
    });
    builder.Bool("Visible", &C::SetVisible);
    builder.Int("Width", &C::SetWidth);
    builder.Int("BandIndex", &C::SetBandIndex);
    builder.Int("RowIndex", &C::SetRowIndex);
    builder.Int("HeaderMaxLineCount", &C::SetHeaderMaxLineCount);
    builder.Int("StoredRowIndex", &C::SetStoredRowIndex);
    builder.Int("SortedOrder", &C::SetSortedOrder);
    builder.Event<TNotifyEvent>("OnChange", &C::OnChange, "TNotifyEvent");
    builder.Event<TdxTLCustomDrawCell>("OnCustomDrawCell", &C::OnCustomDrawCell,
                                       "TdxTLCustomDrawCell");
    builder.Event<TdxTLCustomDrawHeader>("OnCustomDrawColumnHeader", &C::OnCustomDrawColumnHeader,
                                         "TdxTLCustomDrawHeader");
    builder.Event<TNotifyEvent>("OnValidate", &C::OnValidate, "TNotifyEvent");
}

} // namespace

void RegisterTreeList(TPropertyRegistry& registry) {
    RegisterListClass(registry);
    RegisterColumnClass(registry);
}

} // namespace dxtl
