#include "framework/Layout.h"

#include "framework/Control.h"
#include "framework/Platform.h"

#include <cctype>
#include <charconv>

namespace fw {

// =============================================================================================
// Parser

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : FText(text) {}

    TLayoutObject ParseRoot() {
        SkipSpace();
        TLayoutObject root = ParseObject();
        SkipSpace();
        if (FPos < FText.size())
            Fail("text after the end of the root object");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ELayoutError("line " + std::to_string(FLine) + ": " + what);
    }

    void SkipSpace() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n')
                    ++FPos;
            } else {
                break;
            }
        }
    }

    static bool IsNameChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    }

    std::string Name() {
        SkipSpace();
        const std::size_t start = FPos;
        while (FPos < FText.size() && IsNameChar(FText[FPos]))
            ++FPos;
        if (start == FPos)
            Fail("a name was expected");
        return std::string(FText.substr(start, FPos - start));
    }

    bool PeekWord(std::string_view word) {
        SkipSpace();
        if (FText.substr(FPos, word.size()) != word)
            return false;
        const std::size_t after = FPos + word.size();
        return after >= FText.size() || !IsNameChar(FText[after]);
    }

    void Expect(char c) {
        SkipSpace();
        if (FPos >= FText.size() || FText[FPos] != c)
            Fail(std::string("'") + c + "' was expected");
        ++FPos;
    }

    TLayoutObject ParseObject() {
        if (!PeekWord("object"))
            Fail("'object' was expected");
        TLayoutObject object;
        object.Line = FLine;
        FPos += 6;
        object.Name = Name();
        Expect(':');
        object.ClassName = Name();
        for (;;) {
            SkipSpace();
            if (FPos >= FText.size())
                Fail("'end' of object '" + object.Name + "' is missing");
            if (PeekWord("end")) {
                FPos += 3;
                return object;
            }
            if (PeekWord("object")) {
                object.Children.push_back(ParseObject());
                continue;
            }
            object.Properties.push_back(ParseProperty());
        }
    }

    TLayoutProperty ParseProperty() {
        TLayoutProperty property;
        property.Name = Name();
        Expect('=');
        property.Value = ParseValue();
        return property;
    }

    std::string QuotedString() {
        // At the opening quote.
        ++FPos;
        std::string text;
        for (;;) {
            if (FPos >= FText.size() || FText[FPos] == '\n')
                Fail("unterminated string");
            const char c = FText[FPos++];
            if (c == '\'') {
                if (FPos < FText.size() && FText[FPos] == '\'') {
                    text += '\'';
                    ++FPos;
                    continue;
                }
                return text;
            }
            text += c;
        }
    }

    TLayoutValue ParseValue() {
        SkipSpace();
        TLayoutValue value;
        value.Line = FLine;
        if (FPos >= FText.size())
            Fail("a value was expected");
        const char c = FText[FPos];
        if (c == '\'') {
            value.Kind = TLayoutValue::String;
            value.Text = QuotedString();
        } else if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) {
            value.Kind = TLayoutValue::Integer;
            const std::size_t start = FPos;
            ++FPos;
            while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos])))
                ++FPos;
            std::string_view digits = FText.substr(start, FPos - start);
            const bool negative = digits[0] == '-';
            if (digits[0] == '-' || digits[0] == '+')
                digits.remove_prefix(1);
            const auto result =
                std::from_chars(digits.data(), digits.data() + digits.size(), value.Int);
            if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
                Fail("bad number '" + std::string(digits) + "'");
            if (negative)
                value.Int = -value.Int;
        } else if (c == '$') {
            value.Kind = TLayoutValue::Integer;
            const std::size_t start = ++FPos;
            while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos])))
                ++FPos;
            const auto result =
                std::from_chars(FText.data() + start, FText.data() + FPos, value.Int, 16);
            if (result.ec != std::errc() || FPos == start)
                Fail("bad hexadecimal number");
        } else if (c == '[') {
            value.Kind = TLayoutValue::Set;
            ++FPos;
            SkipSpace();
            while (FPos < FText.size() && FText[FPos] != ']') {
                value.Items.push_back(Name());
                SkipSpace();
                if (FPos < FText.size() && FText[FPos] == ',')
                    ++FPos;
                SkipSpace();
            }
            Expect(']');
        } else if (c == '(') {
            value.Kind = TLayoutValue::StringList;
            ++FPos;
            for (;;) {
                SkipSpace();
                if (FPos >= FText.size())
                    Fail("')' was expected");
                if (FText[FPos] == ')') {
                    ++FPos;
                    break;
                }
                if (FText[FPos] != '\'')
                    Fail("a string was expected in the list");
                value.Items.push_back(QuotedString());
            }
        } else if (c == '<') {
            value.Kind = TLayoutValue::Collection;
            ++FPos;
            for (;;) {
                SkipSpace();
                if (FPos < FText.size() && FText[FPos] == '>') {
                    ++FPos;
                    break;
                }
                if (!PeekWord("item"))
                    Fail("'item' or '>' was expected");
                FPos += 4;
                TLayoutItem item;
                while (!PeekWord("end")) {
                    if (FPos >= FText.size())
                        Fail("'end' of item is missing");
                    item.Properties.push_back(ParseProperty());
                }
                FPos += 3;
                value.Elements.push_back(std::move(item));
            }
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            value.Kind = TLayoutValue::Identifier;
            value.Text = Name();
        } else {
            Fail(std::string("unexpected character '") + c + "'");
        }
        return value;
    }

    std::string_view FText;
    std::size_t FPos = 0;
    int FLine = 1;
};

} // namespace

