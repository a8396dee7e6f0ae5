// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen on the real binary: set up by keys alone, started, and
// remembered for the next start.
#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/PngWriter.h"
#include "support/GameProcess.h"
#include "support/GameSteps.h"
#include "support/HudText.h"
#include "view/ArenaView.h"

namespace {

// The screen's rows as the window shows them; empty while it is closed.
std::vector<std::string> setupRows(GameProcess& game)
{
    std::vector<std::string> rows;
    const auto image = game.grab();
    if (!image) {
        return rows;
    }
    const int left = SetupPanel::lineLeft(image->width);
    for (int baseline = SetupPanel::FIRST_BASELINE; baseline < image->height;
         baseline += SetupPanel::LINE_SPACING) {
        std::string row = readHudText(*image, left, baseline);
        if (row.empty()) {
            break;
        }
        rows.push_back(row);
    }
    return rows;
}

// Presses the key (none when empty), then waits until the screen's rows pass
// the test.
bool pressUntil(GameProcess& game, const std::string& key,
                const std::function<bool(const std::vector<std::string>&)>& wanted)
{
    if (!key.empty() && !game.key(key)) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + E2E_TIMEOUT;
    while (std::chrono::steady_clock::now() < deadline && game.running()) {
        if (wanted(setupRows(game))) {
            return true;
        }
        game.pause(std::chrono::milliseconds(50));
    }
    return false;
}

// Presses the key, then waits until row index of the screen holds the text.
bool pressUntilRowShows(GameProcess& game, const std::string& key, std::size_t index, const std::string& text)
{
    return pressUntil(game, key, [&](const std::vector<std::string>& rows) {
        return rows.size() > index && rows[index].find(text) != std::string::npos;
    });
}

bool isClosed(const std::vector<std::string>& rows)
{
    return rows.empty();
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(EndToEndSetup, AGameSetUpOnTheScreenStartsPlaysAndIsTheNextStartsGame)
{
    const std::string config = artifactPath("setup-config");
    runCommand("rm -rf '" + config + "'");
    const std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + config};
    {
        GameProcess game({"--seed", "7"}, "", environment);
        ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
        ASSERT_TRUE(game.waitForLine("Reshape 800 600"));

        ASSERT_TRUE(pressUntilRowShows(game, "F2", 0, "> Casters      < 4 >")) << outputTail(game);
        ASSERT_TRUE(pressUntilRowShows(game, "Left", 0, "< 3 >"));
        ASSERT_TRUE(pressUntilRowShows(game, "Left", 0, "< 2 >"));
        ASSERT_TRUE(pressUntilRowShows(game, "Down", 1, "> Caster 1"));
        ASSERT_TRUE(pressUntilRowShows(game, "A", 1, "A_"));
        ASSERT_TRUE(pressUntilRowShows(game, "d", 1, "Ad_"));
        ASSERT_TRUE(pressUntilRowShows(game, "a", 1, "Ada_"));
        ASSERT_TRUE(pressUntilRowShows(game, "Down", 2, "> Caster 2"));
        ASSERT_TRUE(pressUntilRowShows(game, "Right", 2, "< easy computer >"));
        ASSERT_TRUE(pressUntilRowShows(game, "Right", 2, "< normal computer >"));
        ASSERT_TRUE(pressUntilRowShows(game, "Right", 2, "< hard computer >"));
        ASSERT_TRUE(pressUntilRowShows(game, "Down", 3, "> Battlefield  < small"));
        ASSERT_TRUE(pressUntilRowShows(game, "Right", 3, "< medium 64 x 64 x 32 >"));
        const auto screen = game.grab();
        ASSERT_TRUE(screen.has_value());
        writePng(artifactPath("setup-screen.png"), screen->width, screen->height, screen->rgb, 3, false);

        ASSERT_TRUE(game.key("Return"));
        ASSERT_TRUE(game.waitForLine("New Map: 64 64 32")) << outputTail(game);
        // The typed name is the caster's when the battlefield is told.
        EXPECT_TRUE(game.waitForMatch("On player 0: Ada 100 at .*").has_value()) << outputTail(game);
        EXPECT_TRUE(pressUntil(game, "", isClosed));
        // The human casts, then the computer player answers by itself.
        ASSERT_TRUE(fireWhenReady(game).has_value()) << outputTail(game);
        EXPECT_TRUE(game.waitForMatch("Dead Players: [0-9]+", 3 * E2E_TIMEOUT).has_value()) << outputTail(game);

        ASSERT_TRUE(game.key("Escape"));
        EXPECT_TRUE(game.waitForLine("Quitting"));
        EXPECT_EQ(game.waitForExit(), 0);
        // The only complaint: nothing was remembered yet.
        EXPECT_EQ(game.errorText(), "kestrune: no settings at " + config + "/kestrune/settings.ini yet; using the defaults\n");
    }
    const std::string remembered = fileText(config + "/kestrune/settings.ini");
    EXPECT_NE(remembered.find("players = 2"), std::string::npos) << remembered;
    EXPECT_NE(remembered.find("kind = hard"), std::string::npos) << remembered;

    // The next start plays the remembered set-up, and an option wins over it.
    GameProcess again({"--seed", "7", "--wind"}, "", environment);
    ASSERT_TRUE(again.waitForLine("New Map: 64 64 32")) << outputTail(again);
    ASSERT_TRUE(again.waitForLine("Reshape 800 600"));
    const std::vector<std::string>& lines = again.outputLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("On player ", 0) == 0; }),
              2);
    // The wind of the new battlefield is told just before it.
    const auto newMap = std::find(lines.begin(), lines.end(), "New Map: 64 64 32");
    ASSERT_NE(newMap, lines.begin());
    EXPECT_EQ((newMap - 1)->rfind("set wind direction(", 0), 0u);
    EXPECT_EQ((newMap - 1)->rfind("set wind direction(0, 0, 0)", 0), std::string::npos);
    ASSERT_TRUE(pressUntilRowShows(again, "F2", 2, "< hard computer >"));
    ASSERT_TRUE(pressUntil(again, "Escape", isClosed));
    ASSERT_TRUE(again.key("Escape"));
    EXPECT_TRUE(again.waitForLine("Quitting"));
    EXPECT_EQ(again.waitForExit(), 0);
    EXPECT_EQ(again.errorText(), "");
}

TEST(EndToEndSetup, AFolderWhereTheSettingsShouldBeCostsALineAtTheStartAndAtTheWriteAndTheGamePlaysOn)
{
    const std::string config = artifactPath("setup-config-folder");
    runCommand("rm -rf '" + config + "' && mkdir -p '" + config + "/kestrune/settings.ini'");
    GameProcess game({"--seed", "7"}, "", {"XDG_CONFIG_HOME=" + config});
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
    ASSERT_TRUE(pressUntilRowShows(game, "F2", 0, "> Casters      < 4 >")) << outputTail(game);
    ASSERT_TRUE(game.key("Return"));
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20"));
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    const std::string errors = game.errorText();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
    EXPECT_NE(errors.find("not a regular file"), std::string::npos) << errors;
    EXPECT_NE(errors.find("cannot write settings"), std::string::npos) << errors;
}
