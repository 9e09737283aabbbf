// The user's default locale for sorting: wide-character comparison and upper-casing of UTF-8
// texts.
#include "platform/win32/Win32Platform.h"

#include <climits>

namespace fw::win32 {

namespace {

// The byte order, for texts the locale cannot take (too long to measure in an int).
int CompareBytes(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

int Win32Platform::CompareTextLocale(std::string_view a, std::string_view b) const {
    const std::wstring wa = Widen(a);
    const std::wstring wb = Widen(b);
    if (wa.size() > std::size_t(INT_MAX) || wb.size() > std::size_t(INT_MAX))
        return CompareBytes(a, b);
    const int result =
        CompareStringW(LOCALE_USER_DEFAULT, 0, wa.data(), static_cast<int>(wa.size()), wb.data(),
                       static_cast<int>(wb.size()));
    if (result == 0)
        return CompareBytes(a, b);
    return result - CSTR_EQUAL;
}

std::string Win32Platform::UpperCaseLocale(std::string_view text) const {
    std::wstring wide = Widen(text);
    if (wide.empty() || wide.size() > std::size_t(INT_MAX))
        return std::string(text);
    const int length = static_cast<int>(wide.size());
    const int needed =
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::string(text);
    std::wstring upper(std::size_t(needed), L'\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide.data(), length, upper.data(), needed);
    return Narrow(upper);
}

} // namespace fw::win32