TLayoutObject ParseLayout(std::string_view text) {
    return Parser(text).ParseRoot();
}

const char* TLayoutValue::KindName() const {
    switch (Kind) {
    case Integer:
        return "an integer";
    case String:
        return "a string";
    case Identifier:
        return "an identifier";
    case Set:
        return "a set";
    case StringList:
        return "a string list";
    case Collection:
        return "a collection";
    }
    return "a value";
}

// =============================================================================================
// Values

namespace {
[[noreturn]] void WrongKind(const TLayoutValue& value, const char* expected) {
    throw ELayoutError(std::string(expected) + " was expected, not " + value.KindName());
}
} // namespace

long long LayoutInt(const TLayoutValue& value) {
    if (value.Kind != TLayoutValue::Integer)
        WrongKind(value, "an integer");
    return value.Int;
}

bool LayoutBool(const TLayoutValue& value) {
    if (value.Kind == TLayoutValue::Identifier) {
        if (SameText(value.Text, "True"))
            return true;
        if (SameText(value.Text, "False"))
            return false;
    }
    WrongKind(value, "True or False");
}

const std::string& LayoutString(const TLayoutValue& value) {
    if (value.Kind != TLayoutValue::String)
        WrongKind(value, "a string");
    return value.Text;
}

const std::string& LayoutIdentifier(const TLayoutValue& value) {
    if (value.Kind != TLayoutValue::Identifier)
        WrongKind(value, "an identifier");
    return value.Text;
}

bool ColorFromIdentifier(std::string_view name, TColor& color) {
    static const std::pair<const char*, TColor> kColors[] = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clNone", clNone},
        {"clDefault", clDefault},
        {"clScrollBar", clScrollBar},
        {"clWindow", clWindow},
        {"clWindowFrame", clWindowFrame},
        {"clWindowText", clWindowText},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clBtnHighlight", clBtnHighlight},
        {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight},
        {"clInfoText", clInfoText},
        {"clInfoBk", clInfoBk},
    };
    for (const auto& [n, c] : kColors)
        if (SameText(name, n)) {
            color = c;
            return true;
        }
    return false;
}

TColor LayoutColor(const TLayoutValue& value) {
    if (value.Kind == TLayoutValue::Integer)
        return static_cast<TColor>(value.Int);
    if (value.Kind == TLayoutValue::Identifier) {
        TColor color;
        if (ColorFromIdentifier(value.Text, color))
            return color;
        throw ELayoutError("'" + value.Text + "' is not a colour");
    }
    WrongKind(value, "a colour");
}

