// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/Battlefield.h"

TEST(Trajectory, StraightUpShotEndsAtTheCeiling)
{
    Battlefield field(0, 15, 15, 20);
    std::list<Vector> path =
        field.model.createTrajectory(Vector(7.5, 16, 7.5), Vector(0, 1, 0), Vector(0, 0, 0));
    // The start, the start of each later step (17, 18, 19, 20), and the first
    // sample outside the grid: the start of the step at 20.
    ASSERT_EQ(path.size(), 6u);
    EXPECT_EQ(path.front(), Vector(7.5, 16, 7.5));
    EXPECT_GE(path.back().y, 20.0);
    EXPECT_LT(path.back().y, 20.01);
    EXPECT_FALSE(field.model.isInsideGrid(path.back()));
}

TEST(Trajectory, EachStepAppliesItsAccelerationToItsOwnDisplacement)
{
    Battlefield field(0, 15, 15, 20);
    std::list<Vector> path =
        field.model.createTrajectory(Vector(7.5, 17, 7.5), Vector(0.5, 0, 0), Vector(0, -0.1, 0));
    auto point = path.begin();
    ++point;
    // First step: (0.5, 0, 0) + (0, -0.1, 0).
    EXPECT_NEAR(point->x, 8.0, 1e-12);
    EXPECT_NEAR(point->y, 16.9, 1e-12);
    ++point;
    // Second step: velocity (0.5, -0.1, 0) + acceleration.
    EXPECT_NEAR(point->x, 8.5, 1e-12);
    EXPECT_NEAR(point->y, 16.7, 1e-12);
}

TEST(Trajectory, PowerZeroDropsStraightDownFromTheNose)
{
    Battlefield field(1, 15, 15, 20);
    field.lowerColumn(7, 7, 3);
    field.lowerColumn(8, 7, 1);
    field.stand(0, 7, 7);
    MarkingSpell spell({});
    field.model.throwProjectile(0, &spell, 0, 0, 0);
    const std::list<Vector>& path = field.listener.lastTrajectory;
    const Vector nose = field.player(0).getCannonNose(0, 0);
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(path.front(), nose);
    auto second = std::next(path.begin());
    EXPECT_NEAR(second->x, nose.x, 1e-12);
    EXPECT_NEAR(second->y, nose.y - 0.98, 1e-12);
    EXPECT_NEAR(path.back().x, nose.x, 1e-12);
    // It lands on column (8, 7), which is 1 high.
    EXPECT_GE(path.back().y, 0.99);
    EXPECT_LT(path.back().y, 1.0);
}

TEST(Trajectory, AShotStartingInGroundHitsAtOnceWithTwoPoints)
{
    Battlefield field(0, 15, 15, 20);
    std::list<Vector> path =
        field.model.createTrajectory(Vector(3.5, 2.5, 3.5), Vector(1, 0, 0), Vector(0, -1, 0));
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path.front(), Vector(3.5, 2.5, 3.5));
    EXPECT_EQ(path.back(), Vector(3.5, 2.5, 3.5));
}

TEST(Trajectory, AShotStopsAtALivingPlayerButPassesADeadOne)
{
    Battlefield field(2, 15, 15, 20);
    for (int x = 0; x < 15; ++x) {
        field.lowerColumn(x, 5, 3);
    }
    field.stand(0, 2, 5);
    field.stand(1, 8, 5);
    const Vector start = field.player(0).getCannonNose(0, 0);
    std::list<Vector> path = field.model.createTrajectory(start, Vector(1, 0, 0), Vector());
    EXPECT_NEAR(path.back().x, 8.0, 0.011);
    EXPECT_TRUE(field.player(1).isInside(path.back()));

    field.player(1).damage(100);
    path = field.model.createTrajectory(start, Vector(1, 0, 0), Vector());
    EXPECT_GE(path.back().x, 15.0);
}

TEST(Trajectory, AShotThatNeverMovesEndsAfterTheStepLimit)
{
    Battlefield field(0, 15, 15, 20);
    std::list<Vector> path =
        field.model.createTrajectory(Vector(7.5, 17, 7.5), Vector(), Vector());
    EXPECT_EQ(path.size(), static_cast<std::size_t>(MAX_TRAJECTORY_STEPS));
    EXPECT_EQ(path.back(), Vector(7.5, 17, 7.5));
}

TEST(Trajectory, StepsShorterThanAHundredthTestNothing)
{
    // Each step is 0.005 long: no samples, so even the ground is passed
    // unnoticed until the step limit.
    Battlefield field(0, 15, 15, 20);
    std::list<Vector> path =
        field.model.createTrajectory(Vector(0.5, 17, 7.5), Vector(0.005, 0, 0), Vector());
    EXPECT_EQ(path.size(), static_cast<std::size_t>(MAX_TRAJECTORY_STEPS));
}

TEST(Trajectory, WithoutGravityAndPowerAShotStillEnds)
{
    Battlefield field(1, 15, 15, 20);
    testing::internal::CaptureStdout();
    field.model.handleConsoleCommand("set gravity 0 0 0");
    testing::internal::GetCapturedStdout();
    MarkingSpell spell({});
    field.model.throwProjectile(0, &spell, 0, 0, 0);
    ASSERT_EQ(spell.impacts.size(), 1u);
    EXPECT_EQ(spell.impacts[0], field.player(0).getCannonNose(0, 0));
}

TEST(Trajectory, ACannonWithNoLengthDropsTheShotFromItsNose)
{
    Battlefield field(1, 15, 15, 20);
    testing::internal::CaptureStdout();
    // A length so small that nose and base coincide.
    field.model.handleConsoleCommand("set players 1 1 1.8 0.5 0.9 0.5 1e-320");
    testing::internal::GetCapturedStdout();
    const Player& shooter = field.model.getPlayer(0);
    MarkingSpell spell({});
    field.model.throwProjectile(0, &spell, 30, 45, 100);
    // Power 100 in no direction: no velocity at all. The nose lies in the
    // caster's own box, so the shot ends where it starts.
    const Vector nose = shooter.getCannonNose(30, 45);
    EXPECT_EQ(field.listener.lastTrajectory, (std::list<Vector>{nose, nose}));
}
