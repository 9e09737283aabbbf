// Registration of published classes and properties for stored layouts.
#pragma once

#include "framework/Layout.h"
#include "framework/Platform.h"

#include <string>
#include <utility>
#include <vector>

namespace fw {

// Declares the published properties of one class.
template <class T> class TClassBuilder {
public:
    explicit TClassBuilder(TPropertyRegistry::TClassInfo& info) : FInfo(info) {}

    using TCustomSetter = std::function<void(T&, const TLayoutValue&, TLoadContext&)>;
    TClassBuilder& Custom(const char* name, TCustomSetter setter) {
        FInfo.Properties[name] = [setter](TComponent& c, const TLayoutValue& v, TLoadContext& ctx) {
            setter(dynamic_cast<T&>(c), v, ctx);
        };
        return *this;
    }
    template <class TArg> TClassBuilder& Int(const char* name, void (T::*setter)(TArg)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (t.*setter)(static_cast<TArg>(LayoutInt(v)));
        });
    }
    TClassBuilder& Bool(const char* name, void (T::*setter)(bool)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (t.*setter)(LayoutBool(v));
        });
    }
    TClassBuilder& Color(const char* name, void (T::*setter)(TColor)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (t.*setter)(LayoutColor(v));
        });
    }
    TClassBuilder& String(const char* name, void (T::*setter)(std::string)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (t.*setter)(LayoutString(v));
        });
    }
    template <class E>
    TClassBuilder& Enum(const char* name, std::vector<std::pair<const char*, E>> names,
                        void (T::*setter)(E)) {
        return Custom(name, [names, setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (t.*setter)(LayoutEnum<E>(v, names));
        });
    }
    template <class TEvent>
    TClassBuilder& Event(const char* name, TEvent T::*member, const char* typeName) {
        return Custom(name, [member, typeName](T& t, const TLayoutValue& v, TLoadContext& ctx) {
            t.*member = ctx.Handlers.Get<TEvent>(LayoutIdentifier(v), typeName);
        });
    }

private:
    TPropertyRegistry::TClassInfo& FInfo;
};

template <class T>
TClassBuilder<T> RegisterComponentClass(TPropertyRegistry& registry, std::string name,
                                        std::string baseName) {
    return TClassBuilder<T>(registry.Register(std::move(name), std::move(baseName),
                                              [](TComponent* owner) { return new T(owner); }));
}

// A class loaded only as a root (it is never created by a layout).
template <class T>
TClassBuilder<T> RegisterRootClass(TPropertyRegistry& registry, std::string name,
                                   std::string baseName) {
    return TClassBuilder<T>(registry.Register(std::move(name), std::move(baseName)));
}

// TControl, TWinControl, TCustomControl, TForm, TPanel, TImageList, TPopupMenu, TTimer.
void RegisterStandardClasses(TPropertyRegistry& registry);

// A picture from rows of characters: each character is a palette entry, given as
// "c=BBGGRR" (hexadecimal 0x00BBGGRR colour) or "c" alone for a transparent pixel,
// separated by spaces.
TPixelImage PictureFromRows(std::string_view palette, const std::vector<std::string>& rows);
// A picture stored as an item with a Palette and Rows (see PictureFromRows).
TPixelImage LayoutPicture(const TLayoutItem& item);
// A property holding one such picture: "Glyph = < item Palette = ... Rows = (...) end >".
TPixelImage LayoutSinglePicture(const TLayoutValue& value);

} // namespace fw
