#include "platform/win32/Win32Api.h"

#include <climits>

namespace fw::win32 {

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > std::size_t(INT_MAX))
        return {};
    const int inputLength = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(std::size_t(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, wide.data(), needed);
    return wide;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > std::size_t(INT_MAX))
        return {};
    const int inputLength = static_cast<int>(utf16.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inputLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string narrow(std::size_t(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inputLength, narrow.data(), needed, nullptr,
                        nullptr);
    return narrow;
}

std::string NarrowPrefix(std::wstring_view utf16, int maxChars) {
    if (maxChars <= 0)
        return {};
    std::size_t end = 0;
    int chars = 0;
    while (end < utf16.size() && chars < maxChars) {
        if (IsHighSurrogate(utf16[end])) {
            // A truncated buffer may end in the first half of a pair: leave it out.
            if (end + 1 >= utf16.size())
                break;
            end += IsLowSurrogate(utf16[end + 1]) ? 2 : 1;
        } else {
            ++end;
        }
        ++chars;
    }
    return Narrow(utf16.substr(0, end));
}

void ReportToDebugger(std::string_view what) {
    const std::wstring text = L"Varnel: " + Widen(what) + L"\n";
    OutputDebugStringW(text.c_str());
}

} // namespace fw::win32
