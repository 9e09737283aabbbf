// Columns: the column component with its properties and virtual operations, and the list's
// column list.
//
// Sections:
//   lifetime and list        - attaching to a list, leaving it, position
//   properties               - clamps, assigned-value flags, change reports
//   virtual operations
//   stored properties
//   the list's column list   - TCustomdxTreeListControl: add, remove, move (the nodes' texts
//                              move along), change handling
#include "treelist/dxTL.h"
#include "treelist/dxTLControlParts.h"
#include "treelist/dxTLNames.h"

#include <algorithm>
#include <climits>

namespace dxtl {

using namespace fw;

// --- lifetime and list -----------------------------------------------------------------------

TdxTreeListColumn::TdxTreeListColumn(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this] {
        if (!FCopyingFont)
            FontChanged();
    };
}

TdxTreeListColumn::~TdxTreeListColumn() {
    FFont.OnChange = nullptr;
    // Reached without BeforeDestruction only through a plain delete.
    Detach();
}

void TdxTreeListColumn::BeforeDestruction() {
    Detach();
    TComponent::BeforeDestruction();
}

void TdxTreeListColumn::Detach() {
    if (FTreeList)
        FTreeList->RemoveColumn(this);
    FTreeList = nullptr;
}

void TdxTreeListColumn::SetTreeList(TCustomdxTreeListControl* list) {
    FPendingTreeListName.clear();
    if (list == FTreeList)
        return;
    Detach();
    if (list)
        list->AddColumn(this);
}

void TdxTreeListColumn::SetTreeListName(std::string name) {
    if (name.empty()) {
        SetTreeList(nullptr);
        return;
    }
    TComponent* found = Owner() ? Owner()->FindComponent(name) : nullptr;
    if (!found && IsLoading()) {
        FPendingTreeListName = std::move(name);
        return;
    }
    auto* list = dynamic_cast<TCustomdxTreeListControl*>(found);
    if (!list)
        throw EInvaliddxTreeListOperation("'" + name + "' is not a tree list of " +
                                          (Owner() ? Owner()->Name() : std::string("no owner")));
    SetTreeList(list);
}

void TdxTreeListColumn::Loaded() {
    TComponent::Loaded();
    if (FPendingTreeListName.empty())
        return;
    const std::string name = std::move(FPendingTreeListName);
    FPendingTreeListName.clear();
    try {
        SetTreeListName(name);
    } catch (const EInvaliddxTreeListOperation& e) {
        throw ELayoutError(Name() + ".TreeList: " + e.what());
    }
}

int TdxTreeListColumn::Index() const {
    return FTreeList ? FTreeList->ColumnIndexOf(this) : -1;
}

void TdxTreeListColumn::SetIndex(int position) {
    if (FTreeList)
        FTreeList->MoveColumn(this, position);
}

void TdxTreeListColumn::CopyListFont() {
    const TTemporaryValue copying(*this, FCopyingFont, true);
    FFont.Assign(FTreeList ? FTreeList->Font() : TFont());
}

void TdxTreeListColumn::Changed(bool layout) {
    if (FTreeList)
        FTreeList->ColumnChanged(this, layout);
}

// --- properties ------------------------------------------------------------------------------

TAlignment TdxTreeListColumn::Alignment() const {
    return FAssignedValues.Contains(cvAlignment) ? FAlignment : DefaultAlignment();
}

void TdxTreeListColumn::SetAlignment(TAlignment alignment) {
    FAlignment = alignment;
    Assigned(cvAlignment);
    Changed(false);
}

std::string TdxTreeListColumn::Caption() const {
    return FAssignedValues.Contains(cvCaption) ? FCaption : DefaultCaption();
}

void TdxTreeListColumn::SetCaption(std::string caption) {
    FCaption = std::move(caption);
    Assigned(cvCaption);
    Changed(false);
}

TColor TdxTreeListColumn::Color() const {
    if (FAssignedValues.Contains(cvColor))
        return FColor;
    return FTreeList ? FTreeList->Color() : clWindow;
}

void TdxTreeListColumn::SetColor(TColor color) {
    FColor = color;
    Assigned(cvColor);
    Changed(false);
}

void TdxTreeListColumn::SetDisableCaption(bool disable) {
    FDisableCaption = disable;
    Changed(false);
}

void TdxTreeListColumn::SetHeaderAlignment(TAlignment alignment) {
    FHeaderAlignment = alignment;
    Changed(false);
}

