// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/gl.h>

#include <cmath>

#include "animation/PathAnimation.h"
#include "animation/WindAnimation.h"
#include "model/ArenaModel.h"
#include "model/Player.h"
#include "scene/timesensor.h"
#include "support/ScriptedRandom.h"
#include "view/ViewFixture.h"

using Lines = std::vector<std::string>;

TEST_F(ViewTest, ConstructionLoadsEveryResourceAndStartsTheArrowAndWind)
{
    for (const char* key : {"arrow", "grass", "dirt", "fireball", "wizard", "sorcerer"}) {
        ASSERT_NE(view->getResources().getModel(key), nullptr) << key;
        EXPECT_FALSE(view->getResources().getModel(key)->getChildren().empty()) << key;
    }
    for (const char* model : {"wizard", "sorcerer"}) {
        for (const char* animation : {"_die", "_cast", "_hurt", "_idle"}) {
            std::string key = std::string(model) + animation;
            ASSERT_NE(view->getResources().getKeyFrames(key), nullptr) << key;
            EXPECT_FALSE(view->getResources().getKeyFrames(key)->getChilds().empty()) << key;
        }
    }
    ASSERT_EQ(view->getRunningAnimations().getAnimations().size(), 2u);
    EXPECT_EQ(view->getRunningAnimations().getAnimations().front(), view->getRunningAnimations().getArrowAnimation());
    EXPECT_EQ(view->getRunningAnimations().getAnimations().back(), view->getRunningAnimations().getWindAnimation());
    EXPECT_TRUE(view->getRunningAnimations().getArrowAnimation()->isLooping());
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(view->getCamera().getAvatarPosition(), Vector(-25, 25, 15));
    EXPECT_EQ(view->getCamera().getAvatarTarget(), Vector(0, 0, 0));
}

TEST_F(ViewTest, InitializeSetsTheFixedState)
{
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.4f);
    GLfloat ambient[4];
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[1], 0.04f);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLint face = 0;
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
    EXPECT_EQ(face, GL_FRONT_AND_BACK);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT1);
    glDisable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
}

TEST_F(ViewTest, ReshapePrintsAndSetsAFortyFiveDegreePerspective)
{
    EXPECT_EQ(printed([&] { view->reshape(800, 600); }), Lines{"Reshape 800 600"});
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double f = 1.0 / std::tan(45.0 / 2 * M_PI / 180);
    EXPECT_NEAR(projection[5], f, 1e-6);
    EXPECT_NEAR(projection[0], f / (800.0 / 600.0), 1e-6);
    const double nearPlane = 0.1f;
    EXPECT_NEAR(projection[10], (100.0 + nearPlane) / (nearPlane - 100.0), 1e-6);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glViewport(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
}

TEST_F(ViewTest, AWindowWithoutHeightGetsNoNaNProjection)
{
    printed([&] { view->reshape(640, 0); });
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (double value : projection) {
        EXPECT_TRUE(std::isfinite(value));
    }
    glViewport(0, 0, GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
}

TEST_F(ViewTest, ForwardAndBackwardMoveEyeAndTargetAlongTheView)
{
    const Vector direction = (Vector(0, 0, 0) - Vector(-25, 25, 15)).getNormalizedCopy();
    view->moveAvatar(0, -1);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (Vector(-25, 25, 15) + direction)).getLength(), 0, 1e-12);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - direction).getLength(), 0, 1e-12);
    view->moveAvatar(0, 1);
    view->moveAvatar(0, 1);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (Vector(-25, 25, 15) - direction)).getLength(), 0, 1e-12);
}

TEST_F(ViewTest, StrafingIsHorizontalAndToTheViewersRight)
{
    view->moveAvatar(1, 0);
    Vector step = view->getCamera().getAvatarPosition() - Vector(-25, 25, 15);
    EXPECT_NEAR(step.x, 0.51, 0.01);
    EXPECT_EQ(step.y, 0.0);
    EXPECT_NEAR(step.z, 0.86, 0.01);
    EXPECT_NEAR(step.getLength(), 1.0, 1e-9);
    // To the right means along the view direction crossed with up.
    Vector right = (Vector(25, -25, -15) * Vector(0, 1, 0)).getNormalizedCopy();
    EXPECT_GT(step.dot(right), 0.99);
    view->moveAvatar(-2, 0);
    EXPECT_NEAR((view->getCamera().getAvatarPosition() - (Vector(-25, 25, 15) - step)).getLength(), 0, 1e-9);
}

