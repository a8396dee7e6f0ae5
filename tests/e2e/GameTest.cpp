// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games on the real binary, played through the keyboard as people play
// them: aiming, firing every spell, turns, the console, and a game to its end.
// Every step waits for the game's answer before the next key.
#include <algorithm>
#include <chrono>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"
#include "support/WinnerScreen.h"

namespace {

using namespace std::chrono_literals;

// The HUD line (0 = first player) drawn in the current player's gold.
int goldLine(const Image& image)
{
    for (int line = 0; line < 6; ++line) {
        int baseline = HUD_FIRST_PLAYER_BASELINE + HUD_LINE_SPACING * line;
        for (int y = baseline - 9; y <= baseline; ++y) {
            for (int x = 5; x < 300; ++x) {
                const unsigned char* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
                if (p[0] > 150 && p[1] > 150 && p[2] < 60) {
                    return line;
                }
            }
        }
    }
    return -1;
}

// Pixels of the battlefield that differ clearly; the text overlay (top left
// and bottom line) is left out.
int differingPixels(const Image& a, const Image& b)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3) {
        const int x = static_cast<int>((i / 3) % static_cast<std::size_t>(a.width));
        const int y = static_cast<int>((i / 3) / static_cast<std::size_t>(a.width));
        if ((x < 420 && y < 170) || y > a.height - 20) {
            continue;
        }
        int difference = std::abs(a.rgb[i] - b.rgb[i]) + std::abs(a.rgb[i + 1] - b.rgb[i + 1])
                       + std::abs(a.rgb[i + 2] - b.rgb[i + 2]);
        count += difference > 60 ? 1 : 0;
    }
    return count;
}

// The fireball's orange or the blast's blue.
bool fireOrBlast(int r, int g, int b)
{
    return (r > 150 && g > 40 && g < 160 && b < 60) || (b > 100 && r < 40 && g < 40);
}

// Pixels of fire or blast colour that the battlefield did not show before.
int newEffectPixels(const Image& before, const Image& image)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < image.rgb.size() && i + 2 < before.rgb.size(); i += 3) {
        if (fireOrBlast(image.rgb[i], image.rgb[i + 1], image.rgb[i + 2])
            && !fireOrBlast(before.rgb[i], before.rgb[i + 1], before.rgb[i + 2])) {
            ++count;
        }
    }
    return count;
}

void quit(GameProcess& game)
{
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
}

} // namespace

