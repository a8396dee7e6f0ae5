// SPDX-License-Identifier: GPL-3.0-or-later
// Network play end to end: kestrune-server and two real game windows joined
// to it, driven by their keys; every one prints the same lines of the
// battlefield and its shots. A window killed mid-game is played by the
// computer and takes its seat back when started again; the server killed,
// the windows play on.
#include <gtest/gtest.h>

#include <signal.h>

#include <regex>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

constexpr const char* PORT = "27461";

// The lines a battlefield and its shots print, from the last "New Map" on.
std::vector<std::string> modelLines(GameProcess& process)
{
    static const std::regex model("New Map: .*|On player .*|Dead Players: .*|[0-9]+|Height damage: .*|"
                                  "Last man standing .*");
    std::vector<std::string> lines;
    for (const std::string& line : process.outputLines()) {
        if (line.rfind("New Map: ", 0) == 0) {
            lines.clear();
        }
        if (std::regex_match(line, model)) {
            lines.push_back(line);
        }
    }
    return lines;
}

// "Displaying the N blocks out of M": the battlefield after each shot.
std::vector<std::string> blockLines(GameProcess& window)
{
    std::vector<std::string> lines;
    for (const std::string& line : window.outputLines()) {
        if (line.rfind("New Map: ", 0) == 0) {
            lines.clear();
        }
        if (line.rfind("Displaying the ", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The cannon up a few degrees, a tap at a time.
void raise(GameProcess& window)
{
    for (int tap = 0; tap < 20; ++tap) {
        window.key("Up");
        window.pause(std::chrono::milliseconds(60));
    }
}

std::string stateFolder(const std::string& who)
{
    const std::string folder = artifactPath("network-" + who);
    runCommand("rm -rf '" + folder + "' && mkdir -p '" + folder + "'");
    return folder;
}

// Apart on the screen, so that neither covers the other's overlay.
GameProcess* startWindow(const std::string& name, const std::string& state)
{
    const bool first = name == "Ada";
    return new GameProcess({"--join", std::string("127.0.0.1:") + PORT, "--name", name, "-x", first ? "0" : "480",
                            "-y", first ? "0" : "424"},
                           "", {"XDG_STATE_HOME=" + state});
}

// The window's whole battlefield has begun: its player lines name both.
bool begun(GameProcess& window)
{
    return window.waitForMatch("On player 1: Bo .*", std::chrono::seconds(60)).has_value();
}

} // namespace

TEST(EndToEndNetwork, TwoWindowsPlayThroughTheServerAndPrintWhatItPrints)
{
    GameProcess server({"--port", PORT, "--players", "2", "--seed", "9", "--turn-time", "0"}, "", {},
                       KESTRUNE_SERVER_BINARY);
    ASSERT_TRUE(server.waitForLine(std::string("Listening on UDP port ") + PORT)) << server.errorText();
    std::unique_ptr<GameProcess> ada(startWindow("Ada", stateFolder("ada")));
    ASSERT_FALSE(ada->window().empty());
    std::unique_ptr<GameProcess> bo(startWindow("Bo", stateFolder("bo")));
    bo->ignoreWindow(ada->window());
    ASSERT_FALSE(bo->window().empty());
    ASSERT_TRUE(begun(*ada)) << outputTail(*ada) << ada->errorText();
    ASSERT_TRUE(begun(*bo)) << outputTail(*bo) << bo->errorText();
    ASSERT_TRUE(server.waitForMatch("On player 1: Bo .*")) << server.errorText();

    // Ada raises her cannon in her window and casts, then Bo from his. Where
    // the shots land (the blocks left) shows each window flew the same aim.
    ada->focus();
    raise(*ada);
    ASSERT_TRUE(fireWhenReady(*ada)) << ada->errorText();
    ASSERT_TRUE(bo->waitForMatch("Dead Players: .*")) << bo->errorText();
    bo->focus();
    raise(*bo);
    ASSERT_TRUE(fireWhenReady(*bo)) << bo->errorText() << server.errorText() << outputTail(*bo);
    ASSERT_TRUE(ada->waitForMatch("Dead Players: .*")) << ada->errorText();
    ASSERT_TRUE(server.waitForMatch("Dead Players: .*"));
    ASSERT_TRUE(server.waitForMatch("Dead Players: .*"));

    const std::vector<std::string> served = modelLines(server);
    EXPECT_GE(served.size(), 4u);
    EXPECT_EQ(modelLines(*ada), served);
    EXPECT_EQ(modelLines(*bo), served);
    // Each window counts the blocks left once the shot has landed there.
    for (GameProcess* window : {ada.get(), bo.get()}) {
        const auto deadline = std::chrono::steady_clock::now() + E2E_TIMEOUT;
        while (blockLines(*window).size() < 3 && std::chrono::steady_clock::now() < deadline) {
            window->pause(std::chrono::milliseconds(100));
        }
    }
    EXPECT_EQ(blockLines(*ada), blockLines(*bo));
    EXPECT_TRUE(ada->screenshot(artifactPath("network-ada.png")));

    for (GameProcess* window : {ada.get(), bo.get()}) {
        window->focus();
        ASSERT_TRUE(window->key("Escape"));
        EXPECT_EQ(window->waitForExit(), 0) << window->errorText();
    }
    server.signal(SIGTERM);
    EXPECT_EQ(server.waitForExit(), 0) << server.errorText();
}

TEST(EndToEndNetwork, AKilledWindowComesBackToItsSeatAndAKilledServerLeavesTheGamePlayingOn)
{
    GameProcess server({"--port", PORT, "--players", "2", "--seed", "4", "--turn-time", "0"}, "", {},
                       KESTRUNE_SERVER_BINARY);
    ASSERT_TRUE(server.waitForLine(std::string("Listening on UDP port ") + PORT)) << server.errorText();
    const std::string adaState = stateFolder("ada-2"), boState = stateFolder("bo-2");
    std::unique_ptr<GameProcess> ada(startWindow("Ada", adaState));
    ASSERT_FALSE(ada->window().empty());
    std::unique_ptr<GameProcess> bo(startWindow("Bo", boState));
    bo->ignoreWindow(ada->window());
    ASSERT_FALSE(bo->window().empty());
    ASSERT_TRUE(begun(*bo)) << bo->errorText();

    // Bo's machine dies without a word: after ten silent seconds a computer
    // plays his seat, and casts once Ada has.
    bo->signal(SIGKILL);
    bo->waitForExit();
    ada->focus();
    ASSERT_TRUE(fireWhenReady(*ada)) << ada->errorText();
    ASSERT_TRUE(server.waitForMatch("Dead Players: .*")) << server.errorText();
    ASSERT_TRUE(server.waitForMatch("Dead Players: .*", std::chrono::seconds(60))) << server.errorText();

    // Started again under his name, with his token, Bo has his seat back and
    // the whole battlefield as it stands.
    bo.reset(startWindow("Bo", boState));
    bo->ignoreWindow(ada->window());
    ASSERT_FALSE(bo->window().empty());
    ASSERT_TRUE(bo->waitForMatch("On player 1: Bo .*", std::chrono::seconds(60))) << bo->errorText();
    const std::vector<std::string> served = modelLines(server);
    const std::vector<std::string> shown = modelLines(*bo);
    // The player lines of the adopted state are the battlefield now.
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[0], served[0]);
    EXPECT_NE(server.errorText().find("Bo is back"), std::string::npos) << server.errorText();

    // The server dies: both windows say so and play on.
    server.signal(SIGKILL);
    server.waitForExit();
    for (GameProcess* window : {ada.get(), bo.get()}) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
        while (window->errorText().find("the server has gone; playing on locally") == std::string::npos
               && std::chrono::steady_clock::now() < deadline) {
            window->pause(std::chrono::milliseconds(200));
        }
        EXPECT_NE(window->errorText().find("the server has gone; playing on locally"), std::string::npos);
    }
    // Whoever's turn it is casts in Ada's window: her seat by her keys, Bo's
    // by the computer that plays it there now.
    ada->focus();
    ada->key("Return");
    EXPECT_TRUE(ada->waitForMatch("Dead Players: .*", std::chrono::seconds(60))) << ada->errorText();
    for (GameProcess* window : {ada.get(), bo.get()}) {
        window->focus();
        ASSERT_TRUE(window->key("Escape"));
        EXPECT_EQ(window->waitForExit(), 0) << window->errorText();
    }
}
