// SPDX-License-Identifier: GPL-3.0-or-later
// The shared hidden GL window of the test process and the read-back helpers of
// drawing tests.
#define GL_GLEXT_PROTOTYPES
#include "support/GlFixture.h"

#include "platform/GraphicsLibraries.h"
#include "platform/PngWriter.h"

#include <GL/glext.h>

#include <GL/freeglut.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace {

int windowId = 0;

// Closes the window before the process ends, so that the GL driver releases
// what it allocated for it and the leak checker has nothing to report.
class GlWindowCloser : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (windowId != 0) {
            glutDestroyWindow(windowId);
            windowId = 0;
            glutExit();
        }
    }
};

const ::testing::Environment* const windowCloser =
    ::testing::AddGlobalTestEnvironment(new GlWindowCloser);

} // namespace

int glTestWindow()
{
    if (windowId == 0) {
        int argc = 1;
        char name[] = "kestrune_tests";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
        windowId = glutCreateWindow("kestrune tests");
        glutHideWindow();
        keepGraphicsLibrariesLoaded();
    }
    return windowId;
}

void GlTest::SetUp()
{
    glutSetWindow(glTestWindow());
    glViewport(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
    for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GlTest::TearDown()
{
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

int stackDepth(GLenum depthQuery)
{
    GLint depth = 0;
    glGetIntegerv(depthQuery, &depth);
    return depth;
}

std::array<unsigned char, 4> readPixel(int x, int y)
{
    std::array<unsigned char, 4> rgba{};
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

std::vector<unsigned char> readPixels(int x, int y, int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

int countTriangles(const std::function<void()>& draw)
{
    // Generous: a feedback buffer that overflows reports -1 below.
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    if (used < 0) {
        return -1;
    }
    int polygons = 0;
    GLint i = 0;
    while (i < used) {
        GLfloat token = buffer[i++];
        if (token == GL_POLYGON_TOKEN) {
            int vertices = static_cast<int>(buffer[i++]);
            ++polygons;
            i += vertices * 3;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 6;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN
                   || token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            i += 3;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        }
    }
    return polygons;
}

OffscreenTarget::OffscreenTarget(int width, int height)
    : targetWidth(width), targetHeight(height)
{
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, width, height);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &colour);
    glDeleteRenderbuffers(1, &depth);
    glDeleteFramebuffers(1, &framebuffer);
    glViewport(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
}

std::vector<unsigned char> OffscreenTarget::pixels() const
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(targetWidth) * targetHeight * 3);
    glFinish();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, targetWidth, targetHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    return writePng(path, width, height, rgb, 3, true);
}
