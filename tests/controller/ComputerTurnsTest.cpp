// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "support/RecordingListener.h"
#include "view/ViewFixture.h"

namespace {

using Lines = std::vector<std::string>;

// One cast as the model reported it.
struct Cast {
    int player;
    Vector from;
    Vector impact;
    bool operator==(const Cast& other) const
    {
        return player == other.player && from == other.from && impact == other.impact;
    }
};

class CastRecorder : public RecordingListener {
public:
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override
    {
        RecordingListener::onProjectile(playerId, projectile, trajectory, removedBlocks, fallingBlocks,
                                        playerFalls, damages, killedPlayers);
        casts.push_back(Cast{playerId, trajectory.front(), trajectory.back()});
    }
    std::vector<Cast> casts;
    int newMaps() const
    {
        return static_cast<int>(std::count_if(events.begin(), events.end(), [](const std::string& event) {
            return event.find(".onNewMap(") != std::string::npos;
        }));
    }
};

// Model, view and controller wired as the game wires them, on a seeded
// battlefield in the test window; frames are played on the scripted clock,
// which the controller's input clock and the view clock share.
class ComputerPlayers : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        build(2, 31);
    }
    void TearDown() override
    {
        controller.reset();
        ViewTest::TearDown();
        game.reset();
        model.reset();
    }

    void build(int players, unsigned int seed)
    {
        controller.reset();
        game.reset();
        Main::seedRandom(seed);
        model = std::make_unique<ArenaModel>(players, 15, 15, 20, RandomStream(seed));
        game = std::make_unique<Game>(*model);
        controller = std::make_unique<ArenaController>(*game, *view, clocks.time);
        recorder = std::make_unique<CastRecorder>();
        model->addListener(view.get());
        model->addListener(controller.get());
        model->addListener(recorder.get());
        printed([&] {
            view->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
            model->reset();
            controller->initialize(400, 100);
            controller->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
        });
    }

    Lines keys(const std::string& typed)
    {
        return printed([&] {
            for (char key : typed) {
                controller->keyboard(static_cast<unsigned char>(key));
            }
        });
    }
    Lines console(const std::string& line) { return keys("`" + line + "\r"); }

    // One idle step and one frame, milliseconds after the last.
    void frame(long milliseconds)
    {
        clocks.clock.advance(milliseconds);
        printed([&] {
            controller->idle();
            view->renderAnimations();
        });
    }
    // Frames until done says so, the computer's thinking finished before
    // each; false when it does not come within the frames.
    bool playUntil(const std::function<bool()>& done, long milliseconds = 50, int frames = 4000)
    {
        for (int i = 0; i < frames && !done(); ++i) {
            controller->getComputerTurns().waitForComputer();
            frame(milliseconds);
        }
        return done();
    }

    std::unique_ptr<ArenaModel> model;
    std::unique_ptr<Game> game; // listens to the model before the others
    std::unique_ptr<ArenaController> controller;
    std::unique_ptr<CastRecorder> recorder;
};

TEST_F(ComputerPlayers, AComputerPlayerTurnsItsCannonInViewPicksItsSpellAndCasts)
{
    build(3, 32);
    controller->getComputerTurns().setComputer(0, ComputerLevel::hard);
    frame(10);
    controller->getComputerTurns().waitForComputer();
    frame(400);
    EXPECT_EQ(game->getPower(0), 4.0);
    frame(100); // half a second of thought: the cannon starts turning
    ASSERT_TRUE(recorder->casts.empty());

    frame(500);
    const ViewCannon halfway = view->getCharacters().getCannons().at(0);
    frame(600);
    const ViewCannon aimed = view->getCharacters().getCannons().at(0);
    EXPECT_NE(halfway.yaw, 0.0);
    EXPECT_NE(halfway.yaw, aimed.yaw);
    EXPECT_NE(halfway.power, aimed.power);
    EXPECT_EQ(aimed.yaw, game->getYaw(0));
    EXPECT_EQ(aimed.power, game->getPower(0));
    EXPECT_TRUE(recorder->casts.empty());

    frame(450);
    ASSERT_EQ(recorder->casts.size(), 1u);
    EXPECT_EQ(recorder->casts[0].player, 0);
    EXPECT_EQ(recorder->casts[0].from,
              model->getPlayer(0).getCannonNose(game->getYaw(0), game->getPitch(0)));
    EXPECT_NE(game->getCurrentPlayer(), 0);
}

