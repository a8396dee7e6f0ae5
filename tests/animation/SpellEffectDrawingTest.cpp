// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <array>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "animation/HorizontalNovaAnimation.h"
#include "animation/RadiusBombAnimation.h"
#include "animation/VerticalStrikeAnimation.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"
#include "support/ScriptedRandom.h"

namespace {

std::array<GLfloat, 16> modelview()
{
    std::array<GLfloat, 16> matrix{};
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.data());
    return matrix;
}

// Draws and checks that the draw leaves the modelview stack and matrix as it
// found them, starting from a matrix that is not the identity.
void expectMatricesKept(Animation& effect)
{
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, -2.0f, 3.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    int depth = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto before = modelview();
    effect.render();
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(modelview(), before);
}

// Every vertex of every polygon a draw hands to the rasteriser: window x and
// y, then depth in [0, 1].
std::vector<std::array<float, 3>> feedbackVertices(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<std::array<float, 3>> vertices;
    GLint i = 0;
    while (i < used) {
        GLfloat token = buffer[i++];
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "only polygons expected, got token " << token;
            break;
        }
        int count = static_cast<int>(buffer[i++]);
        for (int v = 0; v < count; ++v, i += 3) {
            vertices.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
        }
    }
    return vertices;
}

// Pixels of the 64-pixel window for a point of an orthographic view of
// [-10, 10] on both axes.
int pixelOf(double coordinate)
{
    return static_cast<int>((coordinate + 10.0) / 20.0 * GL_TEST_WINDOW_SIDE);
}

// Looks along the model's x axis: the view's z (the mirrored model z) runs
// left to right on the screen, y upwards.
void lookAlongX(double bottom, double top)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10.0, 10.0, bottom, top, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
}

} // namespace

using RadiusBombDrawing = GlTest;
using HorizontalNovaDrawing = GlTest;
using VerticalStrikeDrawing = GlTest;

TEST_F(RadiusBombDrawing, LeavesTheMatricesAsItFoundThem)
{
    Clocks clocks;
    RadiusBombAnimation bomb(1000, clocks.time, 3.0, Vector(4, 2, 6));
    clocks.clock.set(500);
    expectMatricesKept(bomb);
}

TEST_F(RadiusBombDrawing, ABlueSphereOfTheCurrentSizeAroundTheMirroredCentre)
{
    Clocks clocks;
    RadiusBombAnimation bomb(1000, clocks.time, 3.0, Vector(4, 2, 6));
    lookAlongX(-10.0, 10.0);
    clocks.clock.set(375); // radius 1.5
    bomb.render();

    // Drawn at view z = -6, left of the screen's middle.
    int row = pixelOf(2.0);
    auto centre = readPixel(pixelOf(-6.0), row);
    EXPECT_EQ(centre[0], 0);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(centre[2], 255);
    EXPECT_EQ(readPixel(pixelOf(-5.0), row)[2], 255);
    EXPECT_EQ(readPixel(pixelOf(-4.0), row)[2], 0);
    EXPECT_EQ(readPixel(pixelOf(2.0 - 6.0), pixelOf(4.0))[2], 0);
    EXPECT_EQ(readPixel(pixelOf(6.0), row)[2], 0);
}

