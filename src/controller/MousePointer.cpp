// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse look, the wheel's zoom and the pointer's comings and goings, turned
// into the view's camera moves and lines on standard output.
#include "controller/MousePointer.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>

#include "app/Main.h"
#include "platform/Pointer.h"
#include "view/ArenaView.h"

namespace {

constexpr int MOUSE_WHEEL_UP = 3;
constexpr int MOUSE_WHEEL_DOWN = 4;
// Pixels: the farthest one motion event turns the view.
constexpr int MOUSE_LOOK_LIMIT = 20;

} // namespace

MousePointer::MousePointer(ArenaView& view)
    : view(view)
{
}

void MousePointer::initialize(int x, int y)
{
    hidePointer();
    windowX = Main::fullscreen ? 0 : x;
    windowY = Main::fullscreen ? 0 : y;
}

void MousePointer::reshape(int width, int height)
{
    windowWidth = width;
    windowHeight = height;
    warpPointer(width / 2, height / 2);
}

void MousePointer::passiveMotion(int x, int y)
{
    const int centreX = windowWidth / 2;
    const int centreY = windowHeight / 2;
    // The event caused by our own re-centring.
    if (x == centreX && y == centreY) {
        return;
    }
    const int dx = std::clamp(x - centreX, -MOUSE_LOOK_LIMIT, MOUSE_LOOK_LIMIT);
    const int dy = std::clamp(y - centreY, -MOUSE_LOOK_LIMIT, MOUSE_LOOK_LIMIT);
    view.moveAvatarVision(-static_cast<double>(dx), dy / -100.0);
    warpPointer(centreX, centreY);
}

void MousePointer::button(int button, int state)
{
    // The wheel comes as presses of buttons 3 (up) and 4 (down).
    if (state != GLUT_DOWN) {
        return;
    }
    if (button == MOUSE_WHEEL_UP) {
        view.getCamera().zoom(1.0);
    } else if (button == MOUSE_WHEEL_DOWN) {
        view.getCamera().zoom(-1.0);
    }
}

void MousePointer::entry(int state)
{
    if (state == GLUT_LEFT) {
        std::cout << "Mouse left window" << std::endl;
    } else if (state == GLUT_ENTERED) {
        std::cout << "Mouse entered window" << std::endl;
    }
}
