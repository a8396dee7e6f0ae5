// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include "controller/ControllerFixture.h"

TEST_F(ControllerTest, EveryPlayerStartsWithPowerFourAndNoAngles)
{
    for (int id = 0; id < 4; ++id) {
        EXPECT_EQ(game->getYaw(id), 0.0);
        EXPECT_EQ(game->getPitch(id), 0.0);
        EXPECT_EQ(game->getPower(id), 4.0);
    }
    EXPECT_EQ(game->getCurrentPlayer(), 0);
    EXPECT_EQ(game->getWeapon(), "fireball");
    EXPECT_EQ(view->getCharacters().getWeapon(), "fireball");
}

TEST_F(ControllerTest, ArrowsTurnAndTiltTheCannonWithoutLimits)
{
    special(GLUT_KEY_RIGHT, 10);
    EXPECT_EQ(game->getYaw(0), 100.0);
    special(GLUT_KEY_LEFT, 25);
    EXPECT_EQ(game->getYaw(0), -150.0);
    special(GLUT_KEY_UP, 100);
    EXPECT_EQ(game->getPitch(0), 100.0);
    special(GLUT_KEY_DOWN);
    EXPECT_EQ(game->getPitch(0), 99.0);
    keys("]]]][");
    EXPECT_EQ(game->getYaw(0), -147.0);
    // The view gets every change.
    EXPECT_EQ(view->getCharacters().getCannons().at(0).yaw, -147.0);
    EXPECT_EQ(view->getCharacters().getCannons().at(0).pitch, 99.0);
}

TEST_F(ControllerTest, PowerStaysBetweenZeroAndAHundred)
{
    special(GLUT_KEY_PAGE_UP, 2000);
    EXPECT_EQ(game->getPower(0), 100.0);
    special(GLUT_KEY_PAGE_UP);
    EXPECT_EQ(game->getPower(0), 100.0);
    special(GLUT_KEY_PAGE_DOWN, 999);
    EXPECT_NEAR(game->getPower(0), 0.1, 1e-9);
    controller->modifyPower(-0.05);
    EXPECT_NEAR(game->getPower(0), 0.05, 1e-9);
    special(GLUT_KEY_PAGE_DOWN);
    EXPECT_EQ(game->getPower(0), 0.0);
    EXPECT_EQ(view->getCharacters().getCannons().at(0).power, 0.0);
}

TEST_F(ControllerTest, OtherSpecialKeysOnlySaySo)
{
    EXPECT_EQ(special(GLUT_KEY_F1), Lines{"special key: "});
    EXPECT_EQ(special(GLUT_KEY_INSERT), Lines{"special key: "});
}

TEST_F(ControllerTest, EnterFiresThenPassesTheTurnAndWaitsForTheShot)
{
    Lines lines = keys("\r");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("Dead Players: ", 0) == 0; }),
              1);
    EXPECT_EQ(shots.spells, Lines{"fireball 3.000000"});
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_EQ(view->getCharacters().getCurrentPlayer(), 1);
    ASSERT_TRUE(view->isAnimating());
    // While the shot plays, aiming, firing and new games wait.
    EXPECT_EQ(keys("\r[]r"), Lines{});
    special(GLUT_KEY_RIGHT);
    special(GLUT_KEY_PAGE_UP);
    // Even an unbound special key stays silent while busy.
    EXPECT_EQ(special(GLUT_KEY_F1), Lines{});
    EXPECT_EQ(game->getYaw(1), 0.0);
    EXPECT_EQ(game->getPower(1), 4.0);
    EXPECT_EQ(shots.spells.size(), 1u);
    waitForTheShot();
    const Vector nose = model->getPlayer(1).getCannonNose(0, 0);
    keys("\r");
    EXPECT_EQ(shots.spells.size(), 2u);
    EXPECT_EQ(shots.lastTrajectory.front(), nose);
}

TEST_F(ControllerTest, NumberKeysChooseTheSpellForEveryone)
{
    keys("2");
    EXPECT_EQ(view->getCharacters().getWeapon(), "cyclone");
    keys("\r");
    waitForTheShot();
    keys("3\r");
    waitForTheShot();
    keys("1\r");
    EXPECT_EQ(shots.spells, (Lines{"cyclone", "nova", "fireball 3.000000"}));
    controller->setWeapon("thunderbolt");
    waitForTheShot();
    keys("\r");
    EXPECT_EQ(shots.spells.back(), "fireball 3.000000");
}

