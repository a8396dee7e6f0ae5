// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <algorithm>
#include <memory>

#include "app/Main.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"
#include "replay/ReplayPlayback.h"
#include "support/RecordingListener.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

namespace {

using Lines = std::vector<std::string>;

// Remembers what kind of spell each shot was, and a radius bomb's radius.
class SpellRecorder : public RecordingListener {
public:
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override
    {
        RecordingListener::onProjectile(playerId, projectile, trajectory, removedBlocks, fallingBlocks,
                                        playerFalls, damages, killedPlayers);
        if (auto* bomb = dynamic_cast<RadiusBomb*>(projectile)) {
            spells.push_back("fireball " + std::to_string(bomb->getRadius()));
        } else if (dynamic_cast<VerticalStrike*>(projectile) != nullptr) {
            spells.push_back("cyclone");
        } else {
            spells.push_back("nova");
        }
    }
    std::vector<std::string> spells;
};

// The game's three objects wired as the entry point wires them, on a seeded
// battlefield, in the test GL window.
class ControllerTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Main::seedRandom(31);
        model = std::make_unique<ArenaModel>(players(), 15, 15, 20, RandomStream(31));
        game = std::make_unique<Game>(*model);
        controller = std::make_unique<ArenaController>(*game, *view, clocks.time);
        model->addListener(view.get());
        model->addListener(controller.get());
        model->addListener(&shots);
        printed([&] {
            view->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
            model->reset();
            controller->initialize(400, 100);
            controller->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
        });
    }
    void TearDown() override
    {
        controller.reset();
        ViewTest::TearDown();
        game.reset();
        model.reset();
    }
    virtual int players() const { return 4; }

    Lines keys(const std::string& typed)
    {
        return printed([&] {
            for (char key : typed) {
                controller->keyboard(static_cast<unsigned char>(key));
            }
        });
    }
    Lines special(int key, int times = 1)
    {
        return printed([&] {
            for (int i = 0; i < times; ++i) {
                controller->specialKeyboard(key);
            }
        });
    }
    // Lets the view play everything out, a frame at a time.
    void waitForTheShot()
    {
        for (int frame = 0; frame < 200 && view->isAnimating(); ++frame) {
            clocks.clock.advance(100);
            printed([&] {
                view->renderTerrain();
                view->renderAnimations();
            });
        }
        ASSERT_FALSE(view->isAnimating());
    }

    std::unique_ptr<ArenaModel> model;
    std::unique_ptr<Game> game; // listens to the model before the others
    std::unique_ptr<ArenaController> controller;
    SpellRecorder shots;
};

class TwoPlayers : public ControllerTest {
protected:
    int players() const override { return 2; }
};

class NoPlayers : public ControllerTest {
protected:
    int players() const override { return 0; }
};

} // namespace

TEST_F(ControllerTest, EveryPlayerStartsWithPowerFourAndNoAngles)
{
    for (int id = 0; id < 4; ++id) {
        EXPECT_EQ(game->getYaw(id), 0.0);
        EXPECT_EQ(game->getPitch(id), 0.0);
        EXPECT_EQ(game->getPower(id), 4.0);
    }
    EXPECT_EQ(game->getCurrentPlayer(), 0);
    EXPECT_EQ(game->getWeapon(), "fireball");
    EXPECT_EQ(view->getWeapon(), "fireball");
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
    EXPECT_EQ(view->getCannons().at(0).yaw, -147.0);
    EXPECT_EQ(view->getCannons().at(0).pitch, 99.0);
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
    EXPECT_EQ(view->getCannons().at(0).power, 0.0);
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
    EXPECT_EQ(view->getCurrentPlayer(), 1);
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
    EXPECT_EQ(view->getWeapon(), "cyclone");
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
    EXPECT_EQ(view->getReplayLine(), "Replay, shot 0 of 1: r.replay");
    clocks.clock.advance(7000);
    printed([&] { controller->idle(); });
    EXPECT_EQ(game->getYaw(0), 30.0);
    EXPECT_EQ(shots.spells.size(), 1u);
    waitForTheShot();
    printed([&] { controller->idle(); });
    EXPECT_FALSE(controller->getReplayControl().isReplaying());
    EXPECT_EQ(view->getReplayLine(), "");
    keys("\r");
    EXPECT_EQ(shots.spells.size(), 2u);
}

