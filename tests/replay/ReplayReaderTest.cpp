// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "replay/ReplayFormat.h"
#include "replay/ReplayReader.h"
#include "support/SampleGame.h"

namespace {

const std::string HEADER = "kestrune-replay 1\ngame 0.2.0\n";
const std::string BATTLEFIELD = "0 battlefield seed=7 grid=15,15,20 players=2 size=1,1.8 cannon=0.5,0.9,0.5,1.15 "
                                "wind=on gravity=0,-0.98,0 radius=3 spell=fireball computers=1:hard names=Ada,*\n";

std::string problemOf(const std::string& text)
{
    std::string problem;
    EXPECT_FALSE(ReplayReader::parse(text, "f.replay", problem).has_value()) << text.substr(0, 200);
    return problem;
}

std::string temporaryPath(const std::string& name)
{
    return testing::TempDir() + "kestrune-reader-" + std::to_string(getpid()) + "-" + name;
}

} // namespace

// Every command a game tells comes back from its line exactly, doubles to
// the last bit, names with any byte.
TEST(ReplayFormat, EveryToldCommandReadsBackAsWritten)
{
    SampleGame sample(BattlefieldSetup(), 5, 3);
    std::vector<GameCommand> commands;
    for (const ReplayStep& step : sample.recorder.steps) {
        commands.push_back(step.command);
    }
    commands.insert(commands.end(), {Command::Aim{3, -0.1, 1e-300, 99.99999999999999},
                                     Command::Gravity{Vector(0.1, -9.8e11, 3)}, Command::Wind{Vector(1, 0, -1)},
                                     Command::Radius{2.5}, Command::Pass{1}, Command::Name{2, "Sir O'Brien-Nox_2."},
                                     Command::Name{0, std::string("a b\x7f\xff%", 7)},
                                     Command::Kind{std::nullopt, ComputerLevel::easy}, Command::Kind{5, std::nullopt}});
    for (const GameCommand& command : commands) {
        const std::string line = ReplayFormat::formatStep(1234, command);
        std::string problem;
        const std::optional<ReplayFormat::Step> read = ReplayFormat::parseStep(line, problem);
        ASSERT_TRUE(read) << line << ": " << problem;
        EXPECT_EQ(read->tick, 1234);
        EXPECT_EQ(ReplayFormat::formatStep(1234, read->command), line);
    }
}

// Broken and hostile files: each is refused with one line that names the
// file and the line.
TEST(ReplayReader, BrokenOrHostileTextIsRefusedWithItsLine)
{
    struct Case {
        std::string text;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {"", "f.replay: the file ends inside its header"},
        {"kestrune-replay 1\ngame 0.2", "f.replay:2: the line is cut short"},
        {HEADER, "f.replay: holds no battlefield"},
        {"kestrune-replay 2\n" + BATTLEFIELD, "f.replay:1: format version 2 is not one this game reads"},
        {"GIF89a\n", "f.replay:1: not a replay of this game"},
        {HEADER + "0 cast 0\n", "f.replay:3: a replay starts with a battlefield"},
        {HEADER + BATTLEFIELD + "5 aim 0 1e999 0 4\n", "f.replay:4: aim: a player id and three finite numbers"},
        {HEADER + BATTLEFIELD + "5 aim 64 0 0 4\n", "f.replay:4: aim: a player id"},
        {HEADER + BATTLEFIELD + "5 aim 0 0 0 4 4\n", "f.replay:4: aim takes 4 values"},
        {HEADER + BATTLEFIELD + "99999999999999999999 cast 0\n", "f.replay:4: the tick is not a whole number"},
        {HEADER + BATTLEFIELD + "9 cast 0\n8 cast 1\n", "f.replay:5: its tick is earlier"},
        {HEADER + BATTLEFIELD + "5 cast 0\ndigest 2 0123456789abcdef\n", "f.replay:5: the digest is of shot 2"},
        {HEADER + BATTLEFIELD + "digest 1 0123456789abcdef\n", "f.replay:4: a digest comes right after its cast"},
        {HEADER + BATTLEFIELD + "5 cast 0\ndigest 1 0123456789abcdeg\n", "f.replay:5: the digest is not 16"},
        {HEADER + BATTLEFIELD + "5 summon 0\n", "f.replay:4: no command is called summon"},
        {HEADER + BATTLEFIELD + "5  cast 0\n", "f.replay:4: not a tick and a command"},
        {HEADER + BATTLEFIELD + "5 cast 0\x01\n", "f.replay:4: holds a byte that is not printable text"},
        {HEADER + BATTLEFIELD + "5 cast " + std::string(1 << 20, '0') + "\n", "f.replay:4: longer than"},
        {HEADER + "0 battlefield seed=7 grid=257,15,20" + BATTLEFIELD.substr(34), "f.replay:3: the grid is not"},
        {HEADER + "0 battlefield seed=4294967296" + BATTLEFIELD.substr(20), "f.replay:3: the seed is not"},
        {HEADER + BATTLEFIELD.substr(0, BATTLEFIELD.size() - 3) + "\n", "f.replay:3: the battlefield names 1 casters"},
        {HEADER + BATTLEFIELD + "5 name 1 %G1\n", "f.replay:4: name: a player id and a name"},
    };
    for (const Case& broken : cases) {
        EXPECT_EQ(problemOf(broken.text).rfind(broken.problem, 0), 0u) << broken.problem << "\n" << problemOf(broken.text);
    }
    std::string problem;
    EXPECT_TRUE(ReplayReader::parse(HEADER + BATTLEFIELD + "5 cast 0\ndigest 1 0123456789abcdef\n", "f", problem));
}

// What stands where a replay should be: nothing, a folder, a FIFO with no
// writer, a file past the size a replay can have. None blocks or is read whole.
TEST(ReplayReader, OnlyARegularFileOfBoundedSizeIsRead)
{
    const std::string fifo = temporaryPath("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = temporaryPath("huge");
    const int fd = open(huge.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    // Sparse: several gigabytes claimed, nothing written.
    ASSERT_EQ(ftruncate(fd, 5LL * 1024 * 1024 * 1024), 0);
    close(fd);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {temporaryPath("missing"), "cannot be read"},
        {testing::TempDir(), "not a replay file but a folder"},
        {fifo, "not a replay file but a special file"},
        {huge, "larger than a replay can be"},
    };
    for (const auto& [path, problem] : cases) {
        std::string why;
        EXPECT_FALSE(ReplayReader::read(path, why).has_value());
        EXPECT_NE(why.find(path + ": " + problem), std::string::npos) << why;
    }
    unlink(fifo.c_str());
    unlink(huge.c_str());
}