// While a replay plays, the keys and console lines that would change the game
// do nothing; when it ends the game is the players' again.
TEST_F(ControllerTest, AReplayHoldsTheGameUntilItHasEnded)
{
    Replay replay;
    replay.name = "r.replay";
    replay.steps.push_back({3, 0, Command::Battlefield{game->getSetup(), 77}, std::nullopt, 0});
    replay.steps.push_back({4, 5000, Command::Aim{0, 30, 20, 5}, std::nullopt, 0});
    replay.steps.push_back({5, 6000, Command::Cast{0}, std::nullopt, 0});
    printed([&] { controller->getReplayControl().playReplay(std::make_unique<ReplayPlayback>(replay, std::cerr)); });
    ASSERT_TRUE(controller->getReplayControl().isReplaying());
    keys("\r[2r");
    special(GLUT_KEY_LEFT);
    EXPECT_EQ(keys("`set grid 20 20 20\r").back(), "Model: a replay is playing; the game is yours again when it ends");
    EXPECT_EQ(model->getWidth(), 15);
    EXPECT_EQ(game->getYaw(0), 0.0);
    EXPECT_EQ(game->getWeapon(), "fireball");
    EXPECT_TRUE(shots.spells.empty());
    EXPECT_EQ(view->getOverlay().getReplayLine(), "Replay, shot 0 of 1: r.replay");
    clocks.clock.advance(7000);
    printed([&] { controller->idle(); });
    EXPECT_EQ(game->getYaw(0), 30.0);
    EXPECT_EQ(shots.spells.size(), 1u);
    waitForTheShot();
    printed([&] { controller->idle(); });
    EXPECT_FALSE(controller->getReplayControl().isReplaying());
    EXPECT_EQ(view->getOverlay().getReplayLine(), "");
    keys("\r");
    EXPECT_EQ(shots.spells.size(), 2u);
}

TEST_F(ControllerTest, CameraKeysMoveTheViewEvenDuringAShot)
{
    keys("\r");
    ASSERT_TRUE(view->isAnimating());
    const Vector start = view->getCamera().getAvatarPosition();
    keys("w");
    EXPECT_NE(view->getCamera().getAvatarPosition(), start);
    keys("s");
    EXPECT_EQ(view->getCamera().getAvatarPosition(), start);
    keys("a");
    keys("d");
    EXPECT_EQ(view->getCamera().getAvatarPosition(), start);
    keys("wwv");
    EXPECT_EQ(view->getCamera().getAvatarPosition(), Vector(-25, 25, 15));
    keys("f");
    EXPECT_TRUE(view->isShowingFPS());
    keys("f");
    EXPECT_FALSE(view->isShowingFPS());
    // Upper case letters are not the same keys.
    keys("W");
    EXPECT_EQ(view->getCamera().getAvatarPosition(), Vector(-25, 25, 15));
}

TEST_F(ControllerTest, ANewGameResetsTheAimsAndTheTurn)
{
    special(GLUT_KEY_RIGHT, 3);
    keys("\r");
    waitForTheShot();
    special(GLUT_KEY_UP, 2);
    keys("r");
    EXPECT_EQ(game->getCurrentPlayer(), 0);
    EXPECT_EQ(view->getCharacters().getCurrentPlayer(), 0);
    for (int id = 0; id < 4; ++id) {
        EXPECT_EQ(game->getYaw(id), 0.0);
        EXPECT_EQ(game->getPitch(id), 0.0);
        EXPECT_EQ(game->getPower(id), 4.0);
    }
}

TEST_F(ControllerTest, FastRepeatKeysAreTheAimAndWalkKeysWhileTheConsoleIsClosed)
{
    for (unsigned char key : std::string("[]adsw")) {
        EXPECT_TRUE(controller->isKeyFastRepeat(key)) << key;
    }
    for (unsigned char key : std::string("\rrvf1W")) {
        EXPECT_FALSE(controller->isKeyFastRepeat(key)) << key;
    }
    EXPECT_TRUE(controller->isKeyFastRepeat(GLUT_KEY_F5));
    keys("`");
    EXPECT_FALSE(controller->isKeyFastRepeat(static_cast<unsigned char>('w')));
    EXPECT_TRUE(controller->isKeyFastRepeat(GLUT_KEY_LEFT));
}