TEST_F(ControllerTest, CameraKeysMoveTheViewEvenDuringAShot)
{
    keys("\r");
    ASSERT_TRUE(view->isAnimating());
    const Vector start = view->getAvatarPosition();
    keys("w");
    EXPECT_NE(view->getAvatarPosition(), start);
    keys("s");
    EXPECT_EQ(view->getAvatarPosition(), start);
    keys("a");
    keys("d");
    EXPECT_EQ(view->getAvatarPosition(), start);
    keys("wwv");
    EXPECT_EQ(view->getAvatarPosition(), Vector(-25, 25, 15));
    keys("f");
    EXPECT_TRUE(view->isShowingFPS());
    keys("f");
    EXPECT_FALSE(view->isShowingFPS());
    // Upper case letters are not the same keys.
    keys("W");
    EXPECT_EQ(view->getAvatarPosition(), Vector(-25, 25, 15));
}

TEST_F(ControllerTest, ANewGameResetsTheAimsAndTheTurn)
{
    special(GLUT_KEY_RIGHT, 3);
    keys("\r");
    waitForTheShot();
    special(GLUT_KEY_UP, 2);
    keys("r");
    EXPECT_EQ(game->getCurrentPlayer(), 0);
    EXPECT_EQ(view->getCurrentPlayer(), 0);
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

TEST_F(ControllerTest, MouseLookTurnsTheViewAndIgnoresTheRecentringEvent)
{
    ArenaView reference(clocks.time);
    reference.moveAvatarVision(-20, 0.03);
    const int centre = GL_TEST_WINDOW_SIDE / 2;
    controller->mousePassiveMotion(centre + 50, centre - 3);
    EXPECT_NEAR((view->getAvatarTarget() - reference.getAvatarTarget()).getLength(), 0, 1e-9);
    controller->mousePassiveMotion(centre, centre);
    EXPECT_NEAR((view->getAvatarTarget() - reference.getAvatarTarget()).getLength(), 0, 1e-9);
}

TEST_F(ControllerTest, MouseEntryIsReported)
{
    EXPECT_EQ(printed([&] { controller->mouseEntry(GLUT_LEFT); }), Lines{"Mouse left window"});
    EXPECT_EQ(printed([&] { controller->mouseEntry(GLUT_ENTERED); }), Lines{"Mouse entered window"});
}

TEST_F(ControllerTest, JoystickAxesAndButtonsActInTheirOrder)
{
    const Vector eye = view->getAvatarPosition();
    controller->joystick(0, -500, 0, 0);
    EXPECT_NE(view->getAvatarPosition(), eye);
    controller->joystick(0, 500, 0, 0);
    EXPECT_NEAR((view->getAvatarPosition() - eye).getLength(), 0, 1e-9);
    // Within the dead zone nothing moves.
    controller->joystick(0, 100, -100, 100);
    EXPECT_NEAR((view->getAvatarPosition() - eye).getLength(), 0, 1e-9);

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
    EXPECT_EQ(view->winnerLines(), (Lines{first, "r: new battlefield"}));
    EXPECT_EQ(keys("\r"), Lines{});
    controller->fire();
    controller->joystick(1u << 7, 0, 0, 0);
    EXPECT_EQ(shots.spells.size(), casts);
    controller->idle();
    EXPECT_FALSE(view->winnerLines().empty());
    keys("r");
    EXPECT_TRUE(view->winnerLines().empty());
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
    EXPECT_EQ(view->getCannons().at(0).power, 100.0);
}

TEST_F(ControllerTest, TheSightShowsTheFirstQuarterOfTheAimsPathOnAHumansTurn)
{
    EXPECT_TRUE(view->getSight().empty());
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
    ASSERT_GE(view->getSight().size(), 2u);
    EXPECT_EQ(view->getSight(), quarterOf(0));
    const std::list<Vector> whole =
        model->getShotTrajectory(0, game->getYaw(0), game->getPitch(0), game->getPower(0));
    EXPECT_NEAR(length(view->getSight()), length(std::vector<Vector>(whole.begin(), whole.end())) / 4, 1e-9);
    EXPECT_EQ(view->getSight().front(), model->getPlayer(0).getCannonNose(0, 30));
    // It follows the aim, the wind included.
    const std::vector<Vector> before = view->getSight();
    special(GLUT_KEY_RIGHT);
    EXPECT_NE(view->getSight(), before);
    EXPECT_EQ(view->getSight(), quarterOf(0));
    printed([&] { model->handleConsoleCommand("set wind 0.3 0 0"); });
    controller->getTurnAim().updateSight();
    EXPECT_EQ(view->getSight(), quarterOf(0));

    // Hidden on a computer player's turn, back on the next human's.
    controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
    keys("\r");
    EXPECT_EQ(game->getCurrentPlayer(), 1);
    EXPECT_TRUE(view->getSight().empty());
    controller->getComputerTurns().setHuman(1);
    controller->getTurnAim().updateSight();
    EXPECT_EQ(view->getSight(), quarterOf(1));
    keys("t");
    EXPECT_TRUE(view->getSight().empty());
}

TEST_F(ControllerTest, CameraKeysToggleTheAutomaticCameraAndZoom)
{
    EXPECT_TRUE(view->isAutoCameraEnabled());
    keys("c");
    EXPECT_FALSE(view->isAutoCameraEnabled());
    keys("c");
    EXPECT_TRUE(view->isAutoCameraEnabled());
    // Zooming moves the eye along the view direction and takes the camera
    // over by hand; so do the wheel's clicks.
    const Vector eye = view->getAvatarPosition();
    const Vector direction = (view->getAvatarTarget() - eye).getNormalizedCopy();
    keys("+");
    EXPECT_NEAR((view->getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
    EXPECT_FALSE(view->getAutoCamera().isDirecting());
    keys("-=");
    EXPECT_NEAR((view->getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
    controller->mouseButton(4, GLUT_DOWN);
    controller->mouseButton(4, GLUT_UP);
    EXPECT_NEAR((view->getAvatarPosition() - eye).getLength(), 0, 1e-9);
    controller->mouseButton(3, GLUT_DOWN);
    EXPECT_NEAR((view->getAvatarPosition() - (eye + direction)).getLength(), 0, 1e-9);
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
    const Lines said = keys("\r");

    EXPECT_FALSE(controller->getSetupDialog().isOpen());
    EXPECT_FALSE(view->isShowingSetupScreen());
    EXPECT_EQ(running({0}), byConsole);
    EXPECT_NE(model->getPlayer(1).getName(), "ada stone");
    EXPECT_EQ(std::count(said.begin(), said.end(), "New Map: 64 64 32"), 1) << ::testing::PrintToString(said);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].players, 2);
    EXPECT_EQ(started[0].seats[1].computer, ComputerLevel::hard);
    EXPECT_EQ(controller->getSetupDialog().getSetup(), started[0]);
    // The screen opens again on what was started.
    special(GLUT_KEY_F2);
    EXPECT_EQ(controller->getSetupDialog().getLiveSetup(), started[0]);
}

TEST_F(NewGameScreen, WhileItIsOpenNoKeyReachesTheGameAndEscapeOnlyClosesIt)
{
    special(GLUT_KEY_F2);
    ASSERT_TRUE(view->isShowingSetupScreen());
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
    EXPECT_FALSE(view->isShowingSetupScreen());
    EXPECT_EQ(model->getNumberOfPlayers(), 4);
    EXPECT_EQ(special(GLUT_KEY_LEFT), Lines{});
    EXPECT_NE(game->getYaw(0), yaw);
}
