// Stored layouts: a form and its components described as text, loaded through a registry of
// classes and their published properties. A layout holds only what differs from the
// defaults of the classes.
//
//   object fMain: TMainForm            -- the root: the component being loaded
//     Caption = 'Title'                -- strings are UTF-8 between quotes ('' is a quote)
//     Font.Height = -12                -- integers; dotted names reach sub-properties
//     BorderIcons = [biSystemMenu]     -- sets
//     Color = clBtnFace                -- identifiers (enumerations, colours, True/False)
//     OnCreate = FormCreate            -- events name a handler of the root
//     Lines = ('one' 'two')            -- string lists
//     Items = <                        -- collections: one property list per item
//       item
//         Caption = 'x'
//       end>
//     object Panel1: TPanel            -- owned by the root, parented by the enclosing control
//     end
//   end
#pragma once

#include "framework/Component.h"
#include "framework/Types.h"

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class ELayoutError : public Exception {
public:
    using Exception::Exception;
};

struct TLayoutItem;

struct TLayoutValue {
    enum TKind { Integer, String, Identifier, Set, StringList, Collection };
    TKind Kind = Integer;
    long long Int = 0;
    std::string Text;                  // String, Identifier
    std::vector<std::string> Items;    // Set members, StringList lines
    std::vector<TLayoutItem> Elements; // Collection items
    int Line = 0;

    const char* KindName() const;
};

struct TLayoutProperty {
    std::string Name;
    TLayoutValue Value;
};

struct TLayoutItem {
    std::vector<TLayoutProperty> Properties;
};

struct TLayoutObject {
    std::string Name;
    std::string ClassName;
    std::vector<TLayoutProperty> Properties;
    std::vector<TLayoutObject> Children;
    int Line = 0;
};

// Parses layout text; errors name the line.
TLayoutObject ParseLayout(std::string_view text);

class TLayoutLoader;

// Event handlers of the root, by name, each stored as its event type.
class THandlerTable {
public:
    template <class TEvent> void Add(std::string name, TEvent handler) {
        FHandlers[std::move(name)] = std::any(std::move(handler));
    }
    // Throws when the name is unknown or the handler has another type.
    template <class TEvent> TEvent Get(const std::string& name, const char* eventTypeName) const {
        auto it = FHandlers.find(name);
        if (it == FHandlers.end())
            throw ELayoutError("unknown event handler '" + name + "'");
        if (const TEvent* handler = std::any_cast<TEvent>(&it->second))
            return *handler;
        throw ELayoutError("handler '" + name + "' does not fit an event of type " + eventTypeName);
    }

private:
    std::map<std::string, std::any> FHandlers;
};

// What a property setter gets besides the value.
struct TLoadContext {
    const THandlerTable& Handlers;
    TComponent& Root;
};

using TPropertySetter = std::function<void(TComponent&, const TLayoutValue&, TLoadContext&)>;

// Published classes: how to create them and how to set each of their properties.
class TPropertyRegistry {
public:
    struct TClassInfo {
        std::string Name;
        std::string BaseName;
        std::function<TComponent*(TComponent* owner)> Create;
        std::map<std::string, TPropertySetter> Properties;
    };

    // Registers a class; `create` may be empty for classes that are only loaded as roots.
    TClassInfo& Register(std::string name, std::string baseName,
                         std::function<TComponent*(TComponent*)> create = {});
    const TClassInfo* Find(std::string_view name) const;
    // The setter of a property of the class or of one of its bases (names ignore case).
    const TPropertySetter* FindProperty(std::string_view className,
                                        std::string_view property) const;

private:
    std::map<std::string, TClassInfo, std::less<>> FClasses;
};

// Value readers for setters; each throws ELayoutError naming what it expected.
long long LayoutInt(const TLayoutValue& value);
bool LayoutBool(const TLayoutValue& value);
const std::string& LayoutString(const TLayoutValue& value);
const std::string& LayoutIdentifier(const TLayoutValue& value);
TColor LayoutColor(const TLayoutValue& value);
int LayoutCharset(const TLayoutValue& value);
template <class TEnum>
TEnum LayoutEnum(const TLayoutValue& value,
                 const std::vector<std::pair<const char*, TEnum>>& names) {
    const std::string& id = LayoutIdentifier(value);
    for (const auto& [name, v] : names)
        if (id == name)
            return v;
    throw ELayoutError("'" + id + "' is not a valid value");
}
// Members of a set value, each looked up in `names` and or-ed together.
unsigned LayoutSet(const TLayoutValue& value,
                   std::initializer_list<std::pair<const char*, unsigned>> names);

// Colour identifiers: clBlack ... clWhite, system colours (clBtnFace ...), clNone, clDefault.
bool ColorFromIdentifier(std::string_view name, TColor& color);

// Loads a layout into an existing root component. Child objects are created through the
// registry, owned by the root and parented by the enclosing control; alignment waits until
// everything is loaded, then Loaded runs on every component. Errors name the layout, the
// component and the property.
void LoadLayout(TComponent& root, std::string_view layoutName, std::string_view text,
                const TPropertyRegistry& registry, const THandlerTable& handlers);

} // namespace fw