TEST_F(ControllerTest, JoystickAxesAndButtonsActInTheirOrder)
{
    const Vector eye = view->getCamera().getAvatarPosition();
    controller->joystick(0, -500, 0, 0);
    EXPECT_NE(view->getCamera().getAvatarPosition(), eye);
    controller->joystick(0, 500, 0, 0);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - eye).getLength(), 0, 1e-9);
    // Within the dead zone nothing moves.
    controller->joystick(0, 100, -100, 100);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - eye).getLength(), 0, 1e-9);

    controller->joystick(1u << 9, 0, 0, 0);
    EXPECT_EQ(game->getYaw(0), 5.0);
    controller->joystick(1u << 11, 0, 0, 900);
    EXPECT_EQ(game->getPitch(0), 1.0);
    EXPECT_NEAR(game->getPower(0), 4.1, 1e-9);
    // Start fires; the rest of the same poll already aims for the next player.
    controller->joystick((1u << 7) | (1u << 8), 0, 0, 0);
    EXPECT_EQ(shots.spells.size(), 1u);
    EXPECT_EQ(game->getYaw(1), -5.0);
    // Now busy: aiming buttons wait, the camera ones still work.
    controller->joystick((1u << 8) | (1u << 1), 0, 0, 0);
    EXPECT_EQ(game->getYaw(1), -5.0);
}

TEST_F(TwoPlayers, AShooterKilledByItsOwnShotHandsTheTurnOverWithoutAWinner)
{
    // Player 0 aims straight down with the cyclone: its own column.
    special(GLUT_KEY_DOWN, 90);
    keys("2");
    Lines lines = keys("\r");
    EXPECT_TRUE(model->getPlayer(0).isDead());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Dead Players: 1"), lines.end());
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("Last man standing", 0), std::string::npos) << line;
    }
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    waitForTheShot();
    lines = keys("1\r");
    EXPECT_EQ(lines.back(), "Last man standing 1");
    EXPECT_EQ(game->getCurrentPlayer(), 1);

    // The game is over: the winner is shown once the shot has been, and
    // nobody casts until "r" asks for a new battlefield.
    const std::size_t casts = shots.spells.size();
    waitForTheShot();
    controller->idle();
    const std::string first =
        model->getPlayer(1).isDead() ? "Nobody is left standing" : model->getPlayer(1).getName() + " wins";
    EXPECT_EQ(view->getAids().winnerLines(), (Lines{first, "r: new battlefield"}));
    EXPECT_EQ(keys("\r"), Lines{});
    controller->fire();
    controller->joystick(1u << 7, 0, 0, 0);
    EXPECT_EQ(shots.spells.size(), casts);
    controller->idle();
    EXPECT_FALSE(view->getAids().winnerLines().empty());
    keys("r");
    EXPECT_TRUE(view->getAids().winnerLines().empty());
    keys("\r");
    EXPECT_EQ(shots.spells.size(), casts + 1);
}

TEST_F(ControllerTest, HomeAndEndStepThePowerByOneWithinItsLimits)
{
    EXPECT_EQ(special(GLUT_KEY_HOME, 3), Lines{});
    EXPECT_EQ(game->getPower(0), 7.0);
    special(GLUT_KEY_END, 10);
    EXPECT_EQ(game->getPower(0), 0.0);
    EXPECT_EQ(special(GLUT_KEY_END), Lines{});
    EXPECT_EQ(game->getPower(0), 0.0);
    special(GLUT_KEY_HOME, 150);
    EXPECT_EQ(game->getPower(0), 100.0);
    EXPECT_EQ(view->getCharacters().getCannons().at(0).power, 100.0);
}

TEST_F(ControllerTest, CameraKeysToggleTheAutomaticCameraAndZoom)
{
    EXPECT_TRUE(view->getCamera().isAutoCameraEnabled());
    keys("c");
    EXPECT_FALSE(view->getCamera().isAutoCameraEnabled());
    keys("c");
    EXPECT_TRUE(view->getCamera().isAutoCameraEnabled());
    // Zooming moves the eye along the view direction and takes the camera
    // over by hand; so do the wheel's clicks.
    const Vector eye = view->getCamera().getAvatarPosition();
    const Vector direction = (view->getCamera().getAvatarTarget() - eye).getNormalizedCopy();
    keys("+");
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
    EXPECT_FALSE(view->getCamera().getAutoCamera().isDirecting());
    keys("-=");
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
    controller->mouseButton(4, GLUT_DOWN);
    controller->mouseButton(4, GLUT_UP);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - eye).getLength(), 0, 1e-9);
    controller->mouseButton(3, GLUT_DOWN);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
}

TEST_F(NoPlayers, ABattlefieldWithoutPlayersIgnoresTheTurnKeys)
{
    EXPECT_EQ(keys("\r[]"), Lines{});
    special(GLUT_KEY_LEFT);
    special(GLUT_KEY_PAGE_UP);
    controller->nextPlayer();
    controller->joystick(0xFFFFu, 0, 0, 900);
    EXPECT_TRUE(shots.spells.empty());
    EXPECT_EQ(game->getCurrentPlayer(), 0);
}
