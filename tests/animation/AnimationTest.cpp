// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "animation/Animation.h"
#include "support/RecordingAnimation.h"

TEST(Animation, ProgressWaitsForTheDelayThenRunsToOne)
{
    Clocks clocks;
    clocks.clock.set(5000);
    Animation animation(1000, clocks.time, false);
    animation.setDelay(500);

    for (long tick : {5000L, 5250L, 5500L}) {
        clocks.clock.set(tick);
        EXPECT_EQ(animation.getProgress(), 0.0) << tick;
    }
    clocks.clock.set(6000);
    EXPECT_EQ(animation.getProgress(), 0.5);
    clocks.clock.set(6499);
    EXPECT_LT(animation.getProgress(), 1.0);
    EXPECT_FALSE(animation.over());
    clocks.clock.set(6500);
    EXPECT_EQ(animation.getProgress(), 1.0);
    EXPECT_TRUE(animation.over());
    clocks.clock.set(60000);
    EXPECT_EQ(animation.getProgress(), 1.0);
    EXPECT_TRUE(animation.over());
}

TEST(Animation, ALoopKeepsTheFractionAndIsNeverOver)
{
    Clocks clocks;
    clocks.clock.set(5000);
    Animation animation(1000, clocks.time, true);
    animation.setDelay(500);

    clocks.clock.set(6750);
    EXPECT_DOUBLE_EQ(animation.getProgress(), 0.25);
    clocks.clock.set(6500);
    EXPECT_EQ(animation.getProgress(), 0.0);
    EXPECT_FALSE(animation.over());
    clocks.clock.set(7499);
    EXPECT_DOUBLE_EQ(animation.getProgress(), 0.999);
    EXPECT_FALSE(animation.over());
    clocks.clock.set(5200);
    EXPECT_EQ(animation.getProgress(), 0.0);
}

TEST(Animation, SetStartMovesTheWholeTimeline)
{
    Clocks clocks;
    Animation animation(400, clocks.time, false);
    animation.setStart(2000);
    animation.setDelay(100);
    clocks.clock.set(2100);
    EXPECT_EQ(animation.getProgress(), 0.0);
    clocks.clock.set(2200);
    EXPECT_EQ(animation.getProgress(), 0.25);
}

TEST(Animation, ProgressFollowsTheViewClockNotTheWallClock)
{
    Clocks clocks;
    Animation animation(1000, clocks.time, false);
    clocks.clock.set(300);
    clocks.time.pause();
    clocks.clock.set(5000);
    EXPECT_DOUBLE_EQ(animation.getProgress(), 0.3);
    clocks.time.play();
    clocks.time.setSpeed(2.0);
    clocks.clock.advance(100);
    EXPECT_DOUBLE_EQ(animation.getProgress(), 0.5);
}

TEST(Animation, ZeroLengthIsOverAsSoonAsItBegins)
{
    Clocks clocks;
    clocks.clock.set(1000);
    Animation animation(0, clocks.time, false);
    animation.setDelay(200);
    clocks.clock.set(1199);
    EXPECT_EQ(animation.getProgress(), 0.0);
    EXPECT_FALSE(animation.over());
    clocks.clock.set(1200);
    EXPECT_EQ(animation.getProgress(), 1.0);
    EXPECT_TRUE(animation.over());
}

TEST(Animation, ANegativeLengthActsLikeZero)
{
    Clocks clocks;
    clocks.clock.set(1000);
    Animation animation(-300, clocks.time, false);
    clocks.clock.set(999);
    EXPECT_EQ(animation.getProgress(), 0.0);
    clocks.clock.set(1000);
    EXPECT_EQ(animation.getProgress(), 1.0);
    clocks.clock.set(5000);
    EXPECT_TRUE(animation.over());
}

TEST(Animation, AZeroLengthLoopStaysAtZero)
{
    Clocks clocks;
    for (long length : {0L, -5L}) {
        Animation animation(length, clocks.time, true);
        for (long tick : {0L, 1L, 10000L}) {
            clocks.clock.set(tick);
            EXPECT_EQ(animation.getProgress(), 0.0) << length << " at " << tick;
            EXPECT_FALSE(animation.over());
        }
    }
}
