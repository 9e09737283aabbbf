#include "platform/win32/Win32Fonts.h"

#include <array>
#include <cwchar>

namespace fw::win32 {

namespace {

// Faces tried, in order, when the one asked for is not installed. The program's forms ask for
// Korean faces that a system without the Korean font pack (or Wine) does not have; these are
// the same families under other names, or the closest families commonly installed.
constexpr std::array<const wchar_t*, 9> kFallbackFaces = {
    L"New Gulim",        L"Gulim",         L"굴림",
    L"NanumGothic",      L"Nanum Gothic",  L"Malgun Gothic",
    L"Noto Sans CJK KR", L"Baekmuk Gulim", L"UnDotum"};

int CALLBACK StopAtFirstFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

} // namespace

bool FontCache::FaceExists(const std::wstring& face, int charset) {
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    const auto key = std::make_pair(face, charset);
    if (const auto known = knownFaces_.find(key); known != knownFaces_.end())
        return known->second;

    LOGFONTW query{};
    query.lfCharSet = static_cast<BYTE>(charset);
    wcsncpy(query.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    ScreenDc screen;
    EnumFontFamiliesExW(screen.Get(), &query, StopAtFirstFace, reinterpret_cast<LPARAM>(&found), 0);
    knownFaces_.emplace(key, found);
    return found;
}

std::wstring FontCache::ResolveFace(const std::string& requestedFace, int charset) {
    const std::wstring requested = Widen(requestedFace);
    if (requested.empty() || FaceExists(requested, charset))
        return requested;
    for (const wchar_t* candidate : kFallbackFaces) {
        if (FaceExists(candidate, charset))
            return candidate;
    }
    return {};
}

HFONT FontCache::Get(const TFontDesc& desc) {
    Key key{desc.Name, desc.Height, desc.Charset, desc.Style};
    if (const auto cached = fonts_.find(key); cached != fonts_.end())
        return cached->second.get();

    LOGFONTW font{};
    font.lfHeight = desc.Height;
    font.lfWeight = (desc.Style & fsBold) != 0 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (desc.Style & fsItalic) != 0;
    font.lfUnderline = (desc.Style & fsUnderline) != 0;
    font.lfStrikeOut = (desc.Style & fsStrikeOut) != 0;
    font.lfCharSet = static_cast<BYTE>(desc.Charset);
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = ResolveFace(desc.Name, desc.Charset);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    UniqueFont created(CreateFontIndirectW(&font));
    if (!created)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HFONT handle = created.get();
    fonts_.emplace(std::move(key), std::move(created));
    return handle;
}

} // namespace fw::win32
