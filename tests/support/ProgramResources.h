// The program's resources as the resource script names them, read from the source tree: tests
// give them to the headless platform, so they draw with the pictures Varnel.exe carries.
#pragma once

#include "framework/Platform.h"
#include "tests/support/SourceFile.h"

#include <cstdint>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

struct ScriptResource {
    std::string Name;
    std::string Type; // BITMAP, CURSOR, WAV, ...
    std::string File; // relative to the source tree's root
};

// Every "NAME TYPE "file"" line of resources/Varnel.rc.
inline std::vector<ScriptResource> ResourceScriptEntries() {
    std::istringstream script(ReadSourceFile("resources/Varnel.rc"));
    const std::regex line(R"(^\s*(\w+)\s+(\w+)\s+"([^"]+)\"\s*$)");
    std::vector<ScriptResource> entries;
    for (std::string text; std::getline(script, text);) {
        std::smatch match;
        if (std::regex_match(text, match, line))
            entries.push_back({match[1], match[2], "resources/" + match[3].str()});
    }
    return entries;
}

// An uncompressed BMP file of 4, 8 or 24 bits per pixel, every pixel opaque.
inline fw::TPixelImage DecodeBmp(const std::string& bytes) {
    const auto u16 = [&](std::size_t at) {
        return unsigned(std::uint8_t(bytes.at(at))) | unsigned(std::uint8_t(bytes.at(at + 1))) << 8;
    };
    const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        throw std::runtime_error("not a BMP file");
    const std::size_t pixelsAt = u32(10);
    const std::size_t headerSize = u32(14);
    const int width = int(u32(18));
    const int rawHeight = int(u32(22));
    const unsigned bits = u16(28);
    if (u32(30) != 0 || (bits != 4 && bits != 8 && bits != 24))
        throw std::runtime_error("unsupported BMP: " + std::to_string(bits) + " bits");
    const std::size_t colours = u32(46) ? u32(46) : (bits <= 8 ? 1u << bits : 0u);
    const auto paletteEntry = [&](unsigned index) {
        const std::size_t at = 14 + headerSize + 4 * std::size_t(index);
        if (index >= colours)
            throw std::runtime_error("BMP pixel outside its palette");
        return fw::RGB(std::uint8_t(bytes.at(at + 2)), std::uint8_t(bytes.at(at + 1)),
                       std::uint8_t(bytes.at(at)));
    };
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const std::size_t rowBytes = ((std::size_t(width) * bits + 31) / 32) * 4;
    fw::TPixelImage image = fw::TPixelImage::Blank(width, height);
    for (int y = 0; y < height; ++y) {
        const int fileRow = rawHeight < 0 ? y : height - 1 - y;
        const std::size_t row = pixelsAt + std::size_t(fileRow) * rowBytes;
        for (int x = 0; x < width; ++x) {
            fw::TColorRef colour = 0;
            if (bits == 24) {
                const std::size_t at = row + 3 * std::size_t(x);
                colour = fw::RGB(std::uint8_t(bytes.at(at + 2)), std::uint8_t(bytes.at(at + 1)),
                                 std::uint8_t(bytes.at(at)));
            } else if (bits == 8) {
                colour = paletteEntry(std::uint8_t(bytes.at(row + std::size_t(x))));
            } else {
                const auto pair = std::uint8_t(bytes.at(row + std::size_t(x) / 2));
                colour = paletteEntry(x % 2 == 0 ? pair >> 4 : pair & 0x0F);
            }
            image.Set(x, y, fw::Opaque(colour));
        }
    }
    return image;
}

} // namespace testing_support
