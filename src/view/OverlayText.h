// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of UTF-8 in GLUT's bitmap fonts, which have Latin-1 glyphs only: the
// characters up to U+00FF drawn as the font has them, the short and the long
// dash drawn as lines, and every other character as "?". Chat lines, notices
// and the waiting line come from other machines and may hold any of them.
#pragma once

#include <string>

class OverlayText {
public:
    // Pixels the line takes in font.
    static int width(void* font, const std::string& utf8);
    // Draws the line from left along baseline, in window pixels (y down), in
    // the current colour.
    static void draw(int left, int baseline, void* font, const std::string& utf8);
};