TEST_F(ComputerPlayers, KeysThatAimOrCastWaitForAHumansTurnButTheCameraAndConsoleDoNot)
{
    controller->getComputerTurns().setComputer(0, ComputerLevel::normal);
    ASSERT_TRUE(game->isComputerTurn());
    keys("\r[]23");
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN, GLUT_KEY_PAGE_UP}) {
        controller->specialKeyboard(key);
    }
    controller->joystick(1u << 7 | 1u << 8, 0, 0, 1000);
    EXPECT_TRUE(recorder->casts.empty());
    EXPECT_EQ(game->getYaw(0), 0.0);
    EXPECT_EQ(game->getPitch(0), 0.0);
    EXPECT_EQ(game->getPower(0), 4.0);
    EXPECT_EQ(game->getWeapon(), "fireball");

    const Vector eye = view->getCamera().getAvatarPosition();
    keys("w");
    EXPECT_NE(view->getCamera().getAvatarPosition(), eye);
    EXPECT_EQ(console("set human 0"), (Lines{"Console ON", "Controller: set human 0", "Player 0 is a human player",
                                             "View: set human 0", "Model: set human 0"}));
    keys("]\r");
    EXPECT_EQ(game->getYaw(0), 1.0);
    EXPECT_EQ(recorder->casts.size(), 1u);
}

TEST_F(ComputerPlayers, TheConsoleSetsWhoPlaysAndRefusesUnknownIdsAndLevels)
{
    build(4, 31);
    EXPECT_EQ(console("set computer 2 HARD")[2], "Player 2 is a computer player (hard)");
    EXPECT_EQ(view->getCharacters().getPlayerNotes(), (std::map<int, std::string>{{2, "computer, hard"}}));
    EXPECT_EQ(console("set computer all easy")[2], "Every player is a computer player (easy)");
    EXPECT_EQ(view->getCharacters().getPlayerNotes().size(), 4u);
    EXPECT_EQ(console("set human all")[2], "Every player is a human player");
    EXPECT_TRUE(view->getCharacters().getPlayerNotes().empty());

    EXPECT_EQ(console("set computer 4 hard")[2], "Controller: player 4 refused: ids run from 0 to 3, or all");
    EXPECT_EQ(console("set computer -1 hard")[2], "Controller: player -1 refused: ids run from 0 to 3, or all");
    EXPECT_EQ(console("set human one")[2], "Controller: player one refused: ids run from 0 to 3, or all");
    EXPECT_EQ(console("set computer 1 expert")[2], "Controller: level expert refused: easy, normal or hard");
    EXPECT_EQ(console("set computer 1")[1], "Controller: set computer 1");
    EXPECT_EQ(console("set computer 1").size(), 4u);
    for (int id = 0; id < 4; ++id) {
        EXPECT_FALSE(game->getComputerLevel(id).has_value());
    }
}

TEST_F(ComputerPlayers, EachIdKeepsItsChoiceAcrossBattlefieldsOfAnySize)
{
    build(4, 31);
    controller->getComputerTurns().setComputer(3, ComputerLevel::hard);
    console("set players 2");
    EXPECT_TRUE(view->getCharacters().getPlayerNotes().empty());
    EXPECT_EQ(game->getComputerLevel(3), ComputerLevel::hard);
    console("set players 4");
    EXPECT_EQ(view->getCharacters().getPlayerNotes(), (std::map<int, std::string>{{3, "computer, hard"}}));
    keys("r");
    EXPECT_EQ(view->getCharacters().getPlayerNotes().size(), 1u);
}

TEST_F(ComputerPlayers, AfterAComputersCastTheHumansKeepTheirSpell)
{
    controller->getComputerTurns().setComputer(1, ComputerLevel::hard);
    keys("3\r");
    ASSERT_EQ(game->getCurrentPlayer(), 1);
    ASSERT_TRUE(playUntil([&] { return recorder->casts.size() == 2; }));
    EXPECT_NE(game->getWeapon(), "nova");
    // Back on a human's turn: this game's, or the next one's when the
    // computer player won.
    ASSERT_TRUE(playUntil([&] { return !game->isComputerTurn(); }));
    EXPECT_EQ(game->getWeapon(), "nova");
    EXPECT_EQ(view->getCharacters().getWeapon(), "nova");
}

