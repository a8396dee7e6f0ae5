// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

// Parses words as the game would see them after the program name.
struct Parsed {
    CommandLine options;
    std::string errors;
};

Parsed parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "kestrune");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::ostringstream errors;
    CommandLine options = parseCommandLine(static_cast<int>(words.size()), argv.data(), errors);
    return {options, errors.str()};
}

} // namespace

TEST(CommandLine, NoArgumentsGiveTheDefaults)
{
    Parsed parsed = parse({});
    EXPECT_FALSE(parsed.options.fullscreen);
    EXPECT_EQ(startupLine(parsed.options), "800x600:16 at 400,100");
    EXPECT_FALSE(parsed.options.seedGiven);
    EXPECT_EQ(parsed.errors, "");
}

TEST(CommandLine, EveryValueOptionIsRead)
{
    Parsed parsed = parse({"-w", "1024", "-h", "768", "-d", "32", "-x", "-5", "-y", "7"});
    EXPECT_EQ(startupLine(parsed.options), "1024x768:32 at -5,7");
    EXPECT_EQ(parsed.errors, "");
}

TEST(CommandLine, FullScreenBuildsTheGameModeString)
{
    Parsed parsed = parse({"-f", "-w", "1024", "-h", "768", "-d", "32"});
    EXPECT_TRUE(parsed.options.fullscreen);
    EXPECT_EQ(gameModeString(parsed.options), "1024x768:32");
    EXPECT_EQ(startupLine(parsed.options), "1024x768:32 at 400,100");
}

TEST(CommandLine, UnknownWordsAreIgnored)
{
    Parsed parsed = parse({"--fast", "-W", "1024", "w", "-ww", "9"});
    EXPECT_EQ(startupLine(parsed.options), "800x600:16 at 400,100");
    EXPECT_EQ(parsed.errors, "");
}

TEST(CommandLine, ValuesAreNotSkippedSoAValueCanBeAnOption)
{
    // "-w -f": -w takes atoi("-f") = 0, then "-f" is read as an option itself.
    Parsed parsed = parse({"-w", "-f"});
    EXPECT_TRUE(parsed.options.fullscreen);
    EXPECT_EQ(parsed.options.width, 800);

    // "-x -y 5": -x takes atoi("-y") = 0, then "-y 5".
    parsed = parse({"-x", "-y", "5"});
    EXPECT_EQ(parsed.options.x, 0);
    EXPECT_EQ(parsed.options.y, 5);
}

TEST(CommandLine, ValuesReadLikeAtoi)
{
    Parsed parsed = parse({"-w", "1024px", "-h", "  640", "-d", "abc", "-x", "+12"});
    EXPECT_EQ(parsed.options.width, 1024);
    EXPECT_EQ(parsed.options.height, 640);
    EXPECT_EQ(parsed.options.depth, 0);
    EXPECT_EQ(parsed.options.x, 12);
}

TEST(CommandLine, TheLastOfARepeatedOptionWins)
{
    Parsed parsed = parse({"-w", "640", "-w", "1280"});
    EXPECT_EQ(parsed.options.width, 1280);
}

TEST(CommandLine, AZeroOrNegativeSizeFallsBackToTheDefaultWithAWarning)
{
    Parsed parsed = parse({"-w", "abc", "-h", "-20"});
    EXPECT_EQ(parsed.options.width, 800);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_NE(parsed.errors.find("-w 0"), std::string::npos);
    EXPECT_NE(parsed.errors.find("-h -20"), std::string::npos);
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 2);
}

TEST(CommandLine, AnAbsurdlyLargeSizeFallsBackToTheDefault)
{
    Parsed parsed = parse({"-w", "99999999999999999999", "-h", "20000"});
    EXPECT_EQ(parsed.options.width, 800);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 2);
}

TEST(CommandLine, AValueOptionGivenLastWarnsAndKeepsItsValue)
{
    Parsed parsed = parse({"-w", "1024", "-h"});
    EXPECT_EQ(parsed.options.width, 1024);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_NE(parsed.errors.find("-h needs a value"), std::string::npos);
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1);

    parsed = parse({"-x"});
    EXPECT_EQ(parsed.options.x, 400);
    EXPECT_NE(parsed.errors.find("-x needs a value"), std::string::npos);
}

TEST(CommandLine, SeedIsReadAsAWholeNumber)
{
    Parsed parsed = parse({"--seed", "42"});
    EXPECT_TRUE(parsed.options.seedGiven);
    EXPECT_EQ(parsed.options.seed, 42u);
    EXPECT_EQ(parsed.errors, "");
    // The seed's value is a word of its own to the option loop: it matches nothing.
    EXPECT_EQ(startupLine(parsed.options), "800x600:16 at 400,100");
}

