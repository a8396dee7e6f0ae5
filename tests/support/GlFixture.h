// SPDX-License-Identifier: GPL-3.0-or-later
// A real OpenGL context for tests of drawing code: one small hidden freeglut
// window per test process (GLUT may be initialised only once), selected again
// before every test, with helpers to read back what a draw did.
#pragma once

#include <GL/gl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The side of the hidden window, in pixels.
constexpr int GL_TEST_WINDOW_SIDE = 64;

// Creates the window on first use and returns its GLUT id. Without a display
// freeglut ends the process with an error: GL tests never skip silently.
int glTestWindow();

class GlTest : public ::testing::Test {
protected:
    // Selects the window and puts the fixed-function state back to GL's
    // defaults that drawing tests rely on: identity matrices, a viewport over
    // the window, black clear colour, depth test and lighting off.
    void SetUp() override;
    // Fails the test when a GL error is pending.
    void TearDown() override;
};

// Current depth of a matrix stack (GL_MODELVIEW_STACK_DEPTH and the like).
int stackDepth(GLenum depthQuery);

// RGBA of one pixel of the back buffer, (0, 0) at the bottom left.
std::array<unsigned char, 4> readPixel(int x, int y);

// RGB of a rectangle of the back buffer, rows bottom to top.
std::vector<unsigned char> readPixels(int x, int y, int width, int height);

// How many triangles of a draw reach the rasteriser, counted in GL's feedback
// mode: a triangle at least partly inside the view counts once (clipping does
// not split it), one culled or wholly outside does not count; Mesa splits a
// quad into two. The draw must not change the render mode itself.
int countTriangles(const std::function<void()>& draw);

// An offscreen colour and depth buffer of any size, drawn into while it is
// bound; the window's own buffers come back when it goes away.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // RGB of the whole target, rows bottom to top.
    std::vector<unsigned char> pixels() const;
    int width() const { return targetWidth; }
    int height() const { return targetHeight; }

private:
    int targetWidth;
    int targetHeight;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

// Writes an 8-bit RGB image (rows bottom to top, as GL reads them) to a PNG
// file so that a person can look at it.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);
