// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/RecordingSoundPlayer.h"
#include "view/SoundCues.h"

namespace {

using Calls = std::vector<std::string>;

class SoundCuesTest : public testing::Test {
protected:
    void SetUp() override { cues.setPlayer(&player); }

    RecordingSoundPlayer player;
    SoundCues cues;
};

} // namespace

TEST_F(SoundCuesTest, CuesPlayWhenTheirTickIsReachedInTheirOrder)
{
    cues.add(500, Sound::hurt, Vector(1, 0, 0));
    cues.add(100, Sound::castNova, Vector(0, 0, 0));
    cues.add(500, Sound::death, Vector(2, 0, 0));
    cues.update(99);
    EXPECT_TRUE(player.take().empty());
    cues.update(100);
    EXPECT_EQ(player.take(), Calls{"play cast_nova 0 0 0"});
    // A slow frame plays everything it passed, earliest first, equal ticks
    // in the order they were added.
    cues.update(600);
    EXPECT_EQ(player.take(), (Calls{"play hurt 1 0 0", "play death 2 0 0"}));
    EXPECT_EQ(cues.getPendingCount(), 0u);
}

TEST_F(SoundCuesTest, ACueHalfASecondLateIsDroppedNotPlayedInABurst)
{
    cues.add(1000, Sound::hurt, Vector());
    cues.add(1100, Sound::death, Vector());
    cues.add(3000, Sound::blockLand, Vector());
    // The first frame for a while, as when the window shows again: the
    // hurt's moment has long passed, the death's has only just.
    cues.update(1600);
    EXPECT_EQ(player.take(), Calls{"play death 0 0 0"});
    // At four times real time, 1600 ticks late is 400 ms: still heard.
    cues.update(4600, 4.0);
    EXPECT_EQ(player.take(), Calls{"play block_land 0 0 0"});
    EXPECT_EQ(cues.getPendingCount(), 0u);
}

TEST_F(SoundCuesTest, TheFlightLoopRidesThePathAndStopsAtItsEnd)
{
    cues.addFlight({Vector(0, 0, 0), Vector(10, 0, 0), Vector(10, 10, 0)}, 1000, 3000);
    cues.update(999);
    EXPECT_TRUE(player.take().empty());
    cues.update(1000);
    cues.update(2000);
    cues.update(2500);
    EXPECT_EQ(player.take(), (Calls{"loop flight 0 0 0", "move 10 0 0", "move 10 5 0"}));
    cues.update(3000);
    EXPECT_EQ(player.take(), Calls{"stop"});
    cues.update(4000);
    EXPECT_TRUE(player.take().empty());
    EXPECT_EQ(cues.getPendingCount(), 0u);
}

TEST_F(SoundCuesTest, AFlightAFrameSkippedAltogetherIsNeverStarted)
{
    cues.addFlight({Vector(0, 0, 0), Vector(10, 0, 0)}, 1000, 1200);
    cues.update(1500);
    EXPECT_TRUE(player.take().empty());
}

TEST_F(SoundCuesTest, ClearingSilencesTheFlightAndForgetsTheCues)
{
    cues.add(2000, Sound::blastFireball, Vector(1, 2, 3));
    cues.addFlight({Vector(0, 0, 0), Vector(10, 0, 0)}, 0, 2000);
    cues.update(100);
    player.take();
    cues.clear();
    EXPECT_EQ(player.take(), Calls{"stop"});
    cues.update(5000);
    EXPECT_TRUE(player.take().empty());
}

TEST_F(SoundCuesTest, WithoutAPlayerCuesStillComeDueAndGo)
{
    SoundCues silent;
    silent.add(10, Sound::hurt, Vector());
    silent.addFlight({Vector(), Vector(1, 0, 0)}, 0, 100);
    silent.playNear(Sound::keyClick);
    silent.update(50);
    EXPECT_EQ(silent.getPendingCount(), 1u);
    silent.update(100);
    EXPECT_EQ(silent.getPendingCount(), 0u);
}
