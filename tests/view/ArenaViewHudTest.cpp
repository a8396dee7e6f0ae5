// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Player.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// Four players on an empty map; the overlay drawn into an 800 x 600 picture.
class HudTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        newMap(grid, 15, 15, 20);
        ScriptedRandom script({0.7});
        for (int id = 0; id < 4; ++id) {
            printed([&] { view->onPlayer(id, people[id]); });
        }
        printed([&] { view->reshape(WIDTH, HEIGHT); });
    }

    // Draws the overlay as a frame does and returns its pixels.
    std::vector<unsigned char> overlay()
    {
        OffscreenTarget target(WIDTH, HEIGHT);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        view->setOrthographicProjection();
        glPushMatrix();
        glLoadIdentity();
        view->displayFramePerSecond();
        view->displayPlayerInfo();
        view->displayConsole();
        view->displayCredits();
        view->getAids().displayTurnLine();
        view->getAids().displayDamageNumbers();
        view->getAids().displayWinner();
        glPopMatrix();
        view->resetPerspectiveProjection();
        EXPECT_EQ(stackDepth(GL_PROJECTION_STACK_DEPTH), 1);
        return target.pixels();
    }

    // Colours found in the text band just above a baseline y (from the top).
    static std::set<std::array<int, 3>> coloursOnLine(const std::vector<unsigned char>& pixels, int baseline)
    {
        std::set<std::array<int, 3>> colours;
        for (int top = baseline - 9; top <= baseline; ++top) {
            int row = HEIGHT - 1 - top;
            for (int x = 0; x < 400; ++x) {
                const unsigned char* p = &pixels[(static_cast<std::size_t>(row) * WIDTH + x) * 3];
                if (p[0] + p[1] + p[2] > 0) {
                    colours.insert({p[0], p[1], p[2]});
                }
            }
        }
        return colours;
    }

    TestGrid grid{15, 15, 20, [](int, int, int) { return false; }};
    Player people[4] = {{"Torva Murk", Vector(3, 6, 7), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15},
                        {"Osri Quay", Vector(1, 2, 3), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15},
                        {"Brum Oak", Vector(9, 1, 4), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15},
                        {"Nox Wick", Vector(5, 5, 5), 1, 1.8, Vector(0.5, 0.9, 0.5), 1.15}};
};

using Colours = std::set<std::array<int, 3>>;
const std::array<int, 3> WHITE = {255, 255, 255};
const std::array<int, 3> GOLD = {191, 191, 0};

} // namespace

TEST_F(HudTest, PlayerLinesListNameHitPointsAimAndPlace)
{
    view->updatePlayerDirection(0, people[0], 30, 15, 4.5);
    EXPECT_EQ(view->getOverlay().playerLine(0, people[0]), "Player: Torva Murk(100) 30 15 4.5 (3, 6, 7)");
    // No aim sent yet: zeros.
    EXPECT_EQ(view->getOverlay().playerLine(1, people[1]), "Player: Osri Quay(100) 0 0 0 (1, 2, 3)");
    people[1].damage(120);
    EXPECT_EQ(view->getOverlay().playerLine(1, people[1]), "Player: Osri Quay(-20) 0 0 0 (1, 2, 3)");
}

TEST_F(HudTest, TheCurrentPlayersLineIsGoldTheOthersWhiteThenTheSpell)
{
    view->onCurrentPlayer(2);
    std::string weapon = "fireball";
    view->onWeapon(weapon);
    auto pixels = overlay();
    EXPECT_EQ(coloursOnLine(pixels, 70), Colours{WHITE});
    EXPECT_EQ(coloursOnLine(pixels, 90), Colours{WHITE});
    EXPECT_EQ(coloursOnLine(pixels, 110), Colours{GOLD});
    EXPECT_EQ(coloursOnLine(pixels, 130), Colours{WHITE});
    EXPECT_EQ(coloursOnLine(pixels, 150), Colours{WHITE});
    EXPECT_TRUE(coloursOnLine(pixels, 170).empty());
    // No frame-rate or console line unless asked for.
    EXPECT_TRUE(coloursOnLine(pixels, 30).empty());
    EXPECT_TRUE(coloursOnLine(pixels, 10).empty());
    // The credits sit on the bottom edge.
    EXPECT_EQ(coloursOnLine(pixels, HEIGHT - 2), Colours{WHITE});
}

