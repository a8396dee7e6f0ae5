// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap text: every line of writing the view puts on the screen goes through
// here, one glyph after the other from a raster position.
#include "view/BitmapText.h"

#include <GL/freeglut.h>

void BitmapText::draw(float x, float y, float z, void* font, const char* text)
{
    glRasterPos3f(x, y, z);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, *c);
    }
}

int BitmapText::width(void* font, const std::string& text)
{
    return glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text.c_str()));
}
