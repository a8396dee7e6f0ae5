// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "support/RecordingAnimation.h"
#include "view/CameraDirector.h"

namespace {

const CameraPose START{Vector(-25, 25, 15), Vector(0, 0, 0)};
const CameraPose TURN{Vector(2, 6, -3), Vector(10, 4, -3)};
const CameraPose NEXT_TURN{Vector(9, 7, -12), Vector(1, 4, -12)};

void expectNear(const Vector& actual, const Vector& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.z, expected.z, 1e-9) << actual << " vs " << expected;
}

class Director : public testing::Test {
protected:
    // The pose after a frame at tick t, from the pose of the last frame.
    bool frameAt(long t)
    {
        clocks.clock.set(t);
        return director.update(pose);
    }

    Clocks clocks;
    CameraDirector director{clocks.time};
    CameraPose pose = START;
};

} // namespace

TEST_F(Director, ATurnGlidesThereEasedInEightHundredTicksThenLetsGo)
{
    director.onTurn(TURN);
    ASSERT_TRUE(frameAt(0));
    expectNear(pose.eye, START.eye);
    ASSERT_TRUE(frameAt(400));
    // Half way in time is half way in place; a quarter of the time is less
    // than a quarter of the way (slow start).
    expectNear(pose.eye, (START.eye + TURN.eye) * 0.5);
    clocks.clock.set(0);
    pose = START;
    director.onTurn(TURN);
    frameAt(0);
    frameAt(200);
    EXPECT_LT((pose.eye - START.eye).getLength(), 0.25 * (TURN.eye - START.eye).getLength());
    ASSERT_TRUE(frameAt(800));
    expectNear(pose.eye, TURN.eye);
    expectNear(pose.target, TURN.target);
    EXPECT_FALSE(frameAt(900));
}

TEST_F(Director, AShotIsFollowedHeldOnItsImpactAndTheNextTurnWaitsForIt)
{
    director.onTurn(TURN);
    frameAt(0);
    frameAt(800);
    // Flight from tick 1000 to 2000 along x at height 5; effects until 3000.
    director.onShot({Vector(0, 5, 0), Vector(4, 5, 0), Vector(10, 5, 0)}, 1000, 2000, 3000);
    director.onTurn(NEXT_TURN);
    EXPECT_FALSE(frameAt(900)) << "the camera moved before the flight";
    ASSERT_TRUE(frameAt(1000));
    expectNear(pose.eye, TURN.eye);
    // Half the flight, by length along the path; blended in fully by now.
    ASSERT_TRUE(frameAt(1500));
    expectNear(pose.target, Vector(5, 5, 0));
    expectNear(pose.eye, Vector(5 - 7, 5 + 3, 0));
    // Held on the impact while the effects play.
    for (long t : {2000L, 2500L, 2999L}) {
        ASSERT_TRUE(frameAt(t));
        expectNear(pose.target, Vector(10, 5, 0));
    }
    // Then to the next caster.
    ASSERT_TRUE(frameAt(3000));
    expectNear(pose.target, Vector(10, 5, 0));
    ASSERT_TRUE(frameAt(3800));
    expectNear(pose.eye, NEXT_TURN.eye);
    expectNear(pose.target, NEXT_TURN.target);
}

TEST_F(Director, AHandMoveTakesOverUntilTheNextTurn)
{
    director.onTurn(TURN);
    frameAt(0);
    frameAt(300);
    director.takeOver();
    EXPECT_FALSE(director.isDirecting());
    const CameraPose held = pose;
    EXPECT_FALSE(frameAt(400));
    // A shot shown meanwhile is not followed either.
    director.onShot({Vector(0, 5, 0), Vector(10, 5, 0)}, 500, 900, 1200);
    EXPECT_FALSE(frameAt(700));
    expectNear(pose.eye, held.eye);
    // The next turn glides again once the shot has been shown.
    director.onTurn(NEXT_TURN);
    EXPECT_TRUE(director.isDirecting());
    frameAt(1200);
    ASSERT_TRUE(frameAt(2000));
    expectNear(pose.eye, NEXT_TURN.eye);
}

TEST_F(Director, SwitchedOffItLeavesTheCameraAlone)
{
    director.setEnabled(false);
    director.onTurn(TURN);
    director.onShot({Vector(0, 5, 0), Vector(10, 5, 0)}, 0, 100, 200);
    for (long t : {0L, 50L, 400L, 5000L}) {
        EXPECT_FALSE(frameAt(t));
    }
    expectNear(pose.eye, START.eye);
    expectNear(pose.target, START.target);
}

TEST_F(Director, SwitchedOnDuringAFlightItBlendsIntoTheFollowFromWhereTheCameraIs)
{
    director.setEnabled(false);
    director.onShot({Vector(0, 5, 0), Vector(10, 5, 0)}, 0, 1000, 2000);
    EXPECT_FALSE(frameAt(600));
    director.setEnabled(true);
    ASSERT_TRUE(frameAt(600));
    expectNear(pose.eye, START.eye);
}

TEST(CameraDirectorPoses, TheTurnPoseShowsTheCasterLowInThePictureAndLooksAlongTheAim)
{
    // A cannon at (10, 5, -3) in the scene aiming at yaw 90 (model -z, scene
    // +z), the view's field of view 45 degrees high.
    const Vector cannon(10, 5, -3);
    for (double yaw : {0.0, 90.0, 215.0}) {
        const CameraPose pose = CameraDirector::turnPose(cannon, yaw);
        Vector aim(1, 0, 0);
        aim.rotate(yaw, 0, 1, 0);
        aim.z = -aim.z;
        const Vector view = (pose.target - pose.eye).getNormalizedCopy();
        const Vector toCaster = (cannon - pose.eye).getNormalizedCopy();
        EXPECT_GT(view.x * aim.x + view.z * aim.z, 0.9) << yaw;
        // Below the middle of the picture but inside it: between a third of
        // the half-height and the bottom edge (22.5 degrees).
        const double below = std::asin(-toCaster.y) - std::asin(-view.y);
        EXPECT_GT(below, std::atan(std::tan(22.5 * M_PI / 180) / 3)) << yaw;
        EXPECT_LT(below, 22.5 * M_PI / 180) << yaw;
        // Near enough to be seen at a readable size.
        EXPECT_LT((cannon - pose.eye).getLength(), 7.0) << yaw;
    }
}
