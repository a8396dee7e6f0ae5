// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "animation/WindAnimation.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"

namespace {

// A wind indicator built without its start-up line reaching the test's output.
struct QuietWind {
    QuietWind()
    {
        testing::internal::CaptureStdout();
        wind = std::make_unique<WindAnimation>(1000, clocks.time);
        testing::internal::GetCapturedStdout();
    }
    Clocks clocks;
    std::unique_ptr<WindAnimation> wind;
};

bool isWhite(const std::array<unsigned char, 4>& pixel)
{
    return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
}

} // namespace

TEST(WindAnimation, StartsWithoutWindAndSaysSo)
{
    Clocks clocks;
    testing::internal::CaptureStdout();
    WindAnimation wind(1000, clocks.time);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "set wind direction(0, 0, 0) 0 0\n");
    EXPECT_TRUE(wind.isLooping());
    clocks.clock.set(100000);
    EXPECT_FALSE(wind.over());
}

TEST(WindAnimation, TurnsTheFlagByTheHorizontalWindInTheGamesDegreesAndSaysSo)
{
    QuietWind quiet;
    WindAnimation& wind = *quiet.wind;
    struct Expected {
        Vector wind;
        double angle, strength;
    };
    testing::internal::CaptureStdout();
    for (Expected expected : {Expected{Vector(1, 0, 0), 0.0, 1.0}, Expected{Vector(0, 0, 0.5), 89.99979, 0.5},
                              Expected{Vector(0, 0, -0.5), -89.99979, 0.5}, Expected{Vector(-0.3, 0, 0), 179.99958, 0.3},
                              Expected{Vector(0, 2, 0), 0.0, 0.0}, Expected{Vector(3, 7, -4), -53.12998, 5.0}}) {
        wind.setDirection(expected.wind);
        EXPECT_NEAR(wind.getAngle(), expected.angle, 1e-5) << expected.wind;
        EXPECT_NEAR(wind.getStrength(), expected.strength, 1e-12) << expected.wind;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "set wind direction(1, 0, 0) 0 1\n"
              "set wind direction(0, 0, 0.5) 89.9998 0.5\n"
              "set wind direction(0, 0, -0.5) -89.9998 0.5\n"
              "set wind direction(-0.3, 0, 0) 180 0.3\n" // six significant digits
              "set wind direction(0, 2, 0) 0 0\n"
              "set wind direction(3, 7, -4) -53.13 5\n");
}

using WindAnimationDrawing = GlTest;

TEST_F(WindAnimationDrawing, DrawsAPoleAndAFlagAndKeepsTheMatrixStack)
{
    QuietWind quiet;
    glMatrixMode(GL_PROJECTION);
    glOrtho(-20.0, 20.0, -20.0, 20.0, -20.0, 20.0);
    glMatrixMode(GL_MODELVIEW);
    int cube = countTriangles([] { glutSolidCube(1.0); });
    ASSERT_GT(cube, 0);
    EXPECT_EQ(countTriangles([&quiet] { quiet.wind->render(); }), 2 * cube);

    int depth = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    quiet.wind->render();
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
}

TEST_F(WindAnimationDrawing, ThePoleStandsFromMinusFourToSixWithTheFlagAtItsTop)
{
    QuietWind quiet; // no wind: the flag points along +X
    // Seen from the front: 16 pixels per unit across x in [-1, 3], 4 per unit
    // up y in [-6, 10].
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1.0, 3.0, -6.0, 10.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    quiet.wind->render();

    auto column = [](double x) { return static_cast<int>((x + 1.0) * 16.0); };
    auto row = [](double y) { return static_cast<int>((y + 6.0) * 4.0); };
    auto pole = readPixel(column(0.95), row(0.0));
    EXPECT_NEAR(pole[0], 128, 1);
    EXPECT_NEAR(pole[1], 84, 1);
    EXPECT_EQ(pole[2], 0);
    EXPECT_EQ(readPixel(column(0.95), row(-3.6))[0], pole[0]);
    EXPECT_EQ(readPixel(column(0.95), row(-4.4))[0], 0);
    EXPECT_TRUE(isWhite(readPixel(column(2.0), row(5.5))));
    EXPECT_TRUE(isWhite(readPixel(column(2.9), row(5.5))));
    EXPECT_EQ(readPixel(column(2.0), row(4.6))[0], 0);
    EXPECT_EQ(readPixel(column(0.95), row(6.4))[0], 0);
}

TEST_F(WindAnimationDrawing, TheFlagPointsWithTheWindWithZMirrored)
{
    QuietWind quiet;
    // Seen from above, 16 pixels per unit: screen right is the scene's +x and
    // screen up its -z; the pole stands at the window's centre.
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1.0, 3.0, -3.0, 1.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    const int centre = GL_TEST_WINDOW_SIDE / 2;
    const int reach = 24; // 1.5 units out from the pole
    struct Probe {
        Vector wind;
        int x, y;
    };
    // Model +z is the scene's -z, which is up on the screen.
    for (Probe probe : {Probe{Vector(1, 0, 0), centre + reach, centre}, Probe{Vector(-0.3, 0, 0), centre - reach, centre},
                        Probe{Vector(0, 0, 0.5), centre, centre + reach}, Probe{Vector(0, 0, -0.5), centre, centre - reach}}) {
        testing::internal::CaptureStdout();
        quiet.wind->setDirection(probe.wind);
        testing::internal::GetCapturedStdout();
        glClear(GL_COLOR_BUFFER_BIT);
        quiet.wind->render();
        int white = 0;
        for (auto [x, y] : {std::pair{centre + reach, centre}, std::pair{centre - reach, centre},
                            std::pair{centre, centre + reach}, std::pair{centre, centre - reach}}) {
            white += isWhite(readPixel(x, y)) ? 1 : 0;
        }
        EXPECT_TRUE(isWhite(readPixel(probe.x, probe.y))) << probe.wind;
        EXPECT_EQ(white, 1) << probe.wind;
    }
}
