#include "framework/StringList.h"

#include "framework/Types.h"

namespace fw {

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
}

const std::string& TStringList::operator[](int index) const {
    CheckIndex(index);
    return FLines[static_cast<std::size_t>(index)];
}

void TStringList::SetStrings(int index, std::string value) {
    CheckIndex(index);
    FLines[static_cast<std::size_t>(index)] = std::move(value);
}

int TStringList::Add(std::string line) {
    FLines.push_back(std::move(line));
    return Count() - 1;
}

void TStringList::Insert(int index, std::string line) {
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    FLines.insert(FLines.begin() + index, std::move(line));
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    FLines.erase(FLines.begin() + index);
}

int TStringList::IndexOf(std::string_view line) const {
    for (int i = 0; i < Count(); ++i)
        if (FLines[static_cast<std::size_t>(i)] == line)
            return i;
    return -1;
}

std::string TStringList::Names(int index) const {
    const std::string& line = (*this)[index];
    const auto eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
    const std::string& line = (*this)[index];
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStringList::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& line = FLines[static_cast<std::size_t>(i)];
        const auto eq = line.find('=');
        if (eq != std::string::npos && std::string_view(line).substr(0, eq) == name)
            return i;
    }
    return -1;
}

std::string TStringList::Values(std::string_view name) const {
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
    const int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    std::string line = std::string(name) + "=" + std::string(value);
    if (i >= 0)
        FLines[static_cast<std::size_t>(i)] = std::move(line);
    else
        Add(std::move(line));
}

std::string TStringList::Text() const {
    std::string text;
    for (const std::string& line : FLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(std::string_view text) {
    FLines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        FLines.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r')
            ++end;
        if (end < text.size() && text[end] == '\n')
            ++end;
        start = end;
    }
}

} // namespace fw
