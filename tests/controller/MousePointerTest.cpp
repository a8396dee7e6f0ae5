// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/freeglut.h>

#include "controller/ControllerFixture.h"

TEST_F(ControllerTest, MouseLookTurnsTheViewAndIgnoresTheRecentringEvent)
{
    ArenaView reference(clocks.time);
    reference.moveAvatarVision(-20, 0.03);
    const int centre = GL_TEST_WINDOW_SIDE / 2;
    controller->mousePassiveMotion(centre + 50, centre - 3);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - reference.getCamera().getAvatarTarget()).getLength(), 0, 1e-9);
    controller->mousePassiveMotion(centre, centre);
    EXPECT_NEAR((view->getCamera().getAvatarTarget() - reference.getCamera().getAvatarTarget()).getLength(), 0, 1e-9);
}

TEST_F(ControllerTest, MouseEntryIsReported)
{
    EXPECT_EQ(printed([&] { controller->mouseEntry(GLUT_LEFT); }), Lines{"Mouse left window"});
    EXPECT_EQ(printed([&] { controller->mouseEntry(GLUT_ENTERED); }), Lines{"Mouse entered window"});
}
