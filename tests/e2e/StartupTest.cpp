// SPDX-License-Identifier: GPL-3.0-or-later
// The real game under the X server: start-up line, window, options and a clean
// exit on Escape or the window's close box.
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

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

TEST(EndToEndStartup, TheGameEndsWhenItsDisplayGoesAway)
{
    // An X server of the test's own, which it then takes away.
    const std::string display = ":" + std::to_string(300 + getpid() % 300);
    const pid_t server = fork();
    if (server == 0) {
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(server, 0);
    const std::string socket = "/tmp/.X11-unix/X" + display.substr(1);
    const auto deadline = std::chrono::steady_clock::now() + E2E_TIMEOUT;
    while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    {
        // Taken away once frames have been drawn, display lists and all.
        const std::string frames = artifactPath("display-goes-frames.log");
        std::filesystem::remove(frames);
        GameProcess game({}, "", {"DISPLAY=" + display, "KESTRUNE_FRAME_LOG=" + frames});
        bool started = game.waitForLine("Reshape 800 600");
        while (started && std::chrono::steady_clock::now() < deadline + E2E_TIMEOUT
               && (!std::filesystem::exists(frames) || std::filesystem::file_size(frames) < 200)) {
            game.pause(std::chrono::milliseconds(50));
        }
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        ASSERT_TRUE(started) << game.errorText();
        // It says why and ends; it used to spin for ever in its exit.
        EXPECT_TRUE(game.waitForExit().has_value()) << game.errorText();
        EXPECT_NE(game.errorText().find(display), std::string::npos) << game.errorText();
    }
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