TEST_F(HudTest, FrameRateAndConsoleLinesShowWhenAsked)
{
    view->showFPS();
    EXPECT_TRUE(view->isShowingFPS());
    view->updateConsoleCommandEdition("set speed 2");
    EXPECT_EQ(view->getOverlay().getConsoleCommand(), ">set speed 2");
    auto pixels = overlay();
    EXPECT_EQ(coloursOnLine(pixels, 30), (Colours{{255, 0, 0}}));
    EXPECT_EQ(coloursOnLine(pixels, 10), (Colours{{128, 255, 255}}));
    view->hideFPS();
    EXPECT_FALSE(view->isShowingFPS());
}

TEST_F(HudTest, TheFrameRateStartsAtZeroAndCountsFramesPerClockSecond)
{
    GraphicNode::resetTriangleCount();
    EXPECT_EQ(view->getOverlay().frameRateLine(), "FPS: 0 (0) TriangleCount: 0");
    for (int frame = 0; frame < 30; ++frame) {
        clocks.clock.advance(40);
        view->updateFrameCount();
    }
    // The frame at tick 1040 closes the first period with 26 frames; four
    // more are pending at 1200.
    EXPECT_EQ(view->getOverlay().getFrameRate().getValues(), (std::list<double>{26}));
    // A long frame spanning two periods: the first gets the count.
    clocks.clock.advance(2500);
    view->updateFrameCount();
    EXPECT_EQ(view->getOverlay().getFrameRate().getValues(), (std::list<double>{26, 5, 0}));
    EXPECT_EQ(view->getOverlay().frameRateLine(), "FPS: 10.3333 (0) TriangleCount: 0");
}

TEST_F(HudTest, AtHalfSpeedTheFrameRateReadsDouble)
{
    clocks.time.setSpeed(0.5);
    // 50 frames per real second; a clock second lasts two real ones.
    for (int frame = 0; frame < 101; ++frame) {
        clocks.clock.advance(20);
        view->updateFrameCount();
    }
    EXPECT_EQ(view->getOverlay().getFrameRate().getValues(), (std::list<double>{101}));
}

