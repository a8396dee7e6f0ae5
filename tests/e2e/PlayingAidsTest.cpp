// SPDX-License-Identifier: GPL-3.0-or-later
// The aids a player sees on the real binary: the automatic camera showing the
// caster at each turn and riding with the shot, the turn line, the sight and
// the damage numbers. The pictures it keeps illustrate the README.
#include <cstdlib>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

constexpr int WINDOW_PIXELS = 800 * 600;

// The casters' robes, blue or violet.
bool robe(int, int g, int b)
{
    return b > g + 30 && b > 60;
}

// The damage numbers' red, however faded over the black: a touch of green
// and blue that the health bars' pure red lacks.
bool damageRed(int r, int g, int b)
{
    return r > 120 && g * 10 >= r && g * 5 <= r && b * 20 >= r && b * 7 <= r;
}

// Pixels that differ clearly between two pictures of one size.
int changedPixels(const Image& before, const Image& after)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < before.rgb.size() && i + 2 < after.rgb.size(); i += 3) {
        const int change = std::abs(before.rgb[i] - after.rgb[i]) + std::abs(before.rgb[i + 1] - after.rgb[i + 1])
                         + std::abs(before.rgb[i + 2] - after.rgb[i + 2]);
        count += change > 60 ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(EndToEndAids, TheCameraShowsTheCasterThenTheShotAndTheDamageItDoes)
{
    // With this seed, the first caster's plain first shot hits the caster
    // standing in front of it.
    GameProcess game({"--seed", "8"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();

    // The turn starts: the caster large in the picture (half a percent of
    // the window is what a caster covers on the way there; two once the
    // camera has arrived), its name and spell at the top.
    const auto turn = grabUntil(game, "aids-turn-start.png", [](const Image& image) {
        return image.count(robe) * 50 >= WINDOW_PIXELS && turnLineGold(image) > 100;
    });
    ASSERT_TRUE(turn.has_value()) << "the caster never filled two percent of the window";

    // The sight: a dotted path ahead of the cannon.
    ASSERT_TRUE(game.key("t"));
    const auto sight = grabUntil(game, "aids-sight.png", [](const Image& image) {
        return image.count([](int r, int g, int b) { return r > 240 && g > 240 && b > 120 && b < 170; }) > 4;
    });
    EXPECT_TRUE(sight.has_value()) << "the sight never showed";

    const auto cast = fireWhenReady(game);
    ASSERT_TRUE(cast.has_value());
    // The turn line goes while the shot plays, and the camera moves with it.
    const auto flight = grabUntil(game, "aids-shot-in-flight.png", [&turn](const Image& image) {
        return turnLineGold(image) == 0 && changedPixels(*turn, image) * 10 > WINDOW_PIXELS;
    });
    EXPECT_TRUE(flight.has_value()) << "the camera never moved with the shot";
    const auto damage = grabUntil(game, "aids-damage-numbers.png",
                                  [](const Image& image) { return image.count(damageRed) > 40; });
    EXPECT_TRUE(damage.has_value()) << "no damage number showed\n" << outputTail(game);

    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}
