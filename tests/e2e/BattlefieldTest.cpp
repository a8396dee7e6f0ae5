// SPDX-License-Identifier: GPL-3.0-or-later
// The real game shows its battlefield: terrain, characters, the wind flag and
// the bounds, and prints the map and its players as it builds them.
#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

// Grabs the window until it shows more than a black frame.
std::optional<Image> shotOfTheScene(GameProcess& game, const std::string& file)
{
    return grabUntil(game, file, [](const Image& image) {
        return image.count([](int r, int g, int b) { return g > r + 30 && g > b + 30; }) > 1000;
    });
}

} // namespace

TEST(EndToEndBattlefield, TheGameShowsTerrainAndFourCharacters)
{
    // From the start place.
    GameProcess game({"--seed", "2006", "--no-autocamera"});
    ASSERT_TRUE(game.waitForLine("800x600:16 at 400,100")) << game.errorText();
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
    ASSERT_TRUE(game.waitForMatch("There is [0-9]+ block on this terrain").has_value());
    ASSERT_TRUE(game.waitForMatch("Displaying the [0-9]+ blocks out of [0-9]+").has_value());
    for (int id = 0; id < 4; ++id) {
        ASSERT_TRUE(game.waitForMatch("On player " + std::to_string(id) + ": .+ 100 at \\([0-9]+, [0-9]+, [0-9]+\\)"))
            << id;
    }
    ASSERT_TRUE(game.waitForLine("Reshape 800 600"));

    auto image = shotOfTheScene(game, "battlefield.png");
    ASSERT_TRUE(image.has_value()) << "the window never showed the battlefield";
    EXPECT_EQ(image->width, 800);
    // Grass tops, earth sides, robes (blue or violet), red health bars.
    int grass = image->count([](int r, int g, int b) { return g > r + 30 && g > b + 30; });
    int earth = image->count([](int r, int g, int b) { return r > g + 15 && g > b + 15 && r > 60; });
    int robes = image->count([](int, int g, int b) { return b > g + 30 && b > 60; });
    int bars = image->count([](int r, int g, int b) { return r > 100 && g < 30 && b < 30; });
    EXPECT_GT(grass, 10000);
    EXPECT_GT(earth, 3000);
    EXPECT_GT(robes, 40);
    EXPECT_GT(bars, 20);

    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndBattlefield, TheLargestBattlefieldIsBuiltDrawnAndPlayed)
{
    // Seen from the start place.
    GameProcess game({"--seed", "1", "--no-autocamera"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    const std::optional<Image> small = shotOfTheScene(game, "battlefield-default.png");
    ASSERT_TRUE(small.has_value());
    ASSERT_TRUE(runConsoleLine(game, "set grid 256 256 61")) << outputTail(game);
    ASSERT_TRUE(game.waitForLine("New Map: 256 256 61"));
    ASSERT_TRUE(game.waitForMatch("Displaying the [0-9]+ blocks out of [0-9]+").has_value());
    // From the start camera, the earth walls of the wide battlefield fill
    // much of the window.
    auto earth = [](int r, int g, int b) { return r > g + 15 && g > b + 15 && r > 60; };
    const int earthBefore = small->count(earth);
    const auto large = grabUntil(game, "battlefield-largest.png", [&](const Image& image) {
        return image.count(earth) > 3 * earthBefore;
    });
    ASSERT_TRUE(large.has_value()) << "the largest battlefield was never drawn";
    ASSERT_TRUE(fireWhenReady(game).has_value()) << outputTail(game);

    const std::optional<long> resident = game.residentKilobytes();
    ASSERT_TRUE(resident.has_value());
    RecordProperty("resident_kilobytes", std::to_string(*resident));
#ifndef KESTRUNE_SANITIZE
    // The sanitizers' shadow memory would count too.
    EXPECT_LT(*resident, 1024L * 1024L);
#endif
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndBattlefield, TheSameSeedBuildsTheSameBattlefield)
{
    std::vector<std::string> runs[2];
    for (auto& lines : runs) {
        GameProcess game({"--seed", "77"});
        ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
        ASSERT_TRUE(game.key("Escape"));
        EXPECT_EQ(game.waitForExit(), 0);
        lines = game.outputLines();
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST(EndToEndBattlefield, TheGameFindsItsArtFromAnyFolder)
{
    // Started elsewhere, the game built in the build tree reads the copy of
    // res/ beside it, and says so.
    GameProcess game({}, "/", {"KESTRUNE_DATA"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "kestrune: game data from " + std::string(KESTRUNE_BUILD_DIR) + "/res\n");
}