TEST_F(HudTest, AbsLeavesNaNAndNegativeZeroAlone)
{
    EXPECT_EQ(view->abs(-2.5), 2.5);
    EXPECT_EQ(view->abs(3.0), 3.0);
    EXPECT_TRUE(std::isnan(view->abs(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::signbit(view->abs(-0.0)));
}

TEST_F(HudTest, AComputerPlayersNoteFollowsItsLineInItsOwnColour)
{
    view->getCharacters().setPlayerNote(1, "computer, hard");
    auto pixels = overlay();
    const std::array<int, 3> NOTE = {102, 204, 255};
    EXPECT_EQ(coloursOnLine(pixels, 90), (Colours{WHITE, NOTE}));
    EXPECT_EQ(coloursOnLine(pixels, 110), Colours{WHITE});
    // Two glyphs after the line's text: the line itself is unchanged.
    const int noteLeft = 5 + 8 * static_cast<int>(view->getOverlay().playerLine(1, people[1]).size() + 2);
    for (int top = 81; top <= 90; ++top) {
        for (int x = 0; x < WIDTH; ++x) {
            const unsigned char* p = &pixels[(static_cast<std::size_t>(HEIGHT - 1 - top) * WIDTH + x) * 3];
            if (p[0] == NOTE[0] && p[1] == NOTE[1] && p[2] == NOTE[2]) {
                ASSERT_GE(x, noteLeft);
            }
        }
    }
    view->getCharacters().setPlayerNote(1, "");
    EXPECT_EQ(coloursOnLine(overlay(), 90), Colours{WHITE});
}

TEST_F(HudTest, TheWinnerIsShownCentredUntilTheNextMap)
{
    EXPECT_TRUE(view->getAids().winnerLines().empty());
    view->showWinner(2, true);
    EXPECT_EQ(view->getAids().winnerLines(), (std::vector<std::string>{"Brum Oak wins", "A new battlefield in 5 seconds"}));
    auto pixels = overlay();
    int left = WIDTH;
    int right = -1;
    // The first line in the large font, its baseline at the middle.
    for (int top = HEIGHT / 2 - 16; top <= HEIGHT / 2; ++top) {
        for (int x = 0; x < WIDTH; ++x) {
            const unsigned char* p = &pixels[(static_cast<std::size_t>(HEIGHT - 1 - top) * WIDTH + x) * 3];
            if (p[0] + p[1] + p[2] > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2.0, WIDTH / 2.0, 8.0);
    const std::string first = "Brum Oak wins";
    const int large = glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24, reinterpret_cast<const unsigned char*>(first.c_str()));
    EXPECT_GT(large, 8 * 13);
    EXPECT_NEAR(right - left, large, 10.0);

    // Where a human won, "r" asks for the next battlefield.
    view->showWinner(2, false);
    EXPECT_EQ(view->getAids().winnerLines(), (std::vector<std::string>{"Brum Oak wins", "r: new battlefield"}));
    view->showWinner(-1, true);
    EXPECT_EQ(view->getAids().winnerLines().front(), "Nobody is left standing");
    newMap(grid, 15, 15, 20);
    EXPECT_TRUE(view->getAids().winnerLines().empty());
}

namespace {

// Pixels of the damage numbers' red.
int redPixels(const std::vector<unsigned char>& pixels)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        count += pixels[i] > 120 && pixels[i + 1] < 60 && pixels[i + 2] < 60 ? 1 : 0;
    }
    return count;
}

} // namespace

TEST_F(HudTest, TheTurnLineNamesTheCasterAndTheSpellWhileTheTurnWaits)
{
    std::string cyclone = "cyclone";
    view->onWeapon(cyclone);
    view->onCurrentPlayer(2);
    EXPECT_EQ(view->getAids().turnLine(), "Brum Oak \u2014 cyclone");
    // Gold, centred, near the top.
    const auto pixels = overlay();
    int left = WIDTH;
    int right = -1;
    for (int top = 30; top <= 52; ++top) {
        for (int x = 0; x < WIDTH; ++x) {
            const unsigned char* p = &pixels[(static_cast<std::size_t>(HEIGHT - 1 - top) * WIDTH + x) * 3];
            if (p[0] == 255 && p[1] > 200 && p[2] < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2.0, WIDTH / 2.0, 6.0);
    EXPECT_GT(right - left, 100);

    view->showWinner(2, false);
    EXPECT_EQ(view->getAids().turnLine(), "");
}

TEST_F(HudTest, WithTheAidsOffTheOverlayIsTheOneWithoutThem)
{
    std::string fireball = "fireball";
    view->onWeapon(fireball);
    view->onCurrentPlayer(2);
    view->getAids().addDamageNumbers({{2, 20.0}}, {}, {}, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(7.5, 9, 4, 7.5, 4, -4.5, 0, 1, 0);
    view->getAids().placeDamageNumbers();
    const auto with = overlay();
    view->getAids().setAidsShown(false);
    EXPECT_EQ(view->getAids().turnLine(), "");
    const auto without = overlay();
    EXPECT_NE(with, without);
    // Only the player lines, the spell and the credits are left: no pixel
    // outside their rows.
    for (int top = 0; top < HEIGHT - 14; ++top) {
        if (top >= 55 && top <= 155) {
            continue;
        }
        for (int x = 0; x < WIDTH; ++x) {
            const unsigned char* p = &without[(static_cast<std::size_t>(HEIGHT - 1 - top) * WIDTH + x) * 3];
            ASSERT_EQ(p[0] + p[1] + p[2], 0) << x << ", " << top;
        }
    }
}

TEST_F(HudTest, DamageNumbersRiseAndFadeFromTheMomentTheHurtIsShown)
{
    view->getAids().addDamageNumbers({{2, 20.0}, {3, 104.56}}, {3}, {{2, 2}}, 1000);
    ASSERT_EQ(view->getAids().getDamageNumbers().size(), 2u);
    EXPECT_EQ(view->getAids().getDamageNumbers()[0].text, "-20");
    EXPECT_EQ(view->getAids().getDamageNumbers()[1].text, "-104.6 KO");
    // Above the head of the caster where it stood before its fall.
    EXPECT_NEAR(view->getAids().getDamageNumbers()[0].position.y, 1 + 2 + 1.8 + 0.4, 1e-9);

    // Looking at the two casters from above their heads.
    auto placedAt = [&](long tick) {
        clocks.clock.set(tick);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(7.5, 9, 4, 7.5, 4, -4.5, 0, 1, 0);
        view->getAids().placeDamageNumbers();
        return redPixels(overlay());
    };
    EXPECT_EQ(placedAt(999), 0);
    const int fresh = placedAt(1050);
    EXPECT_GT(fresh, 100);
    // Fading: fewer full reds late in its life; gone at 1.5 s.
    EXPECT_LT(placedAt(2300), fresh);
    EXPECT_EQ(placedAt(2500), 0);
    EXPECT_TRUE(view->getAids().getDamageNumbers().empty());
}
