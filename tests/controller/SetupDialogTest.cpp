// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include "controller/ControllerFixture.h"

// --- The new-game screen ----------------------------------------------------

namespace {

// What a set-up decides, as the game runs it.
struct RunningSetup {
    int players;
    int width, depth, height;
    bool wind;
    std::vector<std::optional<ComputerLevel>> kinds;
    std::vector<std::string> names;
    bool operator==(const RunningSetup& other) const
    {
        return players == other.players && width == other.width && depth == other.depth
               && height == other.height && wind == other.wind && kinds == other.kinds && names == other.names;
    }
};

void PrintTo(const RunningSetup& setup, std::ostream* out)
{
    *out << setup.players << " casters on " << setup.width << " x " << setup.depth << " x " << setup.height
         << (setup.wind ? " with" : " without") << " wind;";
    for (const auto& kind : setup.kinds) {
        *out << " " << (kind ? levelName(*kind) : "human");
    }
    for (const auto& name : setup.names) {
        *out << "; " << name;
    }
}

} // namespace

class NewGameScreen : public ControllerTest {
protected:
    RunningSetup running(const std::vector<int>& namedIds) const
    {
        RunningSetup now{model->getNumberOfPlayers(), model->getWidth(), model->getDepth(), model->getHeight(),
                         model->isWindEnabled(), {}, {}};
        for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
            now.kinds.push_back(game->getComputerLevel(id));
        }
        for (int id : namedIds) {
            now.names.push_back(model->getPlayer(id).getName());
        }
        return now;
    }
    // A console line, handed round as the console hands it.
    void console(const std::string& line)
    {
        printed([&] {
            controller->handleConsoleCommand(line);
            view->handleConsoleCommand(line);
            model->handleConsoleCommand(line);
        });
    }
};

TEST_F(NewGameScreen, StartingASetUpMakesTheGameTheEquivalentConsoleLinesMake)
{
    for (const char* line : {"set players 2", "set grid 64 64 32", "enable wind", "set computer 1 hard",
                             "set player 0 ada stone"}) {
        console(line);
    }
    const RunningSetup byConsole = running({0});
    for (const char* line : {"set players 3", "set grid 15 15 20", "disable wind", "set human all"}) {
        console(line);
    }

    std::vector<GameSetup> started;
    controller->getSetupDialog().setSetupListener([&started](const GameSetup& setup) { started.push_back(setup); });
    special(GLUT_KEY_F2);
    EXPECT_TRUE(controller->getSetupDialog().isOpen());
    special(GLUT_KEY_LEFT);      // 2 casters
    special(GLUT_KEY_DOWN);
    keys("ada stone"); // the console reads its lines in lower case
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_RIGHT, 3);  // a hard computer
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_RIGHT);     // medium
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_RIGHT);     // wind
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_RIGHT, 2);  // the full sight
    const Lines said = keys("\r");

    EXPECT_FALSE(controller->getSetupDialog().isOpen());
    EXPECT_FALSE(view->getSetupPanel().isShowing());
    EXPECT_EQ(running({0}), byConsole);
    EXPECT_NE(model->getPlayer(1).getName(), "ada stone");
    EXPECT_EQ(std::count(said.begin(), said.end(), "New Map: 64 64 32"), 1) << ::testing::PrintToString(said);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].players, 2);
    EXPECT_EQ(started[0].seats[1].computer, ComputerLevel::hard);
    EXPECT_EQ(controller->getTurnAim().getSightMode(), AimingHelp::fullPath);
    EXPECT_EQ(controller->getSetupDialog().getSetup(), started[0]);
    // The screen opens again on what was started, and on the sight "t" chose.
    EXPECT_EQ(controller->getSetupDialog().getLiveSetup(), started[0]);
    keys("t");
    special(GLUT_KEY_F2);
    EXPECT_EQ(controller->getSetupDialog().getLiveSetup().aimingHelp, AimingHelp::none);
}

TEST_F(NewGameScreen, WhileItIsOpenNoKeyReachesTheGameAndEscapeOnlyClosesIt)
{
    special(GLUT_KEY_F2);
    ASSERT_TRUE(view->getSetupPanel().isShowing());
    const double yaw = game->getYaw(0);
    const Lines said = keys("2]t`r");
    special(GLUT_KEY_LEFT);
    special(GLUT_KEY_PAGE_UP);
    EXPECT_TRUE(said.empty()) << ::testing::PrintToString(said);
    EXPECT_EQ(game->getYaw(0), yaw);
    EXPECT_EQ(game->getPower(0), 4.0);
    EXPECT_EQ(game->getWeapon(), "fireball");
    EXPECT_FALSE(controller->getInput().getConsoleLine().isActive());
    EXPECT_FALSE(controller->getTurnAim().isSightOn());
    EXPECT_TRUE(controller->getInput().isTyping());
    EXPECT_FALSE(controller->isKeyFastRepeat(GLUT_KEY_LEFT));

    // Escape closes the screen, changes nothing and leaves the game running.
    keys("\x1b");
    EXPECT_FALSE(controller->getSetupDialog().isOpen());
    EXPECT_FALSE(view->getSetupPanel().isShowing());
    EXPECT_EQ(model->getNumberOfPlayers(), 4);
    EXPECT_EQ(special(GLUT_KEY_LEFT), Lines{});
    EXPECT_NE(game->getYaw(0), yaw);
}
