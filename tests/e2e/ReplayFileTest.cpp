// SPDX-License-Identifier: GPL-3.0-or-later
// Replays in files, end to end: a game recorded with --record, played back in
// the window with --replay at two frame rates (and sound through OpenAL's own
// choice of device), checked by kestrune-replay, and found out when a cast of
// it has been changed.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

std::vector<std::string> linesOf(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> digestLines(const std::string& path)
{
    std::vector<std::string> digests;
    for (const std::string& line : linesOf(path)) {
        if (line.rfind("digest ", 0) == 0) {
            digests.push_back(line);
        }
    }
    return digests;
}

// The checker's output and exit status, as "... exit=N".
std::string check(const std::string& path)
{
    return runCommand(std::string(KESTRUNE_REPLAY_BINARY) + " '" + path + "' 2>&1; echo exit=$?").value_or("");
}

// Presses "r" slowly until a new battlefield comes (it waits for the shot).
bool newBattlefield(GameProcess& game)
{
    for (int attempt = 0; attempt < 12; ++attempt) {
        game.key("r");
        if (game.waitForMatch("New Map: .*", std::chrono::seconds(5))) {
            return game.waitForMatch("On player 3: .*").has_value();
        }
    }
    return false;
}

// Four casters in the wind: the cyclone raised a little and with a little
// more power, the nova, the fireball, and a new battlefield.
void recordGame(const std::string& path)
{
    GameProcess game({"--seed", "5", "--wind", "--players", "4", "--record", path});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(chooseSpell(game, "2", "cyclone"));
    ASSERT_TRUE(aimTo(game, 0, HudAim{0, 2, 4.3}));
    ASSERT_TRUE(fireWhenReady(game).has_value());
    ASSERT_TRUE(chooseSpell(game, "3", "nova"));
    ASSERT_TRUE(fireWhenReady(game).has_value());
    ASSERT_TRUE(chooseSpell(game, "1", "fireball"));
    ASSERT_TRUE(fireWhenReady(game).has_value());
    ASSERT_TRUE(newBattlefield(game)) << outputTail(game);
    ASSERT_TRUE(game.key("Escape"));
    ASSERT_EQ(game.waitForExit(), 0);
}

// Plays the replay back in a window of this size, recording what it plays
// into again; the lines the game wrote on standard error.
std::string playBack(const std::string& replay, const std::string& again, const std::string& width,
                     const std::string& height, std::vector<std::string> environment)
{
    GameProcess game({"--replay", replay, "--record", again, "-w", width, "-h", height}, "", std::move(environment));
    EXPECT_TRUE(game.waitForLine("Reshape " + width + " " + height)) << game.errorText();
    EXPECT_FALSE(game.window().empty());
    for (int shot = 0; shot < 3; ++shot) {
        EXPECT_TRUE(game.waitForMatch("Dead Players: [0-9]+", std::chrono::seconds(60))) << outputTail(game);
    }
    // The second battlefield, as the recording went on to it.
    EXPECT_TRUE(game.waitForMatch("New Map: .*", std::chrono::seconds(60))) << outputTail(game);
    EXPECT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
    return game.errorText();
}

} // namespace

TEST(EndToEndReplay, ARecordedGameReplaysWithItsDigestsAndTheCheckerAgrees)
{
    const std::string recorded = artifactPath("recorded.replay");
    recordGame(recorded);
    if (HasFatalFailure()) {
        return;
    }
    const std::vector<std::string> digests = digestLines(recorded);
    ASSERT_EQ(digests.size(), 3u);
    EXPECT_EQ(check(recorded), recorded + ": 3 shots, digests agree\nexit=0\n");

    // At two frame rates, one of them heard through OpenAL's own choice of
    // device: the same digests, and nothing said against them.
    const std::string small = artifactPath("replayed-small.replay");
    const std::string large = artifactPath("replayed-large.replay");
    const std::string smallErrors = playBack(recorded, small, "320", "240", {});
    const std::string largeErrors = playBack(recorded, large, "1024", "768", {"ALSOFT_DRIVERS"});
    EXPECT_EQ(smallErrors.find("disagrees"), std::string::npos) << smallErrors;
    EXPECT_EQ(largeErrors.find("disagrees"), std::string::npos) << largeErrors;
    EXPECT_EQ(digestLines(small), digests);
    EXPECT_EQ(digestLines(large), digests);

    // The cyclone cast with another power: found at the first shot.
    std::vector<std::string> lines = linesOf(recorded);
    int casts = 0;
    std::size_t lastAim = 0;
    for (std::size_t i = 0; i < lines.size() && casts < 1; ++i) {
        lastAim = lines[i].find(" aim ") != std::string::npos ? i : lastAim;
        casts += lines[i].find(" cast ") != std::string::npos ? 1 : 0;
    }
    ASSERT_GT(lastAim, 0u);
    const std::size_t power = lines[lastAim].rfind(' ');
    lines[lastAim] = lines[lastAim].substr(0, power) + " 7";
    const std::string changed = artifactPath("changed.replay");
    std::ofstream out(changed);
    for (const std::string& line : lines) {
        out << line << "\n";
    }
    out.close();
    const std::string verdict = check(changed);
    EXPECT_EQ(verdict.rfind(changed + ": shot 1 of 3 disagrees (line ", 0), 0u) << verdict;
    EXPECT_NE(verdict.find("exit=1"), std::string::npos) << verdict;
}

// What cannot be played costs one line naming the file, and the game starts
// as it would have without it.
TEST(EndToEndReplay, AFolderInTheReplaysPlaceCostsOneLineAndANewGameStarts)
{
    const std::string folder = artifactPath("");
    GameProcess game({"--replay", folder, "--seed", "3"});
    ASSERT_TRUE(game.waitForLine("New Map: 15 15 20")) << game.errorText();
    ASSERT_TRUE(game.waitForMatch("On player 3: .*").has_value());
    ASSERT_FALSE(game.window().empty());
    EXPECT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(),
              "kestrune: " + folder + ": not a replay file but a folder; starting a new game instead\n");
}
