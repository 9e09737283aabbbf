// The headless platform's locale: fixed, so that sorting and upper-casing are the same on every
// machine.
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessText.h"

namespace fw::headless {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSmallLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

char32_t Upper(char32_t c) {
    return IsSmallLetter(c) ? c - 0x20 : c;
}

// The next character of `text` from `pos`, moving `pos` past it.
char32_t Next(std::string_view text, std::size_t& pos) {
    const DecodedChar c = DecodeUtf8(text, pos);
    pos += c.Length;
    return c.Valid ? c.CodePoint : kReplacement;
}

} // namespace

int HeadlessPlatform::CompareTextLocale(std::string_view a, std::string_view b) const {
    std::size_t i = 0;
    std::size_t j = 0;
    int caseOrder = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = Next(a, i);
        const char32_t y = Next(b, j);
        if (Upper(x) != Upper(y))
            return Upper(x) < Upper(y) ? -1 : 1;
        if (caseOrder == 0 && x != y)
            caseOrder = IsSmallLetter(x) ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return caseOrder;
}

std::string HeadlessPlatform::UpperCaseLocale(std::string_view text) const {
    std::string upper(text);
    for (std::size_t pos = 0; pos < upper.size();) {
        const DecodedChar c = DecodeUtf8(upper, pos);
        if (c.Valid && IsSmallLetter(c.CodePoint)) {
            // Both ranges keep their encoded length: a-z one byte, U+00E0.. two (C3 xx).
            upper[pos + c.Length - 1] = static_cast<char>(upper[pos + c.Length - 1] - 0x20);
        }
        pos += c.Length;
    }
    return upper;
}

std::uintptr_t HeadlessPlatform::ShowCursorNow(TCursor cursor) {
    const TCursor previous = FCursor;
    FCursor = cursor;
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(previous));
}

void HeadlessPlatform::RestoreShownCursor(std::uintptr_t previous) {
    FCursor = static_cast<TCursor>(static_cast<std::intptr_t>(previous));
}

} // namespace fw::headless
