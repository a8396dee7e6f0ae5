// SPDX-License-Identifier: GPL-3.0-or-later
// The real game under the X server: start-up line, window, options and a clean
// exit on Escape or the window's close box.
#include <gtest/gtest.h>

#include "support/GameProcess.h"

TEST(EndToEndStartup, DefaultWindowPrintsItsSettingsAndEscapeQuitsCleanly)
{
    GameProcess game;
    ASSERT_TRUE(game.waitForLine("800x600:16 at 400,100")) << game.errorText();
    ASSERT_FALSE(game.window().empty()) << game.errorText();

    EXPECT_EQ(game.windowGeometry(), (std::array<int, 4>{400, 100, 800, 600}));

    std::string shot = artifactPath("startup.png");
    ASSERT_TRUE(game.screenshot(shot));
    auto size = imageSize(shot);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, std::make_pair(800, 600));

    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting")) << game.errorText();
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndStartup, ClosingTheWindowLeavesCleanly)
{
    GameProcess game;
    ASSERT_TRUE(game.waitForMatch("On player 3: .*")) << game.errorText();
    ASSERT_FALSE(game.window().empty()) << game.errorText();
    ASSERT_TRUE(game.closeWindow());
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errorText(), "");
}

TEST(EndToEndStartup, SizeOptionsShapeTheWindow)
{
    GameProcess game({"-w", "1024", "-h", "768"});
    ASSERT_TRUE(game.waitForLine("1024x768:16 at 400,100")) << game.errorText();
    EXPECT_EQ(game.windowGeometry(), (std::array<int, 4>{400, 100, 1024, 768}));
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
}

TEST(EndToEndStartup, PositionOptionsPlaceTheWindow)
{
    GameProcess game({"-x", "20", "-y", "30", "-w", "320", "-h", "240"});
    ASSERT_TRUE(game.waitForLine("320x240:16 at 20,30")) << game.errorText();
    EXPECT_EQ(game.windowGeometry(), (std::array<int, 4>{20, 30, 320, 240}));
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
}

TEST(EndToEndStartup, BadOptionsWarnAndTheGameStillStarts)
{
    GameProcess game({"-w", "zero", "--what", "-y"});
    ASSERT_TRUE(game.waitForLine("800x600:16 at 400,100")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_EQ(game.waitForExit(), 0);
    std::string errors = game.errorText();
    EXPECT_NE(errors.find("-w 0"), std::string::npos) << errors;
    EXPECT_NE(errors.find("-y needs a value"), std::string::npos) << errors;
}

TEST(EndToEndStartup, FullScreenFallsBackToAWindowWhereGameModeIsImpossible)
{
    GameProcess game({"-f", "-w", "640", "-h", "480", "-d", "32"});
    ASSERT_TRUE(game.waitForLine("640x480:32 at 400,100")) << game.errorText();
    ASSERT_FALSE(game.window().empty()) << game.errorText();
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_NE(game.errorText().find("opening a window instead"), std::string::npos)
        << game.errorText();
}

TEST(EndToEndStartup, HelpNeedsNoDisplayAndExitsAtOnce)
{
    auto usage = runCommand("env -u DISPLAY " + std::string(KESTRUNE_BINARY) + " --help");
    ASSERT_TRUE(usage.has_value());
    EXPECT_NE(usage->find("Usage: kestrune"), std::string::npos);
    EXPECT_NE(usage->find("--seed N"), std::string::npos);
}

TEST(EndToEndStartup, VersionIsAnsweredWithoutADisplay)
{
    // The same number as the build's project version, and nothing else.
    auto version = runCommand("env -u DISPLAY " + std::string(KESTRUNE_BINARY) + " --version -w 300; echo \"status $?\"");
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, std::string("kestrune ") + KESTRUNE_VERSION + "\nstatus 0\n");
}

TEST(EndToEndStartup, HeldAndTappedKeysDoNotDisturbTheGame)
{
    GameProcess game;
    ASSERT_TRUE(game.waitForLine("800x600:16 at 400,100"));
    ASSERT_TRUE(game.type("wasd[]"));
    ASSERT_TRUE(game.keyDown("Left"));
    ASSERT_TRUE(game.key("Page_Up"));
    ASSERT_TRUE(game.keyUp("Left"));
    EXPECT_TRUE(game.running());
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
}