TEST(CommandLine, ABadSeedWarnsAndIsIgnored)
{
    for (std::vector<std::string> words : {std::vector<std::string>{"--seed", "abc"},
                                           std::vector<std::string>{"--seed", "-3"},
                                           std::vector<std::string>{"--seed", "12x"},
                                           std::vector<std::string>{"--seed", "99999999999"},
                                           std::vector<std::string>{"--seed"}}) {
        Parsed parsed = parse(words);
        EXPECT_FALSE(parsed.options.seedGiven) << words.back();
        EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1) << words.back();
    }
}

TEST(CommandLine, DataDirNamesAFolder)
{
    Parsed parsed = parse({"--data-dir", "/opt/kestrune/res", "-w", "640"});
    EXPECT_EQ(parsed.options.dataDir, "/opt/kestrune/res");
    EXPECT_EQ(parsed.options.width, 640);
    EXPECT_EQ(parsed.errors, "");
    parsed = parse({"--data-dir"});
    EXPECT_EQ(parsed.options.dataDir, "");
    EXPECT_NE(parsed.errors.find("--data-dir needs a folder"), std::string::npos);
    parsed = parse({"--data-dir", ""});
    EXPECT_EQ(parsed.options.dataDir, "");
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1);
}

TEST(CommandLine, HelpIsFoundAnywhereAfterTheProgramName)
{
    std::string name = "kestrune";
    std::string help = "--help";
    std::string width = "-w";
    char* withHelp[] = {name.data(), width.data(), help.data(), nullptr};
    char* without[] = {name.data(), width.data(), nullptr};
    EXPECT_TRUE(wantsHelp(3, withHelp));
    EXPECT_FALSE(wantsHelp(2, without));
}

TEST(CommandLine, UsageNamesEveryOption)
{
    std::ostringstream usage;
    printUsage(usage);
    for (const char* option : {"-f", "-w N", "-h N", "-d N", "-x N", "-y N", "--seed N", "--data-dir DIR", "--help",
                               "--computer LIST", "--level LEVEL", "--no-autocamera", "--version", "--players N", "--grid W D H",
                               "--wind", "--no-wind", "--no-settings"}) {
        EXPECT_NE(usage.str().find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, TheVersionIsAskedForAnywhereAndNamesTheProjectsVersion)
{
    std::string name = "kestrune";
    std::string width = "-w";
    std::string version = "--version";
    char* asked[] = {name.data(), width.data(), version.data(), nullptr};
    char* notAsked[] = {name.data(), width.data(), nullptr};
    EXPECT_TRUE(wantsVersion(3, asked));
    EXPECT_FALSE(wantsVersion(2, notAsked));
    EXPECT_EQ(versionLine(), std::string("kestrune ") + KESTRUNE_VERSION);
}

TEST(CommandLine, TheAutomaticCameraIsOnUnlessSwitchedOff)
{
    EXPECT_TRUE(parse({}).options.autoCamera);
    EXPECT_FALSE(parse({"--no-autocamera"}).options.autoCamera);
}

TEST(CommandLine, ComputerPlayersAreIdsOrAllAtOneLevel)
{
    Parsed parsed = parse({});
    EXPECT_TRUE(parsed.options.computerIds.empty());
    EXPECT_FALSE(parsed.options.allComputers);
    EXPECT_EQ(parsed.options.level, ComputerLevel::normal);

    parsed = parse({"--computer", "1,3,0", "--level", "hard"});
    EXPECT_EQ(parsed.options.computerIds, (std::vector<int>{1, 3, 0}));
    EXPECT_EQ(parsed.options.level, ComputerLevel::hard);
    EXPECT_EQ(parsed.errors, "");

    parsed = parse({"--level", "easy", "--computer", "all"});
    EXPECT_TRUE(parsed.options.allComputers);
    EXPECT_EQ(parsed.options.level, ComputerLevel::easy);
    EXPECT_EQ(parsed.errors, "");
}

TEST(CommandLine, ABadComputerListOrLevelWarnsAndKeepsTheDefault)
{
    for (const char* list : {"1,,2", "1,x", "-1", "64", "1,", "", "ALL", "99999999999"}) {
        Parsed parsed = parse({"--computer", list});
        EXPECT_TRUE(parsed.options.computerIds.empty()) << list;
        EXPECT_FALSE(parsed.options.allComputers) << list;
        EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1) << list;
        EXPECT_NE(parsed.errors.find("every player is human"), std::string::npos) << parsed.errors;
    }
    Parsed parsed = parse({"--level", "deadly"});
    EXPECT_EQ(parsed.options.level, ComputerLevel::normal);
    EXPECT_EQ(parsed.errors, "kestrune: --level deadly is not easy, normal or hard; using normal\n");
    parsed = parse({"--computer"});
    EXPECT_EQ(parsed.errors, "kestrune: --computer needs a list of player ids or all; every player is human\n");
    parsed = parse({"--level"});
    EXPECT_EQ(parsed.errors, "kestrune: --level needs easy, normal or hard; using normal\n");
}

// --- The new game's set-up ---------------------------------------------------

namespace {

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(CommandLine, CastersBattlefieldAndWindAreReadAndBadValuesAreLeftOutWithALineEach)
{
    Parsed good = parse({"--players", "2", "--grid", "64", "64", "32", "--wind", "--no-settings"});
    EXPECT_EQ(good.errors, "");
    EXPECT_EQ(good.options.players, 2);
    EXPECT_EQ(good.options.grid, (std::array<int, 3>{64, 64, 32}));
    EXPECT_EQ(good.options.wind, true);
    EXPECT_FALSE(good.options.settings);
    EXPECT_EQ(parse({"--wind", "--no-wind"}).options.wind, false);
    EXPECT_FALSE(parse({}).options.wind.has_value());
    EXPECT_TRUE(parse({}).options.settings);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--players", "1"}, {"--players", "9"}, {"--players", "three"}, {"--players", "-2"}, {"--players"},
             {"--grid", "257", "10", "10"}, {"--grid", "0", "10", "10"}, {"--grid", "256", "256", "62"},
             {"--grid", "10", "10"}, {"--grid", "10", "x", "10"}, {"--grid", "2", "2", "1"}}) {
        Parsed parsed = parse(bad);
        EXPECT_EQ(lineCount(parsed.errors), 1) << bad[0] << ": " << parsed.errors;
        EXPECT_FALSE(parsed.options.players.has_value());
        EXPECT_FALSE(parsed.options.grid.has_value());
    }
    EXPECT_EQ(parse({"--grid", "256", "256", "62"}).errors,
              "kestrune: --grid 256 256 62 refused: at most 256 cells a side and 4000000 cells in all; "
              "it is not used\n");
}

