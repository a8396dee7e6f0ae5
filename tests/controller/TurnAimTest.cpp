// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include "app/KeyReceiver.h"
#include "controller/ControllerFixture.h"

TEST_F(ControllerTest, TheSightShowsTheFirstQuarterOfTheAimsPathOnAHumansTurn)
{
    EXPECT_TRUE(view->getAids().getSight().empty());
    keys("t");
    auto quarterOf = [&](int id) {
        return TurnAim::firstQuarter(
            model->getShotTrajectory(id, game->getYaw(id), game->getPitch(id), game->getPower(id)));
    };
    auto length = [](const std::vector<Vector>& path) {
        double total = 0;
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            total += (path[i + 1] - path[i]).getLength();
        }
        return total;
    };
    special(GLUT_KEY_UP, 30);
    special(GLUT_KEY_HOME, 10);
    ASSERT_GE(view->getAids().getSight().size(), 2u);
    EXPECT_EQ(view->getAids().getSight(), quarterOf(0));
    const std::list<Vector> whole =
        model->getShotTrajectory(0, game->getYaw(0), game->getPitch(0), game->getPower(0));
    EXPECT_NEAR(length(view->getAids().getSight()), length(std::vector<Vector>(whole.begin(), whole.end())) / 4, 1e-9);
    EXPECT_EQ(view->getAids().getSight().front(), model->getPlayer(0).getCannonNose(0, 30));
    // It follows the aim, the wind included.
    const std::vector<Vector> before = view->getAids().getSight();
    special(GLUT_KEY_RIGHT);
    EXPECT_NE(view->getAids().getSight(), before);
    EXPECT_EQ(view->getAids().getSight(), quarterOf(0));
    printed([&] { model->handleConsoleCommand("set wind 0.3 0 0"); });
    controller->getTurnAim().updateSight();
    EXPECT_EQ(view->getAids().getSight(), quarterOf(0));

    // Hidden on a computer player's turn, back on the next human's.
    controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
    keys("\r");
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_TRUE(view->getAids().getSight().empty());
    controller->getComputerTurns().setHuman(1);
    controller->getTurnAim().updateSight();
    EXPECT_EQ(view->getAids().getSight(), quarterOf(1));
    keys("t");
    EXPECT_TRUE(view->getAids().getSight().empty());
}

TEST_F(ControllerTest, TheWindowShowsEveryCastersAimFromTheStartOfABattlefield)
{
    printed([&] { game->apply(Command::NewBattlefield{5}); });
    for (int id = 0; id < model->getNumberOfPlayers(); ++id) {
        const ViewCannon shown = view->getCharacters().getCannon(id);
        EXPECT_EQ(shown.power, game->getPower(id)) << id;
        EXPECT_GT(shown.power, 0.0) << id;
    }
}

TEST_F(ControllerTest, WithShiftTheAimingKeysStepATenthAsFar)
{
    struct Step {
        int key;
        double yaw, pitch, power;
    };
    // Home has no finer step: with Shift it steps as without.
    for (const Step& step : {Step{GLUT_KEY_LEFT, -1, 0, 0}, Step{GLUT_KEY_RIGHT, 1, 0, 0}, Step{GLUT_KEY_UP, 0, 0.1, 0},
                             Step{GLUT_KEY_DOWN, 0, -0.1, 0}, Step{GLUT_KEY_PAGE_UP, 0, 0, 0.01},
                             Step{GLUT_KEY_PAGE_DOWN, 0, 0, -0.01}, Step{GLUT_KEY_HOME, 0, 0, 1}}) {
        SCOPED_TRACE(step.key);
        const double yaw = game->getYaw(0), pitch = game->getPitch(0), power = game->getPower(0);
        EXPECT_TRUE(special(step.key | SHIFTED_KEY).empty());
        EXPECT_NEAR(game->getYaw(0) - yaw, step.yaw, 1e-9);
        EXPECT_NEAR(game->getPitch(0) - pitch, step.pitch, 1e-9);
        EXPECT_NEAR(game->getPower(0) - power, step.power, 1e-9);
    }
    // Shift itself is no key of its own.
    EXPECT_TRUE(special(GLUT_KEY_SHIFT_L).empty());
}