TEST_F(ViewTest, LookingUpRaisesTheTargetAndShortensTheView)
{
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - view->getCamera().getAvatarPosition()).getLength(), 38.41, 0.01);
    view->moveAvatarVision(0, 0);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - Vector(0, 0, 0)).getLength(), 0, 1e-9);
    view->moveAvatarVision(0, 0.1);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - view->getCamera().getAvatarPosition()).getLength(), 36.02, 0.01);
    EXPECT_GT(view->getCamera().getAvatarTarget().y, 0.0);
}

TEST_F(ViewTest, TurningKeepsTheDistanceAndResetRestoresTheCamera)
{
    view->moveAvatarVision(90, 0);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - view->getCamera().getAvatarPosition()).getLength(),
                Vector(25, -25, -15).getLength(), 1e-9);
    view->moveAvatar(3, -2);
    view->resetAvatar();
    EXPECT_EQ(view->getCamera().getAvatarPosition(), Vector(-25, 25, 15));
    EXPECT_EQ(view->getCamera().getAvatarTarget(), Vector(0, 0, 0));
}

TEST_F(ViewTest, ACameraLookingStraightDownCannotStrafeIntoNaN)
{
    for (int i = 0; i < 40; ++i) {
        view->moveAvatarVision(0, -0.2);
    }
    view->moveAvatar(1, 1);
    EXPECT_TRUE(std::isfinite(view->getCamera().getAvatarPosition().x));
    EXPECT_TRUE(std::isfinite(view->getCamera().getAvatarTarget().z));
}

TEST_F(ViewTest, AFrameLeavesTheMatricesAndTheLightingAsItFoundThem)
{
    printed([&] { view->reshape(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE); });
    view->renderScene();
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(stackDepth(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    view->renderScene();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHT1);
    glDisable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
}

TEST(ViewStartUp, PrintsTheMapAndThePlayersInOrder)
{
    std::vector<double> draws(8, 0.1);                      // four names
    draws.insert(draws.end(), 10, 0.5);                     // a plateau 8 high
    draws.insert(draws.end(), {0.1, 0.1, 0.3, 0.3, 0.5, 0.5, 0.7, 0.7}); // places
    draws.insert(draws.end(), {0.5, 0.4999, 0.9, 0.0});    // character models
    ScriptedRandom script(draws);
    Clocks clocks;
    testing::internal::CaptureStdout();
    ArenaModel model(4, 15, 15, 20, script.stream());
    ArenaView view(clocks.time);
    model.addListener(&view);
    model.reset();
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "set wind direction(0, 0, 0) 0 0\n"
              "set wind direction(0, 0, 0) 0 0\n"
              "New Map: 15 15 20\n"
              "There is 1800 block on this terrain\n"
              "Displaying the 786 blocks out of 1800\n"
              "On player 0: Osri Murk 100 at (1, 8, 1)\n"
              "On player 1: Osri Murk 100 at (4, 8, 4)\n"
              "On player 2: Osri Murk 100 at (7, 8, 7)\n"
              "On player 3: Osri Murk 100 at (10, 8, 10)\n");
    EXPECT_EQ(view.getCharacters().getNodeModel(view.getCharacters().getPlayerNode(0)), "wizard");
    EXPECT_EQ(view.getCharacters().getNodeModel(view.getCharacters().getPlayerNode(1)), "sorcerer");
    EXPECT_EQ(view.getCharacters().getNodeModel(view.getCharacters().getPlayerNode(2)), "wizard");
    EXPECT_EQ(view.getCharacters().getNodeModel(view.getCharacters().getPlayerNode(3)), "sorcerer");
    EXPECT_EQ(script.drawn(), draws.size());
}
