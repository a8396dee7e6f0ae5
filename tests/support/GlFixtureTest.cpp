// SPDX-License-Identifier: GPL-3.0-or-later
// The GL test fixture itself: later drawing tests rely on its read-backs.
#include <GL/freeglut.h>

#include <cstdio>
#include <fstream>

#include "support/GameProcess.h"
#include "support/GlFixture.h"

using GlFixture = GlTest;

TEST_F(GlFixture, ClearedBufferReadsBackTheClearColour)
{
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    auto pixel = readPixel(10, 10);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
}

TEST_F(GlFixture, ATriangleCoversItsPixelsOnly)
{
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    auto inside = readPixel(5, 5);
    auto outside = readPixel(60, 60);
    EXPECT_EQ(inside[1], 255);
    EXPECT_EQ(outside[1], 0);
}

TEST_F(GlFixture, EveryTestStartsFromIdentityMatrices)
{
    // Leave a mess for the next test; SetUp must put it right.
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1.0f, 2.0f, 3.0f);
    glMatrixMode(GL_MODELVIEW);
    glScalef(5.0f, 5.0f, 5.0f);
    SetUp();
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[0], 1.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(GlFixture, StackDepthSeesPushesAndPops)
{
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    glPushMatrix();
    glPushMatrix();
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 3);
    glPopMatrix();
    glPopMatrix();
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(GlFixture, CountsTrianglesThatReachTheScreen)
{
    auto draw = [] {
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 5; ++i) {
            glVertex3f(-0.5f, -0.5f, 0.0f);
            glVertex3f(0.5f, -0.5f, 0.0f);
            glVertex3f(0.0f, 0.5f, 0.0f);
        }
        // Entirely outside the view: not drawn.
        glVertex3f(5.0f, 5.0f, 0.0f);
        glVertex3f(6.0f, 5.0f, 0.0f);
        glVertex3f(5.0f, 6.0f, 0.0f);
        glEnd();
    };
    EXPECT_EQ(countTriangles(draw), 5);
    auto quad = [] {
        glBegin(GL_QUADS);
        glVertex2f(-0.5f, -0.5f);
        glVertex2f(0.5f, -0.5f);
        glVertex2f(0.5f, 0.5f);
        glVertex2f(-0.5f, 0.5f);
        glEnd();
    };
    // Mesa hands quads to the rasteriser as two triangles.
    EXPECT_EQ(countTriangles(quad), 2);
    // Counting leaves GL drawing normally.
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);
}

TEST_F(GlFixture, WritesAPngThatImageToolsRead)
{
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    auto rgb = readPixels(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
    std::string path = artifactPath("gl-fixture-blue.png");
    ASSERT_TRUE(writePng(path, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE, rgb));
    auto size = imageSize(path);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->first, GL_TEST_WINDOW_SIDE);
    EXPECT_EQ(size->second, GL_TEST_WINDOW_SIDE);
    auto pixel = runCommand("convert " + path + " -format '%[pixel:p{3,3}]' info:");
    ASSERT_TRUE(pixel.has_value());
    EXPECT_NE(pixel->find("(0,0,255)"), std::string::npos) << *pixel;
}