TEST_F(RadiusBombDrawing, FadesThroughItsAlpha)
{
    Clocks clocks;
    RadiusBombAnimation bomb(1000, clocks.time, 3.0, Vector(4, 2, 6));
    lookAlongX(-10.0, 10.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Only the near half of the sphere, so each pixel is blended once.
    glEnable(GL_CULL_FACE);
    int column = pixelOf(-6.0);
    int row = pixelOf(2.0);

    clocks.clock.set(875); // half faded, radius 3.5
    bomb.render();
    EXPECT_NEAR(readPixel(column, row)[2], 128, 2);
    EXPECT_NEAR(readPixel(pixelOf(-3.0), row)[2], 128, 2);

    glClear(GL_COLOR_BUFFER_BIT);
    clocks.clock.set(1000);
    bomb.render();
    EXPECT_EQ(readPixel(column, row)[2], 0);

    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
}

TEST_F(HorizontalNovaDrawing, LeavesTheMatricesAsItFoundThem)
{
    Clocks clocks;
    HorizontalNovaAnimation nova(1000, clocks.time, Vector(7, 3, 7), 15, 15);
    clocks.clock.set(500);
    expectMatricesKept(nova);
}

TEST_F(HorizontalNovaDrawing, APaleDiscSpreadingOverTheDepthAroundTheMirroredCentre)
{
    Clocks clocks;
    // Narrow in x so that a disc spread with width and depth swapped would not
    // reach the pixels that must be lit.
    HorizontalNovaAnimation nova(1000, clocks.time, Vector(0, 0, 4), 6, 15);
    // One unit of height fills half the window: the disc is 0.3 high.
    lookAlongX(-1.0, 1.0);
    int row = GL_TEST_WINDOW_SIDE / 2;

    clocks.clock.set(0);
    nova.render();
    EXPECT_EQ(readPixel(pixelOf(-4.0), row)[1], 0);

    clocks.clock.set(500); // depth radius 7.5 about view z = -4
    nova.render();
    auto centre = readPixel(pixelOf(-4.0), row);
    EXPECT_NEAR(centre[0], 204, 1);
    EXPECT_EQ(centre[1], 255);
    EXPECT_EQ(centre[2], 255);
    EXPECT_EQ(readPixel(pixelOf(-9.0), row)[1], 255);
    EXPECT_EQ(readPixel(pixelOf(2.0), row)[1], 255);
    EXPECT_EQ(readPixel(pixelOf(5.0), row)[1], 0);
    // Thin: nothing half a unit above the centre.
    EXPECT_EQ(readPixel(pixelOf(-4.0), GL_TEST_WINDOW_SIDE * 3 / 4)[1], 0);
}

TEST_F(VerticalStrikeDrawing, LeavesTheMatricesAsItFoundThem)
{
    Clocks clocks;
    ScriptedRandom random({0.3});
    VerticalStrikeAnimation strike(1000, clocks.time, Vector(3.7, 5.2, 8.9), 1000, 20);
    clocks.clock.set(600);
    expectMatricesKept(strike);
}

TEST_F(VerticalStrikeDrawing, DrawsOneTriangleForEachParticleInUse)
{
    Clocks clocks;
    ScriptedRandom random({0.3});
    VerticalStrikeAnimation strike(3000, clocks.time, Vector(3.7, 5.2, 8.9), 1000, 20);
    // Wide enough that no particle leaves the view.
    glMatrixMode(GL_PROJECTION);
    glOrtho(-50.0, 50.0, -50.0, 50.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_CULL_FACE);
    auto draw = [&strike] { strike.render(); };

    struct Expected {
        long tick;
        int triangles;
    };
    for (Expected expected : {Expected{0, 0}, Expected{750, 250}, Expected{1000, 333}, Expected{2999, 999},
                              Expected{3000, 1000}, Expected{9000, 1000}}) {
        clocks.clock.set(expected.tick);
        EXPECT_EQ(countTriangles(draw), expected.triangles) << expected.tick;
    }
}

TEST_F(VerticalStrikeDrawing, AParticleIsBornWithFreshRandomValuesInFieldOrder)
{
    Clocks clocks;
    ScriptedRandom random({0.5, 0.25, 0.75, 0.5, 0.2, 0.5});
    VerticalStrikeAnimation strike(1000, clocks.time, Vector(0, 0, 0), 4, 20);
    clocks.clock.set(250); // one particle in use
    strike.render();

    EXPECT_EQ(random.drawn(), 6u);
    const VerticalStrikeAnimation::Particle& particle = strike.getParticle(0);
    EXPECT_DOUBLE_EQ(particle.distance, 0.5);
    EXPECT_DOUBLE_EQ(particle.angle, 90.0);
    EXPECT_DOUBLE_EQ(particle.height, 15.0);
    EXPECT_DOUBLE_EQ(particle.red, 0.75);
    EXPECT_DOUBLE_EQ(particle.green, 0.2);
    EXPECT_DOUBLE_EQ(particle.expiry, 0.75);
    EXPECT_EQ(strike.getParticle(1).expiry, -1.0);
}

TEST_F(VerticalStrikeDrawing, AParticleLivesUntilTheProgressPassesItsExpiry)
{
    Clocks clocks;
    ScriptedRandom random({0.5, 0.5, 0.5, 0.5, 0.5, 0.5, // particle 0 at 0.25: dies after 0.75
                           0.1, 0.1, 0.1, 0.1, 0.1, 0.9}); // then 0.1, ..., 0.9 and 0.9 from then on
    VerticalStrikeAnimation strike(1000, clocks.time, Vector(0, 0, 0), 4, 20);

    clocks.clock.set(250);
    strike.render();
    EXPECT_EQ(random.drawn(), 6u);
    clocks.clock.set(500); // particle 1 joins; particle 0 lives on
    strike.render();
    EXPECT_EQ(random.drawn(), 12u);
    EXPECT_DOUBLE_EQ(strike.getParticle(0).distance, 0.5);
    EXPECT_DOUBLE_EQ(strike.getParticle(1).expiry, 1.4);

    clocks.clock.set(750); // exactly at its expiry particle 0 still lives
    strike.render();
    EXPECT_EQ(random.drawn(), 18u);
    EXPECT_DOUBLE_EQ(strike.getParticle(0).distance, 0.5);

    clocks.clock.set(800);
    strike.render();
    EXPECT_EQ(random.drawn(), 24u);
    EXPECT_DOUBLE_EQ(strike.getParticle(0).distance, 0.9);
    EXPECT_DOUBLE_EQ(strike.getParticle(0).expiry, 0.8 + 0.9);
    EXPECT_DOUBLE_EQ(strike.getParticle(1).expiry, 1.4);
}

TEST_F(VerticalStrikeDrawing, AParticleCirclesTheMirroredAxisAndClimbsWithTheCloud)
{
    Clocks clocks;
    // distance 0.5, angle 180 degrees, height 0.25 × 20 = 5.
    ScriptedRandom random({0.5, 0.5, 0.25, 0.5, 0.5, 0.9});
    VerticalStrikeAnimation strike(1000, clocks.time, Vector(3.7, 5.2, 8.9), 2, 20);
    // Window coordinates equal view coordinates in x and y.
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, GL_TEST_WINDOW_SIDE, 0.0, GL_TEST_WINDOW_SIDE, -GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
    glMatrixMode(GL_MODELVIEW);

    // At progress 0.5 the particle has made one and a half of its three turns:
    // 180 + 540 degrees, back where a turn begins, so the triangle is unrotated.
    clocks.clock.set(500);
    auto vertices = feedbackVertices([&strike] { strike.render(); });
    ASSERT_EQ(vertices.size(), 3u);
    // Axis through (3.5, 8.5) in model x and z, drawn at view z = -8.5; the
    // cloud has climbed 20 × 0.5 / 2 = 5 above the particle's own height of 5.
    const double expected[3][3] = {{3.9, 10.0, -8.6}, {4.1, 10.0, -8.6}, {4.0, 10.0, -8.4}};
    for (int v = 0; v < 3; ++v) {
        double depthInView = GL_TEST_WINDOW_SIDE * (1.0 - 2.0 * vertices[v][2]);
        EXPECT_NEAR(vertices[v][0], expected[v][0], 1e-3) << v;
        EXPECT_NEAR(vertices[v][1], expected[v][1], 1e-3) << v;
        EXPECT_NEAR(depthInView, expected[v][2], 1e-3) << v;
    }
}
