// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "animation/AnimationManager.h"
#include "animation/ParralelAnimation.h"
#include "support/RecordingAnimation.h"

namespace {

// A sequence started at tick 0 (with a delay) and three children of 1000 ticks.
struct ThreePhases {
    explicit ThreePhases(bool before, bool after, long delay = 0)
    {
        sequence.setDelay(delay);
        for (const char* name : {"A", "B", "C"}) {
            sequence.addAnimation(new RecordingAnimation(name, 1000, clocks.time, log), before, after);
        }
    }
    Log renderAt(long tick)
    {
        clocks.clock.set(tick);
        log.clear();
        sequence.render();
        return log;
    }
    Clocks clocks;
    Log log;
    AnimationManager sequence{clocks.time};
};

} // namespace

TEST(AnimationManager, ChildrenStartOneAfterAnotherFromTheDelayedStart)
{
    Clocks clocks;
    Log log;
    AnimationManager sequence(clocks.time);
    sequence.setDelay(700);
    auto* first = new RecordingAnimation("first", 1000, clocks.time, log);
    auto* second = new RecordingAnimation("second", 3000, clocks.time, log);
    sequence.addAnimation(first, false, false);
    sequence.addAnimation(second, false, false);
    EXPECT_EQ(sequence.getLength(), 4000);

    clocks.clock.set(700);
    EXPECT_EQ(first->getProgress(), 0.0);
    clocks.clock.set(1200);
    EXPECT_EQ(first->getProgress(), 0.5);
    clocks.clock.set(1700);
    EXPECT_TRUE(first->over());
    EXPECT_EQ(second->getProgress(), 0.0);
    clocks.clock.set(2450);
    EXPECT_EQ(second->getProgress(), 0.25);

    clocks.clock.set(2700);
    EXPECT_EQ(sequence.getProgress(), 0.5);
    sequence.render();
    EXPECT_EQ(log, Log({"second"}));

    clocks.clock.set(4699);
    EXPECT_FALSE(sequence.over());
    clocks.clock.set(4700);
    EXPECT_TRUE(sequence.over());
    EXPECT_TRUE(second->over());
}

TEST(AnimationManager, AFinishedChildIsDrawnOnlyWithItsAfterFlag)
{
    Clocks clocks;
    Log log;
    AnimationManager sequence(clocks.time);
    sequence.setDelay(700);
    sequence.addAnimation(new RecordingAnimation("first", 1000, clocks.time, log), false, true);
    sequence.addAnimation(new RecordingAnimation("second", 3000, clocks.time, log), false, false);
    clocks.clock.set(2700);
    sequence.render();
    EXPECT_EQ(log, Log({"first", "second"}));
}

TEST(AnimationManager, StartAndDelayChangedLaterDoNotMoveAddedChildren)
{
    Clocks clocks;
    Log log;
    AnimationManager sequence(clocks.time);
    auto* early = new RecordingAnimation("early", 1000, clocks.time, log);
    sequence.addAnimation(early, false, false);
    sequence.setDelay(500);
    sequence.setStart(3000);
    auto* late = new RecordingAnimation("late", 1000, clocks.time, log);
    sequence.addAnimation(late, false, false);

    clocks.clock.set(500);
    EXPECT_EQ(early->getProgress(), 0.5);
    // Counted from the new start plus delay plus the 1000 ticks already added.
    clocks.clock.set(4500);
    EXPECT_EQ(late->getProgress(), 0.0);
    clocks.clock.set(5000);
    EXPECT_EQ(late->getProgress(), 0.5);
}

TEST(AnimationManager, TheCurrentChildIsDrawnLastOnTopOfTheOthers)
{
    ThreePhases phases(true, true);
    EXPECT_EQ(phases.renderAt(1500), Log({"A", "C", "B"}));
    EXPECT_EQ(phases.renderAt(500), Log({"B", "C", "A"}));
    EXPECT_EQ(phases.renderAt(2999), Log({"A", "B", "C"}));
}

TEST(AnimationManager, WithoutFlagsOnlyTheCurrentChildIsDrawn)
{
    ThreePhases phases(false, false);
    EXPECT_EQ(phases.renderAt(500), Log({"A"}));
    EXPECT_EQ(phases.renderAt(1000), Log({"B"}));
    EXPECT_EQ(phases.renderAt(2999), Log({"C"}));
    EXPECT_EQ(phases.renderAt(3000), Log());
}

TEST(AnimationManager, BeforeFlagsDrawOnlyTheChildrenStillToCome)
{
    ThreePhases phases(true, false);
    EXPECT_EQ(phases.renderAt(1500), Log({"C", "B"}));
}

