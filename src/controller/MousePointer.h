// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse: mouse look with the pointer held at the centre of the drawing
// area, the wheel's zoom, and the lines said when the pointer leaves or enters
// the window.
#pragma once

class ArenaView;

class MousePointer {
public:
    // view: not owned; outlives the pointer.
    explicit MousePointer(ArenaView& view);

    // Hides the pointer and remembers the window's screen position (0, 0 in
    // full screen).
    void initialize(int x, int y);
    // Remembers the drawing area's size and puts the pointer at its centre.
    void reshape(int width, int height);
    void passiveMotion(int x, int y);
    void button(int button, int state);
    void entry(int state);

private:
    ArenaView& view; // not owned
    // Screen position of the drawing area's top-left corner, in pixels.
    int windowX = 0;
    int windowY = 0;
    // Size of the drawing area, in pixels.
    int windowWidth = 0;
    int windowHeight = 0;
};