// Gravity that no cast can beat: every shot goes up into the ceiling.
TEST_F(ComputerPlayers, AComputerWithNoOneInReachStillCastsAndThePlayGoesOn)
{
    controller->getComputerTurns().setComputer(0, ComputerLevel::hard);
    console("set gravity 0 200 0");
    ASSERT_TRUE(playUntil([&] { return !recorder->casts.empty(); }));
    EXPECT_GE(recorder->casts[0].impact.y, 20.0);
    EXPECT_EQ(game->getCurrentPlayer(), 1);
}

TEST_F(ComputerPlayers, WithOnlyComputersLeftTheWinnerIsShownThenANewBattlefieldFollows)
{
    controller->getComputerTurns().setComputer(0, ComputerLevel::hard);
    controller->getComputerTurns().setComputer(1, ComputerLevel::hard);
    ASSERT_TRUE(playUntil([&] { return game->isLastManStanding(); }));
    ASSERT_TRUE(playUntil([&] { return !view->getAids().winnerLines().empty(); }));
    const int winner = game->getCurrentPlayer();
    EXPECT_EQ(view->getAids().winnerLines(),
              (Lines{model->getPlayer(winner).getName() + " wins", "A new battlefield in 5 seconds"}));
    const std::size_t casts = recorder->casts.size();
    const int maps = recorder->newMaps();
    frame(4900);
    EXPECT_EQ(recorder->newMaps(), maps);
    EXPECT_EQ(recorder->casts.size(), casts);
    frame(100);
    EXPECT_EQ(recorder->newMaps(), maps + 1);
    EXPECT_TRUE(view->getAids().winnerLines().empty());
    EXPECT_FALSE(game->isLastManStanding());
}

TEST_F(ComputerPlayers, AHumanWinnerPlaysOnWithoutANewBattlefield)
{
    controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
    console("set players 1");
    keys("\r");
    ASSERT_TRUE(game->isLastManStanding());
    const int maps = recorder->newMaps();
    ASSERT_TRUE(playUntil([&] { return !view->isAnimating(); }));
    frame(6000);
    EXPECT_EQ(recorder->newMaps(), maps);
    ASSERT_EQ(view->getAids().winnerLines().size(), 2u);
    EXPECT_EQ(view->getAids().winnerLines()[1], "r: new battlefield");
}

// The casts of a game of computer players follow from the seed alone, however
// the frames fall.
TEST_F(ComputerPlayers, AComputerGameReplaysAtAnyFramePacing)
{
    std::vector<std::vector<Cast>> games;
    for (long milliseconds : {40L, 170L}) {
        build(3, 80);
        controller->getComputerTurns().setComputer(0, ComputerLevel::normal);
        controller->getComputerTurns().setComputer(1, ComputerLevel::easy);
        controller->getComputerTurns().setComputer(2, ComputerLevel::hard);
        ASSERT_TRUE(playUntil([&] { return recorder->casts.size() >= 4 || recorder->newMaps() > 1; },
                              milliseconds, 10000));
        games.push_back(recorder->casts);
    }
    EXPECT_GE(games[0].size(), 3u);
    EXPECT_EQ(games[0], games[1]);
}

} // namespace

TEST_F(ComputerPlayers, TheNewGameScreenHoldsADemonstrationUntilItCloses)
{
    printed([&] {
        controller->getComputerTurns().setComputer(0, ComputerLevel::hard);
        controller->getComputerTurns().setComputer(1, ComputerLevel::hard);
        controller->specialKeyboard(GLUT_KEY_F2);
    });
    ASSERT_TRUE(controller->getSetupDialog().isOpen());
    for (int i = 0; i < 200; ++i) {
        controller->getComputerTurns().waitForComputer();
        frame(50);
    }
    EXPECT_TRUE(recorder->casts.empty());
    keys("\x1b");
    EXPECT_TRUE(playUntil([&] { return !recorder->casts.empty(); }));
}
