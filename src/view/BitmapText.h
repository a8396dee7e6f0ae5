// SPDX-License-Identifier: GPL-3.0-or-later
// Text in GLUT's bitmap fonts, drawn at a raster position: the overlay's
// lines, the new-game panel and the debug names over the characters.
#pragma once

#include <string>

class BitmapText {
public:
    // Draws a NUL-terminated string at a raster position in the current frame.
    static void draw(float x, float y, float z, void* font, const char* text);
    // Pixels the string takes in font.
    static int width(void* font, const std::string& text);
};
