// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "math/TimeSystem.h"
#include "support/ScriptedClock.h"

TEST(TimeSystem, ANewClockIsStoppedAtTickZero)
{
    ScriptedClock clock(5000);
    TimeSystem time;
    EXPECT_TRUE(time.isStopped());
    EXPECT_FALSE(time.isTicking());
    EXPECT_FALSE(time.isPaused());
    EXPECT_EQ(time.getTick(), 0);
    clock.advance(1000);
    EXPECT_EQ(time.getTick(), 0);
    EXPECT_EQ(time.getSpeed(), 1.0);
}

TEST(TimeSystem, TicksFromPlayAndStandsStillWhilePaused)
{
    ScriptedClock clock(5000);
    TimeSystem time;
    time.play();
    EXPECT_TRUE(time.isTicking());
    clock.set(7500);
    EXPECT_EQ(time.getTick(), 2500);
    time.pause();
    EXPECT_TRUE(time.isPaused());
    clock.set(9000);
    EXPECT_EQ(time.getTick(), 2500);
    time.play();
    clock.set(9500);
    EXPECT_EQ(time.getTick(), 3000);
}

TEST(TimeSystem, StopResetsAndTheNextPlayStartsAtZero)
{
    ScriptedClock clock(100);
    TimeSystem time;
    time.play();
    clock.advance(400);
    time.stop();
    EXPECT_TRUE(time.isStopped());
    EXPECT_EQ(time.getTick(), 0);
    clock.advance(1000);
    time.play();
    clock.advance(30);
    EXPECT_EQ(time.getTick(), 30);
}

TEST(TimeSystem, PlayOnATickingClockChangesNothing)
{
    ScriptedClock clock(2000);
    TimeSystem time;
    time.play();
    clock.advance(700);
    time.play();
    EXPECT_EQ(time.getTick(), 700);
    clock.advance(300);
    EXPECT_EQ(time.getTick(), 1000);
}

TEST(TimeSystem, SpeedChangeKeepsTheTickAndChangesTheRate)
{
    ScriptedClock clock(1000);
    TimeSystem time;
    time.play();
    clock.advance(1000);
    ASSERT_EQ(time.getTick(), 1000);
    time.setSpeed(2.0);
    EXPECT_EQ(time.getSpeed(), 2.0);
    EXPECT_EQ(time.getTick(), 1000);
    clock.advance(10);
    EXPECT_EQ(time.getTick(), 1020);
    time.setSpeed(0.5);
    EXPECT_EQ(time.getTick(), 1020);
    clock.advance(100);
    EXPECT_EQ(time.getTick(), 1070);
}

TEST(TimeSystem, ANegativeSpeedRunsBackwards)
{
    ScriptedClock clock(1000);
    TimeSystem time;
    time.play();
    clock.advance(500);
    time.setSpeed(-1.0);
    EXPECT_EQ(time.getTick(), 500);
    clock.advance(200);
    EXPECT_EQ(time.getTick(), 300);
}

TEST(TimeSystem, ZeroOrNonFiniteSpeedIsRefusedAndNothingChanges)
{
    ScriptedClock clock(1000);
    TimeSystem time;
    time.play();
    clock.advance(600);
    time.setSpeed(3.0);
    testing::internal::CaptureStderr();
    time.setSpeed(0.0);
    time.setSpeed(std::numeric_limits<double>::infinity());
    time.setSpeed(std::numeric_limits<double>::quiet_NaN());
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(time.getSpeed(), 3.0);
    EXPECT_EQ(time.getTick(), 600);
    clock.advance(10);
    EXPECT_EQ(time.getTick(), 630);
    EXPECT_NE(errors.find("refused"), std::string::npos);
}

TEST(TimeSystem, SpeedChangeWhilePausedKeepsThePausedTick)
{
    ScriptedClock clock(1000);
    TimeSystem time;
    time.play();
    clock.advance(400);
    time.pause();
    clock.advance(5000);
    time.setSpeed(2.0);
    EXPECT_EQ(time.getTick(), 400);
    time.play();
    EXPECT_EQ(time.getTick(), 400);
    clock.advance(50);
    EXPECT_EQ(time.getTick(), 500);
}

TEST(TimeSystem, TheRealClockIsWallTimeFromProgramStart)
{
    long first = TimeSystem::getTimeMiliseconds();
    EXPECT_GE(first, 0);
    // Busy for a moment of CPU: the steady clock never goes back.
    volatile double sink = 0;
    for (int i = 0; i < 100000; ++i) {
        sink = sink + i;
    }
    EXPECT_GE(TimeSystem::getTimeMiliseconds(), first);
}

TEST(TimeSystem, AnEmptyClockSourceRestoresTheRealClock)
{
    TimeSystem::setClockSource([] { return 123456789L; });
    EXPECT_EQ(TimeSystem::getTimeMiliseconds(), 123456789L);
    TimeSystem::setClockSource({});
    EXPECT_LT(TimeSystem::getTimeMiliseconds(), 123456789L);
}
