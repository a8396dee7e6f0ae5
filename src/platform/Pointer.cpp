// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer calls of the window system, through GLUT.
#include "platform/Pointer.h"

#include <GL/freeglut.h>

void warpPointer(int x, int y)
{
    glutWarpPointer(x, y);
}

void hidePointer()
{
    glutSetCursor(GLUT_CURSOR_NONE);
}
