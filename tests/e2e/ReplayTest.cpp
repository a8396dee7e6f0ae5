// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded game replays exactly: the same seed and the same keys give the same
// game whatever the frame rate, here changed through the window's size.
#include <algorithm>

#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

// The lines that tell the window apart rather than the game: its size (the
// start-up line and "Reshape W H") and where the pointer happens to be.
bool describesTheWindow(const std::string& line)
{
    static const boost::regex STARTUP_LINE(R"(\d+x\d+:\d+ at -?\d+,-?\d+)");
    return line.rfind("Reshape ", 0) == 0 || boost::regex_match(line, STARTUP_LINE)
           || line == "Mouse entered window" || line == "Mouse left window";
}

// Casts the cyclone, the nova and the fireball in turn, each from the
// starting aim, then asks for a new battlefield; everything the game wrote.
std::vector<std::string> playSeededGame(const std::string& width, const std::string& height)
{
    GameProcess game({"--seed", "21", "-w", width, "-h", height});
    EXPECT_TRUE(game.waitForLine("Reshape " + width + " " + height)) << game.errorText();
    EXPECT_FALSE(game.window().empty());
    for (auto [key, spell] : {std::pair{"2", "cyclone"}, {"3", "nova"}, {"1", "fireball"}}) {
        EXPECT_TRUE(chooseSpell(game, key, spell)) << spell;
        EXPECT_TRUE(fireWhenReady(game).has_value()) << spell;
    }
    // "r" waits for the last shot to be shown.
    bool newMap = false;
    // Slowly: unlike a cast, a second "r" after the first would not be
    // ignored but start yet another battlefield.
    for (int attempt = 0; attempt < 12 && !newMap; ++attempt) {
        game.key("r");
        newMap = game.waitForMatch("New Map: .*", std::chrono::seconds(5)).has_value();
    }
    EXPECT_TRUE(newMap);
    EXPECT_TRUE(game.waitForMatch("On player 3: .*").has_value());
    EXPECT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
    std::vector<std::string> lines;
    for (const std::string& line : game.outputLines()) {
        if (!describesTheWindow(line)) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TEST(EndToEndReplay, TheSameSeedAndKeysReplayTheGameAtAnyFrameRate)
{
    const std::vector<std::string> small = playSeededGame("320", "240");
    const std::vector<std::string> large = playSeededGame("1024", "768");
    // Three shots, then the second battlefield in full.
    EXPECT_GE(std::count(small.begin(), small.end(), "New Map: 15 15 20"), 2);
    EXPECT_EQ(small, large);
}