TEST(AnimationManager, NothingIsCurrentWhileTheSequenceIsAtZero)
{
    // Still in the delay: the first child's turn has not come, and it is not
    // drawn even with its before flag set.
    ThreePhases phases(true, false, 700);
    EXPECT_EQ(phases.renderAt(0), Log({"B", "C"}));
    EXPECT_EQ(phases.renderAt(700), Log({"B", "C"}));
    EXPECT_EQ(phases.renderAt(701), Log({"B", "C", "A"}));

    ThreePhases bare(false, false, 700);
    EXPECT_EQ(bare.renderAt(300), Log());
}

TEST(AnimationManager, AChildEndingExactlyNowIsDrawnTwiceWithBothFlags)
{
    ThreePhases phases(true, true);
    EXPECT_EQ(phases.renderAt(1000), Log({"A", "A", "C", "B"}));
}

TEST(AnimationManager, WhenOverEveryChildIsPast)
{
    ThreePhases phases(false, true);
    EXPECT_EQ(phases.renderAt(3000), Log({"A", "B", "C"}));
    EXPECT_EQ(phases.renderAt(9000), Log({"A", "B", "C"}));
    EXPECT_TRUE(phases.sequence.over());
}

TEST(AnimationManager, AChildWithoutLengthIsNeverCurrent)
{
    Clocks clocks;
    Log log;
    AnimationManager sequence(clocks.time);
    sequence.addAnimation(new RecordingAnimation("empty", 0, clocks.time, log), false, false);
    sequence.addAnimation(new RecordingAnimation("effect", 1000, clocks.time, log), false, false);
    for (long tick : {0L, 1L, 500L, 999L, 1000L}) {
        clocks.clock.set(tick);
        sequence.render();
    }
    EXPECT_EQ(log, Log({"effect", "effect", "effect"}));
}

TEST(AnimationManager, ASequenceOfEmptyPhasesDrawsWithoutDividingByZero)
{
    Clocks clocks;
    clocks.clock.set(100);
    Log log;
    AnimationManager sequence(clocks.time);
    sequence.setDelay(700);
    sequence.addAnimation(new RecordingAnimation("kept", 0, clocks.time, log), false, true);
    sequence.addAnimation(new RecordingAnimation("waiting", 0, clocks.time, log), true, false);
    EXPECT_EQ(sequence.getLength(), 0);

    clocks.clock.set(500);
    sequence.render();
    EXPECT_EQ(log, Log({"kept", "waiting"}));
    EXPECT_FALSE(sequence.over());

    log.clear();
    clocks.clock.set(800);
    sequence.render();
    EXPECT_EQ(log, Log({"kept"}));
    EXPECT_TRUE(sequence.over());
}

TEST(AnimationManager, AnEmptySequenceDrawsNothing)
{
    Clocks clocks;
    AnimationManager sequence(clocks.time);
    sequence.render();
    EXPECT_EQ(sequence.getLength(), 0);
    EXPECT_TRUE(sequence.over());
}

TEST(AnimationManager, NestedCompositesStartWithTheirTurn)
{
    Clocks clocks;
    Log log;
    AnimationManager sequence(clocks.time);
    sequence.setDelay(700);
    sequence.addAnimation(new RecordingAnimation("flight", 600, clocks.time, log), false, false);
    auto* debris = new ParralelAnimation(clocks.time);
    auto* block = new RecordingAnimation("block", 1000, clocks.time, log);
    debris->addAnimation(block);
    sequence.addAnimation(debris, true, false);
    EXPECT_EQ(sequence.getLength(), 1600);

    // Before its turn the debris is drawn at progress 0.
    clocks.clock.set(1000);
    sequence.render();
    EXPECT_EQ(log, Log({"block", "flight"}));
    EXPECT_EQ(block->getProgress(), 0.0);
    clocks.clock.set(1800);
    EXPECT_EQ(block->getProgress(), 0.5);
}

TEST(AnimationManager, DeletingTheSequenceDeletesEveryChildOnce)
{
    Clocks clocks;
    Log log;
    int destroyed = 0;
    auto* sequence = new AnimationManager(clocks.time);
    sequence->addAnimation(new RecordingAnimation("A", 100, clocks.time, log, &destroyed), true, true);
    sequence->addAnimation(nullptr, true, true);
    sequence->addAnimation(new RecordingAnimation("B", 100, clocks.time, log, &destroyed), false, false);
    EXPECT_EQ(sequence->getLength(), 200);

    clocks.clock.set(150);
    sequence->render();
    EXPECT_EQ(log, Log({"A", "B"}));
    clocks.clock.set(500);
    sequence->render();
    EXPECT_EQ(destroyed, 0);

    Animation* asBase = sequence;
    delete asBase;
    EXPECT_EQ(destroyed, 2);
}
