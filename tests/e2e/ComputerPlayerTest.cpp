// SPDX-License-Identifier: GPL-3.0-or-later
// Computer players on the real binary: a game of computer players alone plays
// itself to its winner and on to the next battlefield, and a human's aiming
// and casting keys do nothing on a computer player's turn. Every step waits
// for the game's answer: a line it prints or what its window shows.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"
#include "support/WinnerScreen.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int GLYPH_WIDTH = 8;
// Baseline of the frame-rate line.
constexpr int FRAME_RATE_BASELINE = 30;

// The note after a computer player's overlay line.
constexpr Colour NOTE_BLUE{102, 204, 255};

const std::string COUNTDOWN = "A new battlefield in 5 seconds";

// The note drawn two glyphs after a player's overlay line; "" when there is
// none.
std::string noteAfter(const Image& image, const HudLines& lines, int player)
{
    const std::string& line = lines.at(static_cast<std::size_t>(player));
    const int left = HUD_LEFT + GLYPH_WIDTH * (static_cast<int>(line.size()) + 2);
    return readHudText(onlyColour(image, NOTE_BLUE), left, HUD_FIRST_PLAYER_BASELINE + HUD_LINE_SPACING * player);
}

// The player's name, from the game's last "On player N: NAME HP at (x, y, z)".
std::string playerName(GameProcess& game, int player)
{
    static const boost::regex LINE(R"(On player (\d+): (.*) \d+ at \(.*\))");
    std::string name;
    for (const std::string& line : game.outputLines()) {
        boost::smatch groups;
        if (boost::regex_match(line, groups, LINE) && std::stoi(groups[1]) == player) {
            name = groups[2];
        }
    }
    return name;
}

// How many spells the game has cast: it writes "Dead Players: N" for each.
int castsSoFar(GameProcess& game)
{
    const auto& lines = game.outputLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Dead Players: ", 0) == 0;
    }));
}

