#include "platform/headless/HeadlessText.h"

#include <algorithm>

namespace fw::headless {

namespace {

constexpr int DefaultTextHeight = 11;
constexpr int TabStopChars = 8;

bool IsBold(const TFontDesc& font) {
    return (font.Style & fsBold) != 0;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\u00A0' || c == U'\u3000';
}

// A character after '&' processing.
struct LogicalChar {
    char32_t CodePoint = 0;
    bool Valid = true;
    bool PrefixUnderline = false;
};

// Wide characters are as wide as the text is high, the rest half as wide (rounded up).
int Advance(const TFontDesc& font, bool valid, char32_t codePoint) {
    if (valid && IsWideCodePoint(codePoint))
        return FontTextHeight(font) + (IsBold(font) ? 1 : 0);
    return NarrowAdvance(font);
}

int Advance(const TFontDesc& font, const LogicalChar& c) {
    return Advance(font, c.Valid, c.CodePoint);
}

std::vector<LogicalChar> DecodeAll(std::string_view text, bool prefixes) {
    std::vector<LogicalChar> chars;
    chars.reserve(text.size());
    bool underlineNext = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const DecodedChar d = DecodeUtf8(text, pos);
        pos += d.Length;
        const bool ampersand = prefixes && d.Valid && d.CodePoint == U'&';
        if (ampersand && !underlineNext) {
            underlineNext = true;
            continue;
        }
        // "&&" is a plain '&'.
        chars.push_back({d.CodePoint, d.Valid, underlineNext && !ampersand});
        underlineNext = false;
    }
    return chars;
}

bool IsLineBreak(const LogicalChar& c) {
    return c.Valid && (c.CodePoint == U'\r' || c.CodePoint == U'\n');
}
bool IsTab(const LogicalChar& c) {
    return c.Valid && c.CodePoint == U'\t';
}
bool IsSpace(const LogicalChar& c) {
    return c.Valid && c.CodePoint == U' ';
}

class LineBuilder {
public:
    LineBuilder(const TFontDesc& font, bool expandTabs)
        : font_(font), tabWidth_(TabStopChars * NarrowAdvance(font)), expandTabs_(expandTabs) {}

    // Width of the character when the line so far is `x` wide.
    int AdvanceAt(const LogicalChar& c, int x) const {
        if (expandTabs_ && IsTab(c))
            return tabWidth_ > 0 ? (x / tabWidth_ + 1) * tabWidth_ - x : 0;
        return Advance(font_, c);
    }

    TextLine Build(const std::vector<LogicalChar>& chars, std::size_t begin,
                   std::size_t end) const {
        TextLine line;
        for (std::size_t i = begin; i < end; ++i) {
            const LogicalChar& c = chars[i];
            const int advance = AdvanceAt(c, line.Width);
            const bool gap = (expandTabs_ && IsTab(c)) || (c.Valid && IsBlank(c.CodePoint));
            line.Glyphs.push_back({line.Width, advance, !gap, c.PrefixUnderline});
            line.Width += advance;
        }
        return line;
    }

private:
    const TFontDesc& font_;
    int tabWidth_;
    bool expandTabs_;
};

// Splits [begin, end) into lines no wider than maxWidth where spaces allow it.
void WrapParagraph(const LineBuilder& builder, const std::vector<LogicalChar>& chars,
                   std::size_t begin, std::size_t end, int maxWidth, std::vector<TextLine>& lines) {
    std::size_t lineStart = begin;
    while (true) {
        int x = 0;
        // Where the last run of spaces after some word of this line starts.
        std::size_t breakAt = lineStart;
        std::size_t i = lineStart;
        bool broke = false;
        for (; i < end; ++i) {
            const LogicalChar& c = chars[i];
            const int advance = builder.AdvanceAt(c, x);
            if (IsSpace(c)) {
                if (i > lineStart && !IsSpace(chars[i - 1]))
                    breakAt = i;
            } else if (x + advance > maxWidth && breakAt > lineStart) {
                broke = true;
                break;
            }
            x += advance;
        }
        if (!broke) {
            lines.push_back(builder.Build(chars, lineStart, end));
            return;
        }
        lines.push_back(builder.Build(chars, lineStart, breakAt));
        lineStart = breakAt;
        while (lineStart < end && IsSpace(chars[lineStart]))
            ++lineStart;
    }
}

void AddEndEllipsis(const TFontDesc& font, TextLine& line, int maxWidth) {
    if (line.Width <= maxWidth)
        return;
    const int dot = Advance(font, {U'.', true, false});
    while (!line.Glyphs.empty() &&
           line.Glyphs.back().X + line.Glyphs.back().Advance + 3 * dot > maxWidth)
        line.Glyphs.pop_back();
    int x = line.Glyphs.empty() ? 0 : line.Glyphs.back().X + line.Glyphs.back().Advance;
    for (int i = 0; i < 3; ++i) {
        line.Glyphs.push_back({x, dot, true, false});
        x += dot;
    }
    line.Width = x;
}

} // namespace

int FontTextHeight(const TFontDesc& font) {
    if (font.Height == 0)
        return DefaultTextHeight;
    return font.Height < 0 ? -font.Height : font.Height;
}

int NarrowAdvance(const TFontDesc& font) {
    return (FontTextHeight(font) + 1) / 2 + (IsBold(font) ? 1 : 0);
}

bool IsWideCodePoint(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

DecodedChar DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const DecodedChar invalid{lead, 1, false};
    if (lead < 0x80)
        return {lead, 1, true};
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return invalid;
    }
    if (text.size() - pos < length)
        return invalid;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return invalid;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return invalid;
    return {value, length, true};
}

int PlainTextWidth(const TFontDesc& font, std::string_view text) {
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const DecodedChar d = DecodeUtf8(text, pos);
        pos += d.Length;
        width += Advance(font, d.Valid, d.CodePoint);
    }
    return width;
}

TextLine LayoutPlainText(const TFontDesc& font, std::string_view text) {
    const std::vector<LogicalChar> chars = DecodeAll(text, false);
    return LineBuilder(font, false).Build(chars, 0, chars.size());
}

std::vector<TextLine> LayoutFormattedText(const TFontDesc& font, std::string_view text,
                                          unsigned format, int maxWidth) {
    const bool singleLine = (format & DT::SingleLine) != 0;
    const bool wordBreak = (format & DT::WordBreak) != 0 && !singleLine;
    const std::vector<LogicalChar> chars = DecodeAll(text, (format & DT::NoPrefix) == 0);
    const LineBuilder builder(font, (format & DT::ExpandTabs) != 0);

    std::vector<TextLine> lines;
    if (chars.empty())
        return lines;
    const auto addParagraph = [&](std::size_t begin, std::size_t end) {
        if (wordBreak)
            WrapParagraph(builder, chars, begin, end, maxWidth, lines);
        else
            lines.push_back(builder.Build(chars, begin, end));
    };
    if (singleLine) {
        addParagraph(0, chars.size());
    } else {
        std::size_t begin = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            if (!IsLineBreak(chars[i]))
                continue;
            addParagraph(begin, i);
            if (chars[i].CodePoint == U'\r' && i + 1 < chars.size() && chars[i + 1].Valid &&
                chars[i + 1].CodePoint == U'\n')
                ++i;
            begin = i + 1;
        }
        if (begin < chars.size())
            addParagraph(begin, chars.size());
    }
    if ((format & DT::EndEllipsis) != 0)
        for (TextLine& line : lines)
            AddEndEllipsis(font, line, maxWidth);
    return lines;
}

} // namespace fw::headless