TBitmap& TdxTreeListColumn::HeaderGlyph() {
    if (!FHeaderGlyph)
        FHeaderGlyph = std::make_unique<TBitmap>(
            !HasPlatform() && FTreeList && FTreeList->HasPlatform() ? FTreeList->Platform()
                                                                    : Platform());
    return *FHeaderGlyph;
}

int TdxTreeListColumn::MaxLength() const {
    return FAssignedValues.Contains(cvMaxLength) ? FMaxLength : DefaultMaxLength();
}

void TdxTreeListColumn::SetMaxLength(int length) {
    FMaxLength = length;
    Assigned(cvMaxLength);
}

void TdxTreeListColumn::SetMinWidth(int width) {
    FMinWidth = std::max(width, 0);
    // Width again, under the new minimum.
    const int stored = std::max(Width(), FMinWidth);
    if (FAssignedValues.Contains(cvWidth) || stored != DefaultWidth()) {
        FWidth = stored;
        Assigned(cvWidth);
    }
    Changed(true);
}

bool TdxTreeListColumn::ReadOnly() const {
    if (FAssignedValues.Contains(cvReadOnly))
        return FReadOnly;
    if (DefaultReadOnly())
        return true;
    return FTreeList && FTreeList->IsReadOnly();
}

void TdxTreeListColumn::SetReadOnly(bool readOnly) {
    FReadOnly = readOnly;
    Assigned(cvReadOnly);
}

void TdxTreeListColumn::SetSizing(bool sizing) {
    FSizing = sizing;
    Changed(true);
}

void TdxTreeListColumn::SetSorted(TdxTreeListColumnSort sorted) {
    if (sorted == FSorted)
        return;
    if (FTreeList && !FTreeList->IsLoading()) {
        FTreeList->WriteColumnSorted(this, sorted);
        return;
    }
    FSorted = sorted;
    Changed(true);
}

void TdxTreeListColumn::SetVertAlignment(TTextLayout alignment) {
    FVertAlignment = alignment;
    Changed(false);
}

void TdxTreeListColumn::SetVisible(bool visible) {
    FVisible = visible;
    Changed(true);
}

int TdxTreeListColumn::Width() const {
    return FAssignedValues.Contains(cvWidth) ? FWidth : DefaultWidth();
}

void TdxTreeListColumn::SetWidth(int width) {
    width = std::max(width, FMinWidth);
    if (FAssignedValues.Contains(cvWidth) || width != DefaultWidth()) {
        FWidth = width;
        Assigned(cvWidth);
    }
    Changed(true);
}

void TdxTreeListColumn::SetBandIndex(int index) {
    index = std::max(index, -1);
    if (FTreeList)
        index = std::min(index, FTreeList->Bands().Count() - 1);
    FBandIndex = index;
    Changed(true);
}

int TdxTreeListColumn::RowIndex() const {
    const int last = FTreeList ? FTreeList->HeaderPanelRowCount() - 1 : INT_MAX;
    return std::clamp(FRowIndex, 0, std::max(last, 0));
}

void TdxTreeListColumn::SetRowIndex(int index) {
    index = std::max(index, 0);
    FRowIndex = index;
    FStoredRowIndex = index;
    Changed(true);
}

void TdxTreeListColumn::SetStoredRowIndex(int index) {
    FStoredRowIndex = std::max(index, 0);
    Changed(true);
}

int TdxTreeListColumn::ColIndex() const {
    if (!FTreeList || !FTreeList->IsColumnShown(this))
        return -1;
    int position = 0;
    for (const TdxTreeListColumn* c : FTreeList->FColumns) {
        if (c == this)
            return position;
        if (FTreeList->IsColumnShown(c) && c->FBandIndex == FBandIndex &&
            c->RowIndex() == RowIndex())
            ++position;
    }
    return -1;
}

void TdxTreeListColumn::SetColIndex(int index) {
    if (!FTreeList || !FTreeList->IsColumnShown(this))
        return;
    // The other columns of the band row, and the column list without this one.
    std::vector<TdxTreeListColumn*> others = FTreeList->FColumns;
    others.erase(std::find(others.begin(), others.end(), this));
    std::vector<int> row;
    for (int i = 0; i < static_cast<int>(others.size()); ++i) {
        const TdxTreeListColumn* c = others[static_cast<std::size_t>(i)];
        if (FTreeList->IsColumnShown(c) && c->FBandIndex == FBandIndex &&
            c->RowIndex() == RowIndex())
            row.push_back(i);
    }
    if (row.empty())
        return;
    index = std::max(index, 0);
    const int position = static_cast<std::size_t>(index) < row.size()
                             ? row[static_cast<std::size_t>(index)]
                             : row.back() + 1;
    MoveTo(position);
}

