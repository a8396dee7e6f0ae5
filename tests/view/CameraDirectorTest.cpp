// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

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

namespace {

// A 15 by 15 battlefield five cells deep, with a hill (x 9 to 11, nine high)
// and a pit (x 2, z 2, three deep).
CameraGround hillyGround()
{
    return CameraGround(15, 15, 20, [](int x, int y, int z) {
        if (x == 2 && z == 2) {
            return y < 2;
        }
        return y < 5 || (x >= 9 && x <= 11 && y < 9);
    });
}

// Where a scene point shows in a pose's picture: right and up from the
// middle, in half-widths and half-heights of the picture.
std::pair<double, double> inPicture(const CameraPose& pose, const Vector& point)
{
    const Vector forward = (pose.target - pose.eye).getNormalizedCopy();
    const Vector right = (forward * Vector(0, 1, 0)).getNormalizedCopy();
    const Vector up = right * forward;
    const Vector to = point - pose.eye;
    const double depth = to.dot(forward);
    const double half = std::tan(CameraDirector::FIELD_OF_VIEW * M_PI / 360.0);
    return {to.dot(right) / depth / (half * CameraDirector::ASPECT), to.dot(up) / depth / half};
}

} // namespace

TEST(CameraDirectorPoses, TheTurnPoseShowsTheCasterLowAndTheOpponentOverTheBattlefield)
{
    const CameraGround ground = hillyGround();
    // Caster's cannon and opponent, scene frame (z mirrored): in the middle,
    // on an edge facing in, in a corner, down in the pit.
    const std::vector<std::pair<Vector, Vector>> turns = {{{7.5, 5.9, -7.5}, {13.5, 5.9, -7.5}},
                                                          {{0.5, 5.9, -7.5}, {6.5, 5.9, -9.5}},
                                                          {{14.5, 5.9, -14.5}, {12.5, 5.9, -3.5}},
                                                          {{2.5, 2.9, -2.5}, {7.5, 5.9, -7.5}}};
    for (const auto& [cannon, opponent] : turns) {
        const CameraPose pose = CameraDirector::turnPose(ground, {cannon, 1.0, 1.8}, opponent);
        EXPECT_LT(inPicture(pose, cannon).second, -0.1) << cannon;
        EXPECT_GT(inPicture(pose, cannon).second, -0.9) << cannon;
        EXPECT_LT(std::abs(inPicture(pose, opponent).first), 1.0) << cannon;
        EXPECT_GE(ground.pictureShare(pose, CameraDirector::FIELD_OF_VIEW, CameraDirector::ASPECT), 0.6) << cannon;
        EXPECT_TRUE(ground.isClear(pose.eye, CameraDirector::EYE_ROOM)) << cannon << " " << pose.eye;
        EXPECT_LT((pose.eye - cannon).getLength(), 11.0) << cannon;
    }
}

TEST_F(Director, TheEyeNeverStandsInABlock)
{
    director.setGround(hillyGround());
    const CameraPose west{Vector(4, 8, -10), Vector(8, 5, -10)};
    const CameraPose east{Vector(14, 8, -10), Vector(10, 5, -10)};
    // Gliding through the hill; a shot landing right by the caster, followed
    // from where the hill stands; a human's aim swinging the eye round into
    // the hill.
    const std::vector<std::function<void()>> scenes = {
        [&] { director.onTurn(east); },
        [&] { director.onShot({Vector(3.5, 6, -10), Vector(3, 6.6, -10), Vector(2.6, 5.2, -10)}, 0, 500, 1500); },
        [&] {
            director.onTurn(west, Vector(7.5, 5.9, -10));
            director.onAim(180.0, 0.0);
        }};
    for (const auto& scene : scenes) {
        clocks.clock.set(0);
        pose = west;
        director.reset();
        scene();
        for (long t = 0; t <= 2000; t += 10) {
            frameAt(t);
            ASSERT_FALSE(director.getGround().isSolid(pose.eye)) << t << " " << pose.eye;
        }
    }
}