TEST(CommandLine, OptionsWinOverTheRememberedSetUp)
{
    GameSetup remembered;
    remembered.players = 3;
    remembered.width = 64;
    remembered.depth = 64;
    remembered.height = 32;
    remembered.seats[1].computer = ComputerLevel::easy;
    remembered.seats[2].name = "Ada";

    // Nothing given: the remembered set-up as it is.
    GameSetup setup = remembered;
    std::ostringstream errors;
    applyCommandLine(parse({}).options, setup, errors);
    EXPECT_EQ(setup, remembered);

    // --level alone: the remembered computer seats play at that level.
    applyCommandLine(parse({"--level", "hard", "--players", "2", "--wind"}).options, setup, errors);
    EXPECT_EQ(setup.players, 2);
    EXPECT_TRUE(setup.wind);
    EXPECT_EQ(setup.seats[1].computer, ComputerLevel::hard);
    EXPECT_EQ(setup.seats[2].name, "Ada");

    // --computer: every seat's kind comes from it.
    applyCommandLine(parse({"--computer", "0,3"}).options, setup, errors);
    EXPECT_EQ(setup.seats[0].computer, ComputerLevel::normal);
    EXPECT_FALSE(setup.seats[1].computer.has_value());
    EXPECT_EQ(setup.seats[3].computer, ComputerLevel::normal);
    EXPECT_EQ(errors.str(), "");
}

TEST(CommandLine, ABattlefieldTooSmallForTheCastersFallsBackToTheFirstOneWithALine)
{
    GameSetup setup;
    std::ostringstream errors;
    applyCommandLine(parse({"--players", "8", "--grid", "2", "2", "5"}).options, setup, errors);
    EXPECT_EQ(lineCount(errors.str()), 1) << errors.str();
    EXPECT_EQ(setup.players, 8);
    EXPECT_EQ(setup.width, GameSetup().width);
    EXPECT_EQ(setup.height, GameSetup().height);
}

TEST(CommandLine, ATurnTimeIsSecondsFromZeroToAnHourAndABadOneIsLeftOutWithALine)
{
    EXPECT_EQ(parse({"--turn-time", "12.5"}).options.turnTime, 12.5);
    EXPECT_EQ(parse({"--turn-time", "0"}).options.turnTime, 0.0);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--turn-time", "-1"}, {"--turn-time", "3601"}, {"--turn-time", "nan"}, {"--turn-time", "9s"},
             {"--turn-time"}}) {
        Parsed parsed = parse(bad);
        EXPECT_EQ(lineCount(parsed.errors), 1) << parsed.errors;
        EXPECT_FALSE(parsed.options.turnTime.has_value());
    }
    EXPECT_EQ(parse({"--turn-time", "-1"}).errors,
              "kestrune: --turn-time -1 is not a number of seconds from 0 to 3600; no turn limit\n");
}
