// SPDX-License-Identifier: GPL-3.0-or-later
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "replay/ReplayChecker.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/SampleGame.h"

namespace {

std::vector<std::string> replaysIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* listing = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            if (name.size() > 7 && name.compare(name.size() - 7, 7, ".replay") == 0) {
                names.push_back(folder + "/" + name);
            }
        }
        closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string textOf(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

// Each battlefield its own file, the newest kept, each one a replay that
// checks; a file cut after any of its lines (a killed game) still plays.
TEST(ReplayRecorder, EachBattlefieldGoesToAFileOfItsOwnThatChecks)
{
    const std::string folder = testing::TempDir() + "kestrune-replays-" + std::to_string(getpid()) + "/a/b";
    long now = 0;
    std::ostringstream errors;
    ReplayRecorder recorder([&now] { return now += 10; }, "test", errors);
    recorder.recordToFolder(folder, 3);
    BattlefieldSetup small;
    small.players = 2;
    SampleGame sample(small, 21, 0, 1, &recorder);
    for (int battlefield = 0; battlefield < 4; ++battlefield) {
        for (int shot = 0; shot < 2 && !sample.game.isLastManStanding(); ++shot) {
            const int player = sample.game.getCurrentPlayer();
            sample.game.apply(Command::Aim{player, 40.0 * shot, 30, 3});
            sample.game.apply(Command::Cast{player});
        }
        sample.game.apply(Command::NewBattlefield{});
    }
    EXPECT_EQ(errors.str(), "");
    const std::vector<std::string> files = replaysIn(folder);
    ASSERT_EQ(files.size(), 3u);
    for (const std::string& file : files) {
        std::string problem;
        const std::optional<Replay> replay = ReplayReader::read(file, problem);
        ASSERT_TRUE(replay) << problem;
        EXPECT_TRUE(checkReplay(*replay).agrees()) << verdictLine(*replay, checkReplay(*replay));
    }
    const std::string whole = textOf(files[1]);
    for (std::size_t end = whole.find('\n', whole.find('\n', whole.find('\n') + 1) + 1); end != std::string::npos;
         end = whole.find('\n', end + 1)) {
        std::string problem;
        const std::optional<Replay> cut = ReplayReader::parse(whole.substr(0, end + 1), "cut", problem);
        ASSERT_TRUE(cut) << problem;
        EXPECT_TRUE(checkReplay(*cut).agrees());
    }
}

TEST(ReplayChecker, OneCastsPowerChangedIsFoundAtThatShot)
{
    const Replay original = SampleGame(BattlefieldSetup(), 12, 6).replay("game.replay");
    EXPECT_EQ(verdictLine(original, checkReplay(original)), "game.replay: 6 shots, digests agree");
    Replay changed = original;
    int casts = 0;
    for (std::size_t i = 0; i < changed.steps.size(); ++i) {
        casts += std::holds_alternative<Command::Cast>(changed.steps[i].command) ? 1 : 0;
        if (casts == 3) {
            // The aim just before the third cast (a nova): with no power the
            // shot drops by its caster instead.
            std::get<Command::Aim>(changed.steps[i - 2].command).power = 0.0;
            break;
        }
    }
    const ReplayVerdict verdict = checkReplay(changed);
    EXPECT_EQ(verdict.firstDisagreement, 3);
    EXPECT_EQ(verdictLine(changed, verdict),
              "game.replay: shot 3 of 6 disagrees (line " + std::to_string(verdict.disagreementLine) + ")");
}

// Played back on a clock: each step when its tick comes, a cast not while the
// last shot is shown, and the game ends where the recording did.
TEST(ReplayPlayback, StepsComeAtTheirTicksAndACastWaitsForTheLastShot)
{
    SampleGame recorded(BattlefieldSetup(), 30, 3);
    std::ostringstream errors;
    ReplayPlayback playback(recorded.replay(), errors);
    SampleGame played(BattlefieldSetup(), 1, 0);
    playback.step(played.game, 5000, false);
    EXPECT_EQ(played.game.getBattlefieldSeed(), 30u);
    // Steps are 100 ticks apart: aim, spell, then the cast at 300.
    playback.step(played.game, 5250, false);
    EXPECT_EQ(playback.getShotsPlayed(), 0);
    playback.step(played.game, 5300, true);
    EXPECT_EQ(playback.getShotsPlayed(), 0);
    playback.step(played.game, 9000, false);
    EXPECT_EQ(playback.getShotsPlayed(), 1);
    // What followed the cast keeps its distance to it: nothing is due yet.
    const std::size_t applied = played.recorder.steps.size();
    playback.step(played.game, 9050, false);
    EXPECT_EQ(played.recorder.steps.size(), applied);
    for (long now = 9100; !playback.isFinished(); now += 100) {
        playback.step(played.game, now, false);
    }
    EXPECT_EQ(playback.getShotsPlayed(), 3);
    EXPECT_EQ(played.game.getDigest(), recorded.game.getDigest());
    EXPECT_EQ(errors.str(), "");
}