void TdxTreeListColumn::SetHeaderMaxLineCount(int count) {
    FHeaderMaxLineCount = std::max(count, 0);
    Changed(true);
}

void TdxTreeListColumn::SetFieldIndex(int index) {
    FExplicitFieldIndex = std::max(index, -1);
    Changed(false);
}

// --- virtual operations ----------------------------------------------------------------------

void TdxTreeListColumn::StoreEditValue(TdxTreeListNode* node, TdxInplaceTextEdit& editor) {
    const int field = FieldIndex();
    if (!node || field < 0)
        return;
    node->SetStrings(field, editor.Text);
    editor.Value = node->Values(field);
}

void TdxTreeListColumn::ValueChanged() {
    if (FTreeList) {
        if (FTreeList->SettingUpEditor())
            return;
        FTreeList->ColumnValueChanged(this);
    }
    if (OnChange)
        OnChange(this);
}

void TdxTreeListColumn::CustomDrawCell(TCanvas& canvas, TRect rect, TdxTreeListNode* node,
                                       bool selected, bool focused, bool newItemRow,
                                       std::string& text, TColor& color, TFont& font,
                                       TAlignment& alignment, bool& done) {
    if (OnCustomDrawCell)
        OnCustomDrawCell(this, canvas, rect, node, this, selected, focused, newItemRow, text, color,
                         font, alignment, done);
}

void TdxTreeListColumn::Validate() {
    if (FTreeList) {
        if (FTreeList->SettingUpEditor())
            return;
        FTreeList->ColumnValidate(this);
    }
    if (OnValidate)
        OnValidate(this);
}

void TdxTreeListColumn::FontChanged() {
    Assigned(cvFont);
    Changed(true);
}

std::string TdxTreeListColumn::DisplayText(TdxTreeListNode* node) const {
    const int field = FieldIndex();
    return node && field >= 0 ? node->Strings(field) : std::string();
}

int TdxTreeListColumn::FieldIndex() const {
    return FExplicitFieldIndex >= 0 ? FExplicitFieldIndex : Index();
}

int TdxTreeListColumn::RequiredRowHeight(TCanvas&) {
    return 0;
}

void TdxTreeListColumn::InitEditor(TdxInplaceTextEdit& editor) {
    editor.ReadOnly = ReadOnly();
    editor.CharCase = FCharCase;
    editor.MaxLength = MaxLength();
    editor.OEMConvert = FOEMConvert;
    editor.PasswordChar = FPasswordChar;
    editor.OnChange = [this](TObject*) { ValueChanged(); };
    editor.OnValidate = [this](TObject*) { Validate(); };
}

void TdxTreeListColumn::LoadEditor(TdxInplaceTextEdit& editor, TdxTreeListNode* node) {
    editor.Text = DisplayText(node);
}

void TdxTreeListColumn::GetCellViewParams(TdxTreeListNode* node, TdxCellViewParams& params) {
    params.Text = ConvertDisplayText(DisplayText(node));
    params.Alignment = Alignment();
    params.VertAlignment = FVertAlignment;
    params.Color = Color();
    params.Font = &FFont;
}