std::string aimText(const std::optional<HudAim>& aim)
{
    if (!aim) {
        return "no aim";
    }
    std::ostringstream text;
    text << aim->yaw << " " << aim->pitch << " " << aim->power;
    return text.str();
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Keys that aim and cast, in one go: each would leave its mark (one way
// only, so that no two of them cancel out).
const char* const AIM_AND_CAST_KEYS = "Right bracketright Up Page_Up Return";

bool pressAimAndCastKeys(const std::string& more = "")
{
    return xdotool(std::string("key --delay 20 ") + AIM_AND_CAST_KEYS + (more.empty() ? "" : " " + more));
}

} // namespace

TEST(EndToEndComputer, ComputerPlayersPlayToAWinnerAndOnToANewBattlefield)
{
    GameProcess game({"--seed", "7", "--computer", "all"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());

    // Each player's line carries its note, drawn after it.
    auto noted = grabUntil(game, "computer-notes.png", [](const Image& image) {
        const HudLines lines = readHudLines(image);
        if (lines.size() != 5) {
            return false;
        }
        for (int player = 0; player < 4; ++player) {
            if (!readHudAim(lines[player]) || noteAfter(image, lines, player) != "[computer, normal]") {
                return false;
            }
        }
        return true;
    });
    EXPECT_TRUE(noted.has_value()) << "no \"[computer, normal]\" after each of the four player lines";

    // Nobody touches a key: the computer players play the game out.
    auto last = game.waitForMatch("Last man standing [0-9]+", 120s);
    ASSERT_TRUE(last.has_value()) << outputTail(game);
    const int winner = std::atoi(last->c_str() + std::string("Last man standing ").size());
    const std::string name = playerName(game, winner);
    ASSERT_FALSE(name.empty()) << *last;

    auto banner = grabUntil(game, "computer-winner.png", [](const Image& image) { return showsWinner(image, COUNTDOWN); });
    ASSERT_TRUE(banner.has_value()) << "the window never showed \"" << name << " wins\" and the countdown";
    const auto bannerSeen = Clock::now();

    // Five seconds after the winner was shown (less the time it took to see
    // it, a frame and a look at the window on a loaded machine).
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20", 60s)) << outputTail(game);
    EXPECT_GE(secondsSince(bannerSeen), 3.5);
    EXPECT_LE(secondsSince(bannerSeen), 15.0);
    ASSERT_TRUE(game.waitForMatch("On player 3: .*").has_value());

    // The winner's lines go with the old battlefield; the players play on.
    auto next = grabUntil(game, "computer-next-battlefield.png",
                          [](const Image& image) { return !showsAnyWinnerText(image); });
    EXPECT_TRUE(next.has_value()) << "the winner's lines stayed on the new battlefield";
    EXPECT_TRUE(game.waitForMatch("Dead Players: [0-9]+", 60s).has_value()) << outputTail(game);

    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndComputer, AHumansAimAndCastKeysDoNothingOnTheComputersTurn)
{
    // With this seed the human's shot below hurts nobody and the hard
    // computer player kills the human with its first.
    GameProcess game({"--seed", "4", "--computer", "1", "--level", "hard"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(runConsoleLine(game, "set players 2"));
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
    ASSERT_TRUE(game.waitForMatch("On player 1: .*").has_value());
    const std::string computerName = playerName(game, 1);

    auto kinds = grabUntil(game, "computer-against-human.png", [](const Image& image) {
        const HudLines lines = readHudLines(image);
        return lines.size() == 3 && noteAfter(image, lines, 0).empty()
            && noteAfter(image, lines, 1) == "[computer, hard]";
    });
    EXPECT_TRUE(kinds.has_value()) << "player 1 is not shown as the hard computer player, or player 0 not as a human";

    // The human's turn: the keys aim the human's cannon (taps only, so that
    // the aim is exact) and Enter casts.
    const HudAim humanAim{0, 6, 4.5};
    ASSERT_TRUE(aimTo(game, 0, humanAim)) << "the aiming keys did not move player 0's cannon";
    // Every caster starts aimed level, straight ahead, at power 4.
    const HudAim startAim{0, 0, 4};
    const std::optional<HudAim> untouched = shownAim(game, 1);
    EXPECT_TRUE(untouched == startAim) << "player 1's cannon moved on player 0's turn: " << aimText(untouched);
    auto humanShot = fireWhenReady(game);
    ASSERT_TRUE(humanShot.has_value()) << outputTail(game);
    EXPECT_EQ(*humanShot, "Dead Players: 0");

    // The computer player's turn, from the human's shot to the computer's:
    // the human keeps pressing every aiming and casting key.
    std::optional<std::string> computerShot;
    const auto turnDeadline = Clock::now() + 60s;
    while (!computerShot && Clock::now() < turnDeadline && game.running()) {
        ASSERT_TRUE(pressAimAndCastKeys());
        game.pause(50ms);
        computerShot = game.waitForMatch("Dead Players: [0-9]+", 0s);
    }
    ASSERT_TRUE(computerShot.has_value()) << "the computer player never cast\n" << outputTail(game);
    ASSERT_EQ(*computerShot, "Dead Players: 1") << "the computer player's shot was not its own";
    EXPECT_TRUE(game.waitForLine("0"));
    ASSERT_TRUE(game.waitForLine("Last man standing 1")) << outputTail(game);
    EXPECT_EQ(castsSoFar(game), 2) << "the keys cast a spell on the computer player's turn";
    const std::optional<HudAim> computerAim = shownAim(game, 1);
    ASSERT_TRUE(computerAim.has_value());
    EXPECT_FALSE(*computerAim == startAim) << "the computer player cast without turning its cannon";

    // The computer player wins; its turn goes on while the winner is shown,
    // with no shot playing: the keys still do nothing, to its aim or its
    // spell. "f" shows the frame rate once the keys before it have been taken.
    auto banner = grabUntil(game, "computer-beat-human.png",
                            [](const Image& image) { return showsWinner(image, COUNTDOWN); });
    ASSERT_TRUE(banner.has_value()) << "the window never showed \"" << computerName << " wins\"";
    const HudLines before = readHudLines(*banner);
    ASSERT_EQ(before.size(), 3u);
    ASSERT_TRUE(pressAimAndCastKeys("2 f"));
    auto after = grabUntil(game, "computer-keys-pressed.png", [](const Image& image) {
        return readHudText(image, HUD_LEFT, FRAME_RATE_BASELINE).rfind("FPS: ", 0) == 0;
    });
    ASSERT_TRUE(after.has_value()) << "the frame rate never showed";
    EXPECT_TRUE(showsWinner(*after, COUNTDOWN)) << "the keys were taken after the winner's time";
    const HudLines pressed = readHudLines(*after);
    ASSERT_EQ(pressed.size(), 3u);
    EXPECT_TRUE(readHudAim(pressed[1]) == computerAim)
        << "player 1's cannon moved from " << aimText(computerAim) << " to " << aimText(readHudAim(pressed[1]));
    EXPECT_EQ(pressed[2], before[2]) << "the spell changed on the computer player's turn";
    EXPECT_EQ(castsSoFar(game), 2) << "the keys cast a spell on the computer player's turn";

    // A new battlefield, where the human aims again and player 1 is still
    // the hard computer player.
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20", 60s)) << outputTail(game);
    ASSERT_TRUE(game.waitForMatch("On player 1: .*").has_value());
    EXPECT_EQ(castsSoFar(game), 2);
    EXPECT_TRUE(aimTo(game, 0, {-10, 3, 4})) << "the aiming keys did not move player 0's cannon";
    auto kept = grabUntil(game, "computer-kept.png", [](const Image& image) {
        const HudLines lines = readHudLines(image);
        return lines.size() == 3 && noteAfter(image, lines, 0).empty()
            && noteAfter(image, lines, 1) == "[computer, hard]";
    });
    EXPECT_TRUE(kept.has_value()) << "player 1 is no longer the hard computer player";

    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}
