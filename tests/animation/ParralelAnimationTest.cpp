// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "animation/ParralelAnimation.h"
#include "support/RecordingAnimation.h"

TEST(ParralelAnimation, LastsAsLongAsItsLongestChild)
{
    Clocks clocks;
    Log log;
    ParralelAnimation group(clocks.time);
    EXPECT_EQ(group.getLength(), 0);
    auto* longer = new RecordingAnimation("longer", 900, clocks.time, log);
    group.addAnimation(new RecordingAnimation("shorter", 400, clocks.time, log));
    group.addAnimation(longer);
    group.addAnimation(new RecordingAnimation("short again", 400, clocks.time, log));
    EXPECT_EQ(group.getLength(), 900);

    clocks.clock.set(899);
    EXPECT_FALSE(group.over());
    clocks.clock.set(900);
    EXPECT_TRUE(group.over());
    EXPECT_TRUE(longer->over());
}

TEST(ParralelAnimation, ChildrenTakeTheGroupsStart)
{
    Clocks clocks;
    clocks.clock.set(1000);
    Log log;
    ParralelAnimation group(clocks.time);
    clocks.clock.set(1500);
    auto* child = new RecordingAnimation("child", 400, clocks.time, log);
    group.addAnimation(child);
    clocks.clock.set(1200);
    EXPECT_EQ(child->getProgress(), 0.5);
}

TEST(ParralelAnimation, SetStartMovesEveryChild)
{
    Clocks clocks;
    Log log;
    ParralelAnimation group(clocks.time);
    auto* shorter = new RecordingAnimation("shorter", 400, clocks.time, log);
    auto* longer = new RecordingAnimation("longer", 900, clocks.time, log);
    group.addAnimation(shorter);
    group.addAnimation(longer);
    group.setStart(2000);

    clocks.clock.set(1999);
    EXPECT_EQ(shorter->getProgress(), 0.0);
    EXPECT_EQ(longer->getProgress(), 0.0);
    clocks.clock.set(2200);
    EXPECT_EQ(shorter->getProgress(), 0.5);
    EXPECT_DOUBLE_EQ(longer->getProgress(), 200.0 / 900.0);
    EXPECT_DOUBLE_EQ(group.getProgress(), 200.0 / 900.0);
}

TEST(ParralelAnimation, SetStartReachesGrandchildren)
{
    Clocks clocks;
    Log log;
    ParralelAnimation outer(clocks.time);
    auto* inner = new ParralelAnimation(clocks.time);
    auto* grandchild = new RecordingAnimation("grandchild", 100, clocks.time, log);
    inner->addAnimation(grandchild);
    outer.addAnimation(inner);
    Animation& asBase = outer;
    asBase.setStart(3000);
    clocks.clock.set(3050);
    EXPECT_EQ(grandchild->getProgress(), 0.5);
}

TEST(ParralelAnimation, DrawsEveryChildInTheOrderAdded)
{
    Clocks clocks;
    Log log;
    ParralelAnimation group(clocks.time);
    for (const char* name : {"first", "second", "third"}) {
        group.addAnimation(new RecordingAnimation(name, 100, clocks.time, log));
    }
    // Before, during and after: each child shows its own state, all are drawn.
    for (long tick : {-50L, 50L, 500L}) {
        clocks.clock.set(tick);
        log.clear();
        group.render();
        EXPECT_EQ(log, Log({"first", "second", "third"})) << tick;
    }
}

TEST(ParralelAnimation, AnEmptyGroupDrawsNothingAndIsOverOnceStarted)
{
    Clocks clocks;
    clocks.clock.set(100);
    ParralelAnimation group(clocks.time);
    group.render();
    group.setStart(400);
    clocks.clock.set(399);
    EXPECT_FALSE(group.over());
    clocks.clock.set(400);
    EXPECT_TRUE(group.over());
}

TEST(ParralelAnimation, DeletingTheGroupDeletesEveryChildOnce)
{
    Clocks clocks;
    Log log;
    int destroyed = 0;
    auto* group = new ParralelAnimation(clocks.time);
    auto* inner = new ParralelAnimation(clocks.time);
    inner->addAnimation(new RecordingAnimation("inner", 100, clocks.time, log, &destroyed));
    group->addAnimation(new RecordingAnimation("first", 100, clocks.time, log, &destroyed));
    group->addAnimation(nullptr);
    group->addAnimation(inner);
    group->render();
    EXPECT_EQ(log, Log({"first", "inner"}));

    Animation* asBase = group;
    delete asBase;
    EXPECT_EQ(destroyed, 2);
}