namespace {

std::string ApplyCharCase(std::string text, TEditCharCase charCase) {
    // ASCII letters only: other bytes may be parts of multi-byte characters.
    for (char& c : text) {
        if (charCase == ecUpperCase && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (charCase == ecLowerCase && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// One password character per character (UTF-8 code point) of the text.
std::string MaskText(const std::string& text, char passwordChar) {
    std::string masked;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            masked.push_back(passwordChar);
    return masked;
}

} // namespace

TdxCellViewParams TdxTreeListColumn::CellView(TdxTreeListNode* node) {
    TdxCellViewParams params;
    GetCellViewParams(node, params);
    if (FCharCase != ecNormal)
        params.Text = ApplyCharCase(std::move(params.Text), FCharCase);
    if (FPasswordChar != '\0')
        params.Text = MaskText(params.Text, FPasswordChar);
    return params;
}

void TdxTreeListColumn::MoveTo(int position) {
    SetIndex(position);
}

int TdxTreeListColumn::ContentWidth(TCanvas& canvas, TdxTreeListNode* node) const {
    return canvas.TextWidth(ConvertDisplayText(DisplayText(node)));
}

void TdxTreeListColumn::RestoreDefaults() {
    FAssignedValues = {};
    CopyListFont();
    FWidth = DefaultWidth();
    FDisableEditor = false;
    FDisableCaption = false;
    FDisableCustomizing = false;
    FHeaderAlignment = taLeftJustify;
    FMinWidth = kDefaultMinWidth;
    FSizing = true;
    FSorted = csNone;
    if (FTreeList)
        FTreeList->FParts->Sort.Remove(this);
    FTabStop = true;
    FVertAlignment = tlTop;
    Changed(true);
}

// --- stored properties -----------------------------------------------------------------------

std::vector<TLayoutProperty> TdxTreeListColumn::StoredProperties() const {
    std::vector<TLayoutProperty> properties;
    auto add = [&](const char* name, TLayoutValue value) {
        properties.push_back({name, std::move(value)});
    };
    auto integer = [](long long v) {
        TLayoutValue value;
        value.Kind = TLayoutValue::Integer;
        value.Int = v;
        return value;
    };
    auto identifier = [](std::string_view text) {
        TLayoutValue value;
        value.Kind = TLayoutValue::Identifier;
        value.Text = std::string(text);
        return value;
    };
    auto string = [](std::string text) {
        TLayoutValue value;
        value.Kind = TLayoutValue::String;
        value.Text = std::move(text);
        return value;
    };
    auto boolean = [&](bool v) { return identifier(v ? "True" : "False"); };

    if (FTreeList)
        add("TreeList", identifier(FTreeList->Name()));
    if (FAssignedValues.Contains(cvAlignment))
        add("Alignment", identifier(names::Of(names::kAlignment, FAlignment)));
    if (FAssignedValues.Contains(cvCaption))
        add("Caption", string(FCaption));
    if (FCharCase != ecNormal)
        add("CharCase", identifier(names::Of(names::kCharCase, FCharCase)));
    if (FAssignedValues.Contains(cvColor))
        add("Color", integer(FColor));
    if (FDisableCaption)
        add("DisableCaption", boolean(true));
    if (FDisableCustomizing)
        add("DisableCustomizing", boolean(true));
    if (FDisableDragging)
        add("DisableDragging", boolean(true));
    if (FDisableEditor)
        add("DisableEditor", boolean(true));
    if (FAssignedValues.Contains(cvFont)) {
        add("Font.Charset", integer(FFont.Charset()));
        add("Font.Color", integer(FFont.Color()));
        add("Font.Height", integer(FFont.Height()));
        add("Font.Name", string(FFont.Name()));
        TLayoutValue style;
        style.Kind = TLayoutValue::Set;
        const std::pair<TFontStyle, const char*> styles[] = {{fsBold, "fsBold"},
                                                             {fsItalic, "fsItalic"},
                                                             {fsUnderline, "fsUnderline"},
                                                             {fsStrikeOut, "fsStrikeOut"}};
        for (const auto& [bit, name] : styles)
            if (FFont.Style() & bit)
                style.Items.push_back(name);
        add("Font.Style", std::move(style));
    }
    if (FHeaderAlignment != taLeftJustify)
        add("HeaderAlignment", identifier(names::Of(names::kAlignment, FHeaderAlignment)));
    if (FAssignedValues.Contains(cvMaxLength))
        add("MaxLength", integer(FMaxLength));
    if (FMinWidth != kDefaultMinWidth)
        add("MinWidth", integer(FMinWidth));
    if (FOEMConvert)
        add("OEMConvert", boolean(true));
    if (FPasswordChar != '\0')
        add("PasswordChar", string(std::string(1, FPasswordChar)));
    if (FAssignedValues.Contains(cvReadOnly))
        add("ReadOnly", boolean(FReadOnly));
    if (!FSizing)
        add("Sizing", boolean(false));
    if (FSorted != csNone)
        add("Sorted", identifier(names::Of(names::kColumnSort, FSorted)));
    if (!FTabStop)
        add("TabStop", boolean(false));
    if (FVertAlignment != tlTop)
        add("VertAlignment", identifier(names::Of(names::kTextLayout, FVertAlignment)));
    if (!FVisible)
        add("Visible", boolean(false));
    if (FAssignedValues.Contains(cvWidth))
        add("Width", integer(FWidth));
    if (FBandIndex != 0)
        add("BandIndex", integer(FBandIndex));
    if (RowIndex() != 0)
        add("RowIndex", integer(RowIndex()));
    if (FHeaderMaxLineCount != DefaultHeaderMaxLineCount())
        add("HeaderMaxLineCount", integer(FHeaderMaxLineCount));
    if (const int order = FTreeList ? FTreeList->StoredSortedOrder(this) : -1; order != -1)
        add("SortedOrder", integer(order));
    if (FStoredRowIndex != 0)
        add("StoredRowIndex", integer(FStoredRowIndex));
    return properties;
}

} // namespace dxtl
