// An ordered list of strings with name=value access.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TStringList {
public:
    int Count() const { return static_cast<int>(FLines.size()); }
    const std::string& operator[](int index) const;
    const std::string& Strings(int index) const { return (*this)[index]; }
    void SetStrings(int index, std::string value);
    int Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear() { FLines.clear(); }
    int IndexOf(std::string_view line) const;

    // The part before the first "=" (the whole line when it has none).
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    // The first line whose name matches, or -1.
    int IndexOfName(std::string_view name) const;
    // The value of the first line with that name; empty when there is none.
    std::string Values(std::string_view name) const;
    // Replaces the first line with that name, appends one when there is none, and removes it
    // when the value is empty.
    void SetValue(std::string_view name, std::string_view value);

    // Lines joined with CR LF, each one ended.
    std::string Text() const;
    // Splits at CR LF, LF or CR.
    void SetText(std::string_view text);

private:
    void CheckIndex(int index) const;
    std::vector<std::string> FLines;
};

} // namespace fw
