// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/SampleGame.h"

// The meteor is chosen and cast through commands like any spell, a recorded
// game with it replays to the same battlefield, and an unknown spell is
// refused by name.
TEST(GameSpells, AMeteorIsCastByCommandAndReplays)
{
    SampleGame live(BattlefieldSetup(), 7, 0);
    ASSERT_EQ(live.game.apply(Command::Spell{"meteor"}), "");
    EXPECT_EQ(live.game.getWeapon(), "meteor");
    ASSERT_EQ(live.game.apply(Command::Aim{0, 30, 50, 2.5}), "");
    ASSERT_EQ(live.game.apply(Command::Cast{0}), "");
    EXPECT_EQ(live.game.getShotCount(), 1);

    SampleGame again(BattlefieldSetup(), 99, 0);
    for (const ReplayStep& step : live.recorder.steps) {
        ASSERT_EQ(again.game.apply(step.command), "");
    }
    EXPECT_EQ(again.game.getDigest(), live.game.getDigest());

    const std::string why = live.game.apply(Command::Spell{"meteors"});
    EXPECT_NE(why.find("spell meteors refused"), std::string::npos) << why;
    EXPECT_NE(why.find("meteor"), std::string::npos) << why;
    BattlefieldSetup setup;
    setup.spell = "comet";
    EXPECT_NE(live.game.apply(Command::Battlefield{setup, 3}).find("spell comet refused"), std::string::npos);
    EXPECT_EQ(live.game.getWeapon(), "meteor");
}
