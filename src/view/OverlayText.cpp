// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 lines drawn in the bitmap fonts: one decoder walks the line as runs of
// glyphs and drawn dashes, for its width and for drawing it.
#include "view/OverlayText.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::uint32_t EN_DASH = 0x2013;
constexpr std::uint32_t EM_DASH = 0x2014;
constexpr unsigned char UNKNOWN = '?';

// The code point starting at text[at], stepping at past it; a byte that
// starts no well-formed character reads as UNKNOWN on its own.
std::uint32_t nextCharacter(const std::string& text, std::size_t& at)
{
    const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
    const unsigned char lead = byte(at++);
    const int more = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc0 ? 1 : 0;
    if (lead < 0x80) {
        return lead;
    }
    if (more == 0 || at + more > text.size()) {
        return UNKNOWN;
    }
    std::uint32_t codePoint = lead & (0x3fu >> more);
    for (int next = 0; next < more; ++next) {
        if ((byte(at + next) & 0xc0u) != 0x80u) {
            return UNKNOWN;
        }
        codePoint = (codePoint << 6) | (byte(at + next) & 0x3fu);
    }
    at += more;
    return codePoint;
}

// What the font draws for a character: its Latin-1 glyph, UNKNOWN for one it
// has not, 0 for a dash drawn as a line.
unsigned char glyphOf(std::uint32_t codePoint)
{
    if (codePoint == EN_DASH || codePoint == EM_DASH) {
        return 0;
    }
    const bool drawable = (codePoint >= 0x20 && codePoint < 0x7f) || (codePoint >= 0xa0 && codePoint <= 0xff);
    return drawable ? static_cast<unsigned char>(codePoint) : UNKNOWN;
}

// A dash is as wide as the letter it is named after.
int dashWidth(void* font, std::uint32_t dash)
{
    return glutBitmapWidth(font, dash == EM_DASH ? 'M' : 'n');
}

// Walks the line: glyph(x, byte) for each glyph, dash(x, width) for each
// dash; returns the line's width.
template <typename Glyph, typename Dash>
int walk(void* font, const std::string& text, Glyph glyph, Dash dash)
{
    int x = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::uint32_t codePoint = nextCharacter(text, at);
        const unsigned char shown = glyphOf(codePoint);
        if (shown == 0) {
            const int width = dashWidth(font, codePoint);
            dash(x, width);
            x += width;
        } else {
            glyph(x, shown);
            x += glutBitmapWidth(font, shown);
        }
    }
    return x;
}

} // namespace

int OverlayText::width(void* font, const std::string& utf8)
{
    return walk(font, utf8, [](int, unsigned char) {}, [](int, int) {});
}

void OverlayText::draw(int left, int baseline, void* font, const std::string& utf8)
{
    // A dash sits at the middle of the small letters, thicker in large fonts.
    const int height = glutBitmapHeight(font);
    const int thickness = height >= 18 ? 2 : 1;
    const int middle = baseline - std::max(height * 3 / 10, 4);
    glRasterPos2i(left, baseline);
    walk(
        font, utf8, [font](int, unsigned char shown) { glutBitmapCharacter(font, shown); },
        [&](int x, int width) {
            glRecti(left + x + 1, middle - thickness / 2, left + x + width - 1, middle - thickness / 2 + thickness);
            // The raster position moves on over the drawn dash.
            glBitmap(0, 0, 0, 0, static_cast<float>(width), 0, nullptr);
        });
}
