// Registration of published classes and properties for stored layouts.
#pragma once

#include "framework/Layout.h"
#include "framework/Platform.h"

#include <string>
#include <type_traits>
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
    // The setters below may be members of any base of T (a property declared by a base
    // class); the object is taken as that base before the call.
    template <class TBase, class TArg>
    TClassBuilder& Int(const char* name, void (TBase::*setter)(TArg)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (AsBase<TBase>(t).*setter)(static_cast<TArg>(LayoutInt(v)));
        });
    }
    template <class TBase> TClassBuilder& Bool(const char* name, void (TBase::*setter)(bool)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (AsBase<TBase>(t).*setter)(LayoutBool(v));
        });
    }
    template <class TBase> TClassBuilder& Color(const char* name, void (TBase::*setter)(TColor)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (AsBase<TBase>(t).*setter)(LayoutColor(v));
        });
    }
    template <class TBase>
    TClassBuilder& String(const char* name, void (TBase::*setter)(std::string)) {
        return Custom(name, [setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (AsBase<TBase>(t).*setter)(LayoutString(v));
        });
    }
    template <class E, class TBase>
    TClassBuilder& Enum(const char* name, std::vector<std::pair<const char*, E>> names,
                        void (TBase::*setter)(E)) {
        return Custom(name, [names, setter](T& t, const TLayoutValue& v, TLoadContext&) {
            (AsBase<TBase>(t).*setter)(LayoutEnum<E>(v, names));
        });
    }
    template <class TEvent>
    TClassBuilder& Event(const char* name, TEvent T::*member, const char* typeName) {
        return Custom(name, [member, typeName](T& t, const TLayoutValue& v, TLoadContext& ctx) {
            t.*member = ctx.Handlers.Get<TEvent>(LayoutIdentifier(v), typeName);
        });
    }

private:
    template <class TBase> static TBase& AsBase(T& t) {
        static_assert(std::is_base_of_v<TBase, T>, "the setter is not a member of T or a base");
        return t;
    }
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
