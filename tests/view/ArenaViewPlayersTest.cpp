// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/gl.h>

#include "animation/PathAnimation.h"
#include "model/Player.h"
#include "scene/TransformNode.h"
#include "scene/timesensor.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

namespace {

// A view with an empty 15 x 15 x 20 map and players announced by the test.
class PlayersTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        newMap(grid, 15, 15, 20);
    }

    // Announces a player; its look, as the game drew it, decides the model
    // (0.5 and above: wizard).
    void announce(int id, Player& player, double draw)
    {
        player.setLook(draw);
        printed([&] { view->onPlayer(id, player); });
    }

    TestGrid grid{15, 15, 20, [](int, int, int) { return false; }};
    Player first{"Torva Murk", Vector(3, 2, 4), 1.0, 1.8, Vector(0.5, 0.9, 0.5), 1.15};
    Player second{"Osri Quay", Vector(8, 5, 1), 1.0, 1.8, Vector(0.5, 0.9, 0.5), 1.15};
};

} // namespace

TEST_F(PlayersTest, ACharacterIsScaledTurnedAndPlacedOnItsBox)
{
    Player small("Nox Wick", Vector(2, 1, 6), 0.5, 0.9, Vector(0.25, 0.5, 0), 0.5);
    std::vector<std::string> lines;
    first.setLook(0.5);
    lines = printed([&] { view->onPlayer(0, first); });
    EXPECT_EQ(lines, std::vector<std::string>{"On player 0: Torva Murk 100 at (3, 2, 4)"});
    GraphicNode* node = view->getCharacters().getPlayerNode(0);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getScale(), Vector(1, 1, 1));
    EXPECT_EQ(node->getRotationAxis(), Vector(0, 1, 0));
    EXPECT_EQ(node->getRotationAngle(), 90.0f);
    EXPECT_EQ(node->getTranslation(), Vector(3.5, 2, -4.5));
    EXPECT_EQ(view->getCharacters().getNodeModel(node), "wizard");
    EXPECT_EQ(node->getChildren().front(), view->getResources().getModel("wizard"));

    announce(1, small, 0.4999);
    GraphicNode* smallNode = view->getCharacters().getPlayerNode(1);
    EXPECT_EQ(view->getCharacters().getNodeModel(smallNode), "sorcerer");
    EXPECT_EQ(smallNode->getScale(), Vector(0.5, 0.5, 0.5));
    EXPECT_EQ(smallNode->getTranslation(), Vector(2.25, 1, -6.25));
    EXPECT_EQ(view->getCharacters().getSceneNode()->getChildren().size(), 2u);
}

TEST_F(PlayersTest, TheCannonRecordStartsAtTheBoxCentreWithNoAim)
{
    announce(0, first, 0.7);
    const ViewCannon& cannon = view->getCharacters().getCannons().at(0);
    EXPECT_EQ(cannon.position, Vector(3.5, 2.9, 4.5));
    EXPECT_EQ(cannon.length, 1.15);
    EXPECT_EQ(cannon.yaw, 0.0);
    EXPECT_EQ(cannon.power, 0.0);
}

TEST_F(PlayersTest, AimingTurnsTheCharacter)
{
    announce(0, first, 0.7);
    view->updatePlayerDirection(0, first, 30, 45, 50);
    const ViewCannon& cannon = view->getCharacters().getCannons().at(0);
    EXPECT_EQ(cannon.yaw, 30.0);
    EXPECT_EQ(cannon.pitch, 45.0);
    EXPECT_EQ(cannon.power, 50.0);
    EXPECT_EQ(view->getCharacters().getPlayerNode(0)->getRotationAngle(), 60.0f);
    // An aim for a player without a character only records the aim.
    view->updatePlayerDirection(7, second, 10, 0, 4);
    EXPECT_EQ(view->getCharacters().getCannons().at(7).yaw, 10.0);
}

