// Fixed font metrics and text layout of the headless platform. Every font, whatever its name
// or character set, measures and draws alike, so tests can compute text pixels by hand:
//
// - Text height: -Height for a negative height (character height), Height for a positive one
//   (cell height); a height of 0 means the default 11. A font of height -12 measures "Wg" as
//   12 pixels high.
// - Advance per character (per UTF-8 code point): (text height + 1) / 2 for narrow characters,
//   the text height for East-Asian wide ones (U+1100–115F, U+2E80–A4CF, U+AC00–D7A3,
//   U+F900–FAFF, U+FE30–FE4F, U+FF00–FF60, U+FFE0–FFE6, U+20000 and above). Bold adds 1.
//   A byte that does not start a valid UTF-8 sequence is one narrow character.
// - Glyphs: each character except the blanks U+0020, U+00A0 and U+3000 is a box filled in the
//   text colour from (left + 1, top + 2) to (left + advance - 1, top + height - 2), right and
//   bottom exclusive. Underline (font style or '&' prefix) is the row top + height - 1 across
//   the advance; strike-out is the row top + height / 2 across the advance. Italic changes
//   nothing.
// - Formatted text (DrawText): tabs with DT::ExpandTabs advance to the next multiple of
//   8 narrow advances from the line's left; without it a tab is an ordinary character. Lines
//   break at CR, LF and CR LF unless DT::SingleLine (then those are ordinary characters).
//   DT::WordBreak breaks at runs of spaces, which are dropped at the break; a word wider than
//   the line stays whole. Unless DT::NoPrefix, "&x" shows x underlined, "&&" one '&', and a
//   '&' at the very end nothing. DT::EndEllipsis cuts every line wider than the rectangle at
//   the end and appends "..." (three narrow '.'), keeping at least the "...".
#pragma once

#include "framework/Platform.h"

#include <string_view>
#include <vector>

namespace fw::headless {

int FontTextHeight(const TFontDesc& font);
int NarrowAdvance(const TFontDesc& font);
bool IsWideCodePoint(char32_t codePoint);

struct DecodedChar {
    char32_t CodePoint = 0;
    std::size_t Length = 1;
    // False for a byte that starts no valid sequence (overlong, surrogate, out of range,
    // truncated or a stray continuation byte); it stands for itself.
    bool Valid = true;
};
// The character starting at `pos` (< text.size()).
DecodedChar DecodeUtf8(std::string_view text, std::size_t pos);

// One character cell of a laid-out line; X counts from the line's left.
struct PlacedGlyph {
    int X = 0;
    int Advance = 0;
    // Drawn as a box (false for blanks and tab gaps).
    bool Ink = true;
    // Underlined by a '&' prefix.
    bool PrefixUnderline = false;
};

struct TextLine {
    std::vector<PlacedGlyph> Glyphs;
    int Width = 0;
};

// Every character as it is (TextOut); its width alone, without placing glyphs (TextExtent).
TextLine LayoutPlainText(const TFontDesc& font, std::string_view text);
int PlainTextWidth(const TFontDesc& font, std::string_view text);
// DrawText's lines; `maxWidth` is the rectangle's width for word breaks and ellipses.
std::vector<TextLine> LayoutFormattedText(const TFontDesc& font, std::string_view text,
                                          unsigned format, int maxWidth);

} // namespace fw::headless
