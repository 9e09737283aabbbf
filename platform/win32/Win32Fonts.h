// Fonts by description, created once and kept for the platform's lifetime.
#pragma once

#include "platform/win32/Win32Handles.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace fw::win32 {

class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Never null: a face the system lacks is replaced by a close one.
    HFONT Get(const TFontDesc& desc);

    // The face a description resolves to; empty means "left to the font mapper".
    std::wstring ResolveFace(const std::string& requestedFace, int charset);

private:
    bool FaceExists(const std::wstring& face, int charset);

    using Key = std::tuple<std::string, int, int, TFontStyles>;
    std::map<Key, UniqueFont> fonts_;
    std::map<std::pair<std::wstring, int>, bool> knownFaces_;
};

} // namespace fw::win32