TEST_F(PlayersTest, TheArrowBobsAboveTheCurrentPlayer)
{
    announce(0, first, 0.7);
    announce(1, second, 0.7);
    view->onCurrentPlayer(0);
    EXPECT_EQ(view->getCharacters().getCurrentPlayer(), 0);
    PathAnimation* arrow = view->getRunningAnimations().getArrowAnimation();
    // A quarter into its loop the arrow is half way up.
    clocks.clock.set(125);
    arrow->render();
    EXPECT_EQ(arrow->getRoot()->getTranslation(), Vector(3.5, 3.8 + 0.9, -4.5));
    view->onCurrentPlayer(1);
    clocks.clock.set(500);
    arrow->render();
    EXPECT_EQ(arrow->getRoot()->getTranslation(), Vector(8.5, 6.8, -1.5));
    // An id without a player leaves the arrow where it was.
    view->onCurrentPlayer(9);
    EXPECT_EQ(view->getCharacters().getCurrentPlayer(), 1);
}

TEST_F(PlayersTest, LastManStandingIsOneLine)
{
    EXPECT_EQ(printed([&] { view->onLastManStanding(2); }), std::vector<std::string>{"Last man standing 2"});
    std::string weapon = "nova";
    view->onWeapon(weapon);
    EXPECT_EQ(view->getCharacters().getWeapon(), "nova");
}

TEST_F(PlayersTest, AnimationNamesMapToTheModelsKeyFrames)
{
    EXPECT_EQ(view->getModelAnimation("wizard", "death"), view->getResources().getKeyFrames("wizard_die"));
    EXPECT_EQ(view->getModelAnimation("wizard", "cast"), view->getResources().getKeyFrames("wizard_cast"));
    EXPECT_EQ(view->getModelAnimation("sorcerer", "hurt"), view->getResources().getKeyFrames("sorcerer_hurt"));
    EXPECT_EQ(view->getModelAnimation("sorcerer", "idle"), view->getResources().getKeyFrames("sorcerer_idle"));
    EXPECT_EQ(view->getModelAnimation("wizard", "dance"), nullptr);
    EXPECT_EQ(view->getModelAnimation("wizard", "Death"), nullptr);
    EXPECT_EQ(view->getModelAnimation("knight", "death"), nullptr);
}

TEST_F(PlayersTest, OneShotAnimationsPlayAndUnknownOnesChangeNothing)
{
    announce(0, first, 0.7);
    auto* node = static_cast<TransformNode*>(view->getCharacters().getPlayerNode(0));
    view->animate(0, "dance", 1000, 0, false);
    view->animate(5, "cast", 1000, 0, false);
    EXPECT_FALSE(node->hasModelAnimation());
    view->animate(0, "hurt", 1000, 0, false);
    EXPECT_TRUE(node->hasModelAnimation());
    view->animate(0, "death", 1000, 0, true);
    EXPECT_EQ(node->queuedAnimationCount(), 1u);
}

TEST_F(PlayersTest, HealthBarsFollowTheHitPointsAndTheDeadHaveNone)
{
    announce(0, first, 0.7);
    announce(1, second, 0.7);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 16, 0, 10, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_GT(countTriangles([&] { view->renderPlayer(); }), 0);
    int both = countTriangles([&] { view->renderPlayer(); });
    second.damage(150);
    int one = countTriangles([&] { view->renderPlayer(); });
    EXPECT_EQ(one * 2, both);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(PlayersTest, DebugDrawingAddsBoxesAndCannonsForEveryPlayer)
{
    announce(0, first, 0.7);
    second.damage(150);
    announce(1, second, 0.7);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 16, 0, 10, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    const int plain = countTriangles([&] { view->renderPlayer(); });
    printed([&] { view->handleConsoleCommand("enable debug"); });
    ASSERT_TRUE(view->isDebug());
    const int debug = countTriangles([&] { view->renderPlayer(); });
    // Two boxes of six quads, two cannon spheres: the dead player included.
    EXPECT_GE(debug - plain, 2 * 12 + 2 * 100);
    // The names leave lighting as they found it: off stays off, on stays on.
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    glEnable(GL_LIGHTING);
    view->renderPlayer();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}
