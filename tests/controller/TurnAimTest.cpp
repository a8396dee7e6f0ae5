// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

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
