// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/glu.h>

#include <cmath>

#include "model/Player.h"
#include "model/RadiusBomb.h"
#include "support/ScriptedRandom.h"
#include "view/PlayerColour.h"
#include "view/ViewFixture.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;
using Rgb = std::array<int, 3>;

Rgb rgbOf(float r, float g, float b)
{
    return {static_cast<int>(std::lround(r * 255)), static_cast<int>(std::lround(g * 255)),
            static_cast<int>(std::lround(b * 255))};
}

// Two casters in the picture of the start camera and an opponent placed by
// each test, on an empty battlefield, in frames of 800 x 600.
class PlayingMarks : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        newMap(grid, 15, 15, 20);
        ScriptedRandom script({0.7});
        for (int id = 0; id < 3; ++id) {
            printed([&] { view->onPlayer(id, people[id]); });
        }
        target = std::make_unique<OffscreenTarget>(WIDTH, HEIGHT);
        printed([&] { view->reshape(WIDTH, HEIGHT); });
        view->getCamera().setAutoCameraEnabled(false);
        view->onCurrentPlayer(0);
    }

    void TearDown() override
    {
        target.reset();
        ViewTest::TearDown();
    }

    std::vector<unsigned char> frame()
    {
        printed([&] { view->renderScene(); });
        return target->pixels();
    }

    // x, y from the window's top left.
    static Rgb pixel(const std::vector<unsigned char>& pixels, int x, int y)
    {
        const unsigned char* p = &pixels[(static_cast<std::size_t>(HEIGHT - 1 - y) * WIDTH + x) * 3];
        return {p[0], p[1], p[2]};
    }

    // Within GL's rounding of a colour to bytes.
    static bool near(const Rgb& a, const Rgb& b)
    {
        return std::abs(a[0] - b[0]) <= 1 && std::abs(a[1] - b[1]) <= 1 && std::abs(a[2] - b[2]) <= 1;
    }

    // Pixels of a colour, and the middle of its widest run along a row.
    static int count(const std::vector<unsigned char>& pixels, const Rgb& colour, int* widest = nullptr,
                     int* middle = nullptr)
    {
        int found = 0;
        int best = 0;
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0, run = 0; x < WIDTH; ++x) {
                run = near(pixel(pixels, x, y), colour) ? run + 1 : 0;
                found += run > 0 ? 1 : 0;
                if (run > best) {
                    best = run;
                    if (middle != nullptr) {
                        *middle = x - run / 2;
                    }
                }
            }
        }
        if (widest != nullptr) {
            *widest = best;
        }
        return found;
    }

    std::unique_ptr<OffscreenTarget> target;
    TestGrid grid{15, 15, 20, [](int, int, int) { return false; }};
    Player people[3] = {{"Torva Murk", Vector(0, 0, 0), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15},
                        {"Osri Quay", Vector(6, 0, -6), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15},
                        {"Torva Mildew", Vector(0, 0, 0), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15}};
};

const Rgb HEALTHY = rgbOf(0.3f, 0.9f, 0.3f);
const Rgb HURT = rgbOf(1.0f, 0.5f, 0.1f);

} // namespace

TEST_F(PlayingMarks, AnOpponentOutOfThePictureIsMarkedAtTheEdgeTowardsItInItsColour)
{
    // The start camera looks from (-25, 25, -15) at the origin; its right is
    // (0.51, 0, -0.86) in model coordinates.
    const struct {
        const char* where;
        Vector position;
        const char* label;
    } rows[] = {{"in front, far right", Vector(20, 0, -34), "Torva Mildew 39"},
                {"behind the eye, to its right", Vector(-23, 28, -26), "Torva Mildew 45"}};
    const Rgb colour = rgbOf(PlayerColour::of(2).red, PlayerColour::of(2).green, PlayerColour::of(2).blue);
    for (const auto& row : rows) {
        people[2].setPosition(row.position);
        const std::vector<unsigned char> pixels = frame();
        const std::vector<EdgeMarker>& markers = view->getEdgeMarkers().getMarkers();
        ASSERT_EQ(markers.size(), 1u) << row.where;
        EXPECT_EQ(markers[0].label, row.label) << row.where;
        EXPECT_NEAR(markers[0].tip.x, WIDTH - EdgeMarkers::MARGIN, 0.5) << row.where;
        EXPECT_GT(markers[0].direction.x, 0.5) << row.where;
        // Inside the arrow, just behind its point.
        const Vector inside = markers[0].tip - markers[0].direction * 5;
        EXPECT_TRUE(near(pixel(pixels, static_cast<int>(inside.x), static_cast<int>(inside.y)), colour)) << row.where;
    }
}

TEST_F(PlayingMarks, ABarShowsAHitWhenTheHurtIsShownAndDisablingAidsHidesEveryMark)
{
    people[2].setPosition(Vector(20, 0, -34));
    view->getKeyHint().setHumanTurn(true);
    ASSERT_EQ(count(frame(), HEALTHY), 2 * 40 * 5);
    // Osri Quay loses 60 at the cast; its bar keeps 100 until the hurt shows.
    people[1].damage(60);
    std::list<Vector> path = {Vector(0, 3, 0), Vector(6, 1, -6)};
    std::set<Vector> removed;
    std::map<Vector, int> falling;
    std::map<int, int> falls;
    std::map<int, double> damages = {{1, 60.0}};
    std::set<int> killed;
    RadiusBomb fireball(3);
    printed([&] { view->onProjectile(0, &fireball, path, removed, falling, falls, damages, killed); });
    const long shown = view->getAids().getDamageNumbers().at(0).start;
    clocks.clock.set(shown - 1);
    std::vector<unsigned char> pixels = frame();
    EXPECT_EQ(count(pixels, HEALTHY), 2 * 40 * 5);
    EXPECT_EQ(count(pixels, HURT), 0);
    // Then 40 of 100: a bar of 16 pixels, over Osri Quay (the damage number
    // may cover a part of it).
    clocks.clock.set(shown);
    pixels = frame();
    int widest = 0;
    int middle = 0;
    EXPECT_EQ(count(pixels, HEALTHY), 40 * 5);
    count(pixels, HURT, &widest, &middle);
    EXPECT_EQ(widest, 16);
    GLdouble modelview[16], projection[16], x, y, z;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(6.5, 1.8, 5.5, modelview, projection, viewport, &x, &y, &z);
    EXPECT_NEAR(middle, x, 30);

    // Once the shot is over the turn waits again: bars, the marker and the
    // key hint, until the aids are disabled.
    clocks.clock.advance(100000);
    frame();
    const auto marks = [&] {
        pixels = frame();
        return std::array<int, 3>{count(pixels, HEALTHY) + count(pixels, HURT),
                                  static_cast<int>(view->getEdgeMarkers().getMarkers().size()),
                                  count(pixels, rgbOf(0.9f, 0.9f, 0.9f))};
    };
    const std::array<int, 3> shownMarks = marks();
    EXPECT_EQ(shownMarks[0], 40 * 5 + 16 * 5);
    EXPECT_EQ(shownMarks[1], 1);
    EXPECT_GT(shownMarks[2], 100);
    printed([&] { view->handleConsoleCommand("disable aids"); });
    EXPECT_EQ(marks(), (std::array<int, 3>{0, 0, 0}));
}