TEST(EndToEndGame, AimFireAndTheTurnPasses)
{
    // Seen from the start place throughout.
    GameProcess game({"--seed", "3", "--no-autocamera"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(game.key("v"));
    auto start = grabUntil(game, "game-start.png", [](const Image& image) { return goldLine(image) == 0; });
    ASSERT_TRUE(start.has_value()) << "player 0 never shown as the current player";

    // A wide blast, aimed back over the battlefield with a little more power.
    ASSERT_TRUE(runConsoleLine(game, "set radius_bomb_size 5"));
    ASSERT_TRUE(game.waitForLine("Radius Bomb Size Setted to 5"));
    ASSERT_TRUE(aimTo(game, 0, {-180, 20, 4.5})) << "the overlay never showed the aim";
    auto fired = fireWhenReady(game);
    ASSERT_TRUE(fired.has_value()) << game.errorText();

    auto middle = grabUntil(game, "game-shot.png",
                            [&](const Image& image) { return newEffectPixels(*start, image) > 40; });
    ASSERT_TRUE(middle.has_value()) << "no fireball or blast seen during the shot";
    // The turn has passed to player 1 at once.
    EXPECT_EQ(goldLine(*middle), 1);

    // When the shot has played out the battlefield has changed.
    auto after = grabUntil(game, "game-after-shot.png", [&](const Image& image) {
        return newEffectPixels(*start, image) < 20 && differingPixels(*start, image) > 300;
    });
    EXPECT_TRUE(after.has_value()) << "the terrain did not change";

    quit(game);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndGame, EverySpellCanBeCast)
{
    GameProcess game({"--seed", "8"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    for (auto [key, spell] : {std::pair{"2", "cyclone"}, {"3", "nova"}, {"4", "meteor"}, {"1", "fireball"}}) {
        ASSERT_TRUE(chooseSpell(game, key, spell)) << spell;
        EXPECT_TRUE(fireWhenReady(game).has_value()) << spell;
    }
    quit(game);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndGame, TheConsoleTalksToTheThreeHandlers)
{
    GameProcess game({"--seed", "4"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());

    ASSERT_TRUE(runConsoleLine(game, "help"));
    for (const char* line : {"set radius_bomb_size size", "View: help", "enable/disable lighting",
                             "animate id animation length", "Model: help", "  set players 4 1 1 .5 1 0 1",
                             "enable/disable wind"}) {
        EXPECT_TRUE(game.waitForLine(line)) << line;
    }

    // Typed as fast as xdotool types: every letter in its place.
    ASSERT_TRUE(runConsoleLine(game, "set radius_bomb_size 2.5"));
    EXPECT_TRUE(game.waitForLine("Radius Bomb Size Setted to 2.5"));

    // Escape inside the console is typed into the line, not a way out.
    ASSERT_TRUE(game.key("grave"));
    ASSERT_TRUE(game.waitForLine("Console ON"));
    ASSERT_TRUE(game.type("set players 2"));
    ASSERT_TRUE(game.key("Escape"));
    ASSERT_TRUE(game.key("BackSpace"));
    ASSERT_TRUE(game.key("Return"));
    EXPECT_TRUE(game.waitForLine("Model: set players 2")) << outputTail(game);
    EXPECT_TRUE(game.waitForLine("New Map: 15 15 20"));
    EXPECT_TRUE(game.waitForMatch("On player 1: .*").has_value());
    EXPECT_TRUE(game.running());

    quit(game);
    // After the new map, two players only.
    const auto& lines = game.outputLines();
    auto newMap = std::find(lines.rbegin(), lines.rend(), "New Map: 15 15 20");
    ASSERT_NE(newMap, lines.rend());
    for (auto line = newMap; line != lines.rbegin(); --line) {
        EXPECT_EQ(line->rfind("On player 2", 0), std::string::npos) << "a third player after set players 2";
    }
}

TEST(EndToEndGame, ATwoPlayerGameEndsWithTheLastManStanding)
{
    GameProcess game({"--seed", "12"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(runConsoleLine(game, "set players 2"));
    ASSERT_TRUE(game.waitForMatch("On player 1: .*").has_value());

    // Player 0 aims straight down at its own feet and calls the cyclone.
    ASSERT_TRUE(aimTo(game, 0, {0, -90, 4}));
    ASSERT_TRUE(chooseSpell(game, "2", "cyclone"));
    grabUntil(game, "game-aimed-down.png", [](const Image&) { return true; });
    auto first = fireWhenReady(game);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, "Dead Players: 1") << outputTail(game);
    EXPECT_TRUE(game.waitForLine("0"));

    // Player 1 casts whatever it aims at: nobody else is left.
    ASSERT_TRUE(chooseSpell(game, "1", "fireball"));
    auto second = fireWhenReady(game);
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(game.waitForLine("Last man standing 1"));

    // The winner is shown once the shot has been; Enter casts nothing any
    // more ("f" answers once the keys before it were taken); "r" starts a new
    // battlefield.
    const auto end = grabUntil(game, "game-end.png",
                               [](const Image& image) { return showsWinner(image, "r: new battlefield"); });
    ASSERT_TRUE(end.has_value()) << "the window never showed the winner and \"r: new battlefield\"";
    auto casts = [&game] {
        const auto& lines = game.outputLines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& line) { return line.rfind("Dead Players:", 0) == 0; });
    };
    const auto castsBefore = casts();
    ASSERT_TRUE(game.key("Return"));
    ASSERT_TRUE(game.key("f"));
    const auto fps = grabUntil(game, "game-end-fps.png", [](const Image& image) {
        return readHudText(image, HUD_LEFT, 30).rfind("FPS: ", 0) == 0;
    });
    ASSERT_TRUE(fps.has_value());
    EXPECT_EQ(casts(), castsBefore) << outputTail(game);
    EXPECT_TRUE(showsWinner(*fps, "r: new battlefield"));
    ASSERT_TRUE(game.key("r"));
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
    quit(game);
    int lastManLines = 0;
    for (const std::string& line : game.outputLines()) {
        lastManLines += line.rfind("Last man standing", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(lastManLines, 1);
    EXPECT_EQ(game.errorText(), "");
}