int LayoutCharset(const TLayoutValue& value) {
    if (value.Kind == TLayoutValue::Integer)
        return static_cast<int>(value.Int);
    return LayoutEnum<int>(value, {{"ANSI_CHARSET", ANSI_CHARSET},
                                   {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                   {"HANGEUL_CHARSET", HANGEUL_CHARSET}});
}

unsigned LayoutSet(const TLayoutValue& value,
                   std::initializer_list<std::pair<const char*, unsigned>> names) {
    if (value.Kind != TLayoutValue::Set)
        WrongKind(value, "a set");
    unsigned bits = 0;
    for (const std::string& member : value.Items) {
        bool found = false;
        for (const auto& [name, bit] : names)
            if (member == name) {
                bits |= bit;
                found = true;
            }
        if (!found)
            throw ELayoutError("'" + member + "' is not a member of this set");
    }
    return bits;
}

// =============================================================================================
// Registry

TPropertyRegistry::TClassInfo&
TPropertyRegistry::Register(std::string name, std::string baseName,
                            std::function<TComponent*(TComponent*)> create) {
    TClassInfo& info = FClasses[name];
    info.Name = std::move(name);
    info.BaseName = std::move(baseName);
    info.Create = std::move(create);
    return info;
}

const TPropertyRegistry::TClassInfo* TPropertyRegistry::Find(std::string_view name) const {
    auto it = FClasses.find(name);
    if (it != FClasses.end())
        return &it->second;
    for (const auto& [n, info] : FClasses)
        if (SameText(n, name))
            return &info;
    return nullptr;
}

const TPropertySetter* TPropertyRegistry::FindProperty(std::string_view className,
                                                       std::string_view property) const {
    for (const TClassInfo* info = Find(className); info; info = Find(info->BaseName)) {
        for (const auto& [name, setter] : info->Properties)
            if (SameText(name, property))
                return &setter;
        if (info->BaseName.empty())
            break;
    }
    return nullptr;
}

// =============================================================================================
// Loader

namespace {

struct Loader {
    std::string_view LayoutName;
    const TPropertyRegistry& Registry;
    TLoadContext Context;
    std::vector<TWinControl*> AlignDisabled;

    [[noreturn]] void Fail(const std::string& component, const std::string& property,
                           const std::string& what, int line) {
        std::string where =
            std::string(LayoutName) + ", line " + std::to_string(line) + ": " + component;
        if (!property.empty())
            where += "." + property;
        throw ELayoutError(where + ": " + what);
    }

    void ApplyProperties(TComponent& component, const TLayoutObject& object) {
        for (const TLayoutProperty& p : object.Properties) {
            const TPropertySetter* setter = Registry.FindProperty(object.ClassName, p.Name);
            if (!setter)
                Fail(object.Name, p.Name, "unknown property of " + object.ClassName, p.Value.Line);
            try {
                (*setter)(component, p.Value, Context);
            } catch (const ELayoutError& e) {
                Fail(object.Name, p.Name, e.what(), p.Value.Line);
            } catch (const std::exception& e) {
                Fail(object.Name, p.Name, e.what(), p.Value.Line);
            }
        }
    }

    void LoadChildren(TComponent& parent, const TLayoutObject& object) {
        for (const TLayoutObject& child : object.Children) {
            const TPropertyRegistry::TClassInfo* info = Registry.Find(child.ClassName);
            if (!info || !info->Create)
                Fail(child.Name, "", "unknown class " + child.ClassName, child.Line);
            if (Context.Root.FindComponent(child.Name))
                Fail(child.Name, "", "a component of this name exists already", child.Line);
            TComponent* component = info->Create(&Context.Root);
            component->SetName(child.Name);
            component->BeginLoading();
            if (auto* control = dynamic_cast<TControl*>(component)) {
                auto* parentControl = dynamic_cast<TWinControl*>(&parent);
                if (!parentControl)
                    Fail(child.Name, "", "a control needs a control to lie on", child.Line);
                if (auto* win = dynamic_cast<TWinControl*>(control)) {
                    win->DisableAlign();
                    AlignDisabled.push_back(win);
                }
                // Placed first, so that tab orders apply in stored sequence and inherited
                // fonts and colours are overridden by stored ones, not the other way round.
                control->SetParent(parentControl);
                ApplyProperties(*component, child);
            } else {
                ApplyProperties(*component, child);
            }
            LoadChildren(*component, child);
        }
    }
};

} // namespace

void LoadLayout(TComponent& root, std::string_view layoutName, std::string_view text,
                const TPropertyRegistry& registry, const THandlerTable& handlers) {
    TLayoutObject object;
    try {
        object = ParseLayout(text);
    } catch (const ELayoutError& e) {
        throw ELayoutError(std::string(layoutName) + ", " + e.what());
    }
    Loader loader{layoutName, registry, TLoadContext{handlers, root}, {}};
    if (!registry.Find(object.ClassName))
        loader.Fail(object.Name, "", "unknown class " + object.ClassName, object.Line);
    root.SetName(object.Name);
    root.BeginLoading();
    if (auto* win = dynamic_cast<TWinControl*>(&root)) {
        win->DisableAlign();
        loader.AlignDisabled.push_back(win);
    }
    // Alignment must come back even when the layout is bad, or the form stays frozen.
    struct AlignRestorer {
        Loader& L;
        ~AlignRestorer() {
            for (TWinControl* w : L.AlignDisabled)
                w->EnableAlign();
        }
    } restore{loader};
    loader.ApplyProperties(root, object);
    loader.LoadChildren(root, object);
    root.EndLoading();
}

} // namespace fw
