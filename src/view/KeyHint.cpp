// SPDX-License-Identifier: GPL-3.0-or-later
// The key hint under the picture: plain text in a bitmap font, with the four
// arrows and the dash drawn as lines where the font has no glyph for them.
#include "view/KeyHint.h"

#include <GL/freeglut.h>

#include <algorithm>

#include "view/BitmapText.h"
#include "view/OverlayDrawState.h"
#include "view/PlayingAids.h"
#include "view/ViewOverlay.h"

namespace {

void* const FONT = GLUT_BITMAP_HELVETICA_12;
// Pixels: the arrows' and the dash's reach from their middle, the arrows'
// heads, their middle above the baseline.
constexpr int REACH = 4;
constexpr int DASH_REACH = 3;
constexpr int HEAD = 3;
constexpr int MIDDLE = 4;
constexpr int TEXT_HEIGHT = 12; // of the font, above the baseline
constexpr int BAND_PADDING = 4;

// The drawn glyphs, by their UTF-8 bytes: an arrow's direction in window
// pixels (y down), or none for the dash; and the pixels each takes.
struct DrawnGlyph {
    const char* bytes;
    int dx;
    int dy;
    int advance;
};
constexpr DrawnGlyph DRAWN[] = {{"\u2190", -1, 0, 11}, {"\u2192", 1, 0, 11}, {"\u2191", 0, -1, 9},
                                {"\u2193", 0, 1, 9},   {"\u2013", 0, 0, 8}};

const DrawnGlyph* drawnAt(const std::string& text, std::size_t at)
{
    for (const DrawnGlyph& glyph : DRAWN) {
        if (text.compare(at, std::char_traits<char>::length(glyph.bytes), glyph.bytes) == 0) {
            return &glyph;
        }
    }
    return nullptr;
}

// Draws one glyph with its box's left edge at left; x, y: its middle.
void drawGlyph(const DrawnGlyph& glyph, int left, int baseline)
{
    const float x = static_cast<float>(left + glyph.advance / 2) + 0.5f;
    const float y = static_cast<float>(baseline - MIDDLE) + 0.5f;
    glBegin(GL_LINES);
    if (glyph.dx == 0 && glyph.dy == 0) {
        glVertex2f(x - DASH_REACH, y);
        glVertex2f(x + DASH_REACH, y);
        glEnd();
        return;
    }
    const float tipX = x + glyph.dx * REACH;
    const float tipY = y + glyph.dy * REACH;
    glVertex2f(x - glyph.dx * REACH, y - glyph.dy * REACH);
    glVertex2f(tipX, tipY);
    // The head's two strokes go back from the tip, one to each side.
    for (int side : {-1, 1}) {
        glVertex2f(tipX, tipY);
        glVertex2f(tipX - glyph.dx * HEAD + glyph.dy * side * HEAD, tipY - glyph.dy * HEAD + glyph.dx * side * HEAD);
    }
    glEnd();
}

// Walks text as runs of plain characters and drawn glyphs; returns its width.
template <typename Plain, typename Drawn>
int walk(const std::string& text, Plain plain, Drawn drawn)
{
    int x = 0;
    std::string run;
    for (std::size_t at = 0; at < text.size();) {
        const DrawnGlyph* glyph = drawnAt(text, at);
        if (glyph == nullptr) {
            run += text[at++];
            continue;
        }
        plain(x, run);
        x += BitmapText::width(FONT, run);
        run.clear();
        drawn(x, *glyph);
        x += glyph->advance;
        at += std::char_traits<char>::length(glyph->bytes);
    }
    plain(x, run);
    return x + BitmapText::width(FONT, run);
}

} // namespace

const std::string KeyHint::TEXT =
    "\u2190\u2192 turn  \u2191\u2193 raise  PgUp/PgDn power  Shift fine  1\u20134 spell  Enter cast  t sight  F2 new game";

KeyHint::KeyHint(const PlayingAids& aids, const ViewOverlay& overlay)
    : aids(aids), overlay(overlay), humanTurn(false)
{
}

void KeyHint::setHumanTurn(bool human)
{
    humanTurn = human;
}

std::string KeyHint::line() const
{
    return humanTurn && aids.areAidsShown() && aids.isTurnWaiting() ? TEXT : "";
}

void KeyHint::display() const
{
    const std::string text = line();
    if (text.empty()) {
        return;
    }
    const OverlayDrawState state;
    const int width = walk(text, [](int, const std::string&) {}, [](int, const DrawnGlyph&) {});
    const int left = std::max((overlay.getWindowWidth() - width) / 2, 0);
    const int baseline = overlay.getWindowHeight() - BASELINE_FROM_BOTTOM;
    // A dark band under the line, to read it over the bright grass.
    glColor4f(0.0f, 0.0f, 0.0f, 0.55f);
    glBegin(GL_QUADS);
    glVertex2i(left - BAND_PADDING, baseline - TEXT_HEIGHT);
    glVertex2i(left + width + BAND_PADDING, baseline - TEXT_HEIGHT);
    glVertex2i(left + width + BAND_PADDING, baseline + BAND_PADDING);
    glVertex2i(left - BAND_PADDING, baseline + BAND_PADDING);
    glEnd();
    glColor3f(0.9f, 0.9f, 0.9f);
    walk(
        text,
        [left, baseline](int x, const std::string& run) {
            BitmapText::draw(static_cast<float>(left + x), static_cast<float>(baseline), 0, FONT, run.c_str());
        },
        [left, baseline](int x, const DrawnGlyph& glyph) { drawGlyph(glyph, left + x, baseline); });
}
