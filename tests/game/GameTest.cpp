// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <stdlib.h>

#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

#include "game/Game.h"
#include "model/ArenaModel.h"
#include "support/SampleGame.h"

namespace {

std::vector<std::uint64_t> digests(const std::vector<ReplayStep>& steps)
{
    std::vector<std::uint64_t> found;
    for (const ReplayStep& step : steps) {
        if (step.digest) {
            found.push_back(*step.digest);
        }
    }
    return found;
}

BattlefieldSetup windySetup()
{
    BattlefieldSetup setup;
    setup.windEnabled = true;
    return setup;
}

} // namespace

// The game owns its stream: whatever else in the process draws from the C
// library's generator, a seed gives the same game.
TEST(GameRandomness, ASeededGameReplaysWhileAnotherThreadDrawsFromTheCLibrary)
{
    const std::vector<std::uint64_t> quiet = digests(SampleGame(windySetup(), 7, 12).recorder.steps);
    std::atomic<bool> stop{false};
    std::thread noise([&stop] {
        for (unsigned int i = 0; !stop; ++i) {
            std::srand(i);
            srandom(i);
            (void)std::rand();
            (void)random();
        }
    });
    const std::vector<std::uint64_t> noisy = digests(SampleGame(windySetup(), 7, 12).recorder.steps);
    stop = true;
    noise.join();
    EXPECT_EQ(quiet.size(), 12u);
    EXPECT_EQ(quiet, noisy);
    EXPECT_NE(quiet, digests(SampleGame(windySetup(), 8, 12).recorder.steps));
}

// Whatever starts a battlefield, the game tells it as one whole set-up with
// its seed, and that command alone gives the same battlefield again.
TEST(GameCommands, EveryNewBattlefieldIsToldAsASetUpThatGivesItAgain)
{
    GameSetup screen;
    screen.players = 3;
    screen.seats[1].name = "Ada";
    screen.seats[2].computer = ComputerLevel::hard;
    const std::vector<GameCommand> starts = {
        Command::NewBattlefield{},
        Command::Players{5, 1.0, 1.8, Vector(0.5, 0.9, 0.5), 1.15, std::nullopt},
        Command::Grid{20, 18, 25, std::nullopt},
        Command::WindEnabled{true, std::nullopt},
        Command::StartSetup{screen, std::nullopt},
    };
    for (const GameCommand& start : starts) {
        SampleGame live(BattlefieldSetup(), 3, 2);
        ASSERT_EQ(live.game.apply(start), "");
        const GameCommand told = live.recorder.steps.back().command;
        ASSERT_TRUE(std::holds_alternative<Command::Battlefield>(told)) << start.index();
        EXPECT_TRUE(std::get<Command::Battlefield>(told).seed.has_value());

        SampleGame again(BattlefieldSetup(), 99, 0);
        ASSERT_EQ(again.game.apply(told), "");
        EXPECT_EQ(again.game.getDigest(), live.game.getDigest()) << start.index();
        EXPECT_EQ(again.game.getSetup(), live.game.getSetup()) << start.index();
    }
}

TEST(GameCommands, TheNewGameScreensNamesAreTheCastersFromTheStart)
{
    GameSetup screen;
    screen.players = 2;
    screen.seats[0].name = "Ada";
    SampleGame live(BattlefieldSetup(), 3, 0);
    ASSERT_EQ(live.game.apply(Command::StartSetup{screen, 5}), "");
    EXPECT_EQ(live.model.getPlayer(0).getName(), "Ada");
    EXPECT_EQ(std::get<Command::Battlefield>(live.recorder.steps.back().command).setup.names,
              (std::vector<std::string>{"Ada", ""}));
}

// A command the game cannot take is refused with a reason and changes nothing.
TEST(GameCommands, RefusedCommandsChangeNothing)
{
    struct Case {
        GameCommand command;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {Command::Cast{1}, "it is player 0's turn"},
        {Command::Cast{9}, "ids run from 0 to 3"},
        {Command::Aim{0, 1e300, 0, 4}, "finite numbers of degrees"},
        {Command::Aim{0, 0, 0, 101}, "the power runs from 0 to 100"},
        {Command::Aim{2, 0, 0, 4}, "it is player 0's turn"},
        {Command::Pass{3}, "it is player 0's turn"},
        {Command::Spell{"thunderbolt"}, "fireball, cyclone, nova or meteor"},
        {Command::Radius{-1}, "0 or more"},
        {Command::Gravity{Vector(0, std::nan(""), 0)}, "finite"},
        {Command::Name{1, "Nine\x07"}, "name refused"},
        {Command::Name{4, "Ada"}, "no player 4"},
        {Command::Grid{0, 15, 20, std::nullopt}, "every side needs at least one cell"},
        {Command::Players{65, 1, 1.8, Vector(), 1, std::nullopt}, "from 1 to 64"},
        {Command::Kind{64, ComputerLevel::hard}, "ids run from 0 to 63"},
    };
    SampleGame live(BattlefieldSetup(), 11, 0);
    const std::uint64_t before = live.game.getDigest();
    const BattlefieldSetup setup = live.game.getSetup();
    for (const Case& refused : cases) {
        const std::string why = live.game.apply(refused.command);
        EXPECT_NE(why.find(refused.reason), std::string::npos) << why;
    }
    EXPECT_EQ(live.game.getDigest(), before);
    EXPECT_EQ(live.game.getSetup(), setup);
    EXPECT_EQ(live.game.getYaw(0), 0.0);
    EXPECT_EQ(live.recorder.steps.size(), 1u);
}

TEST(GameCommands, ABattlefieldWithItsWinnerTakesNoMoreCasts)
{
    SampleGame live(BattlefieldSetup(), 4, 0);
    int casts = 0;
    while (!live.game.isLastManStanding() && casts < 200) {
        const int player = live.game.getCurrentPlayer();
        // Straight down on one's own column: the cyclone takes the caster.
        live.game.apply(Command::Aim{player, 0, -90, 1});
        live.game.apply(Command::Spell{"cyclone"});
        ASSERT_EQ(live.game.apply(Command::Cast{player}), "");
        ++casts;
    }
    ASSERT_TRUE(live.game.isLastManStanding());
    EXPECT_NE(live.game.apply(Command::Cast{live.game.getCurrentPlayer()}), "");
    EXPECT_EQ(live.game.apply(Command::NewBattlefield{}), "");
    EXPECT_FALSE(live.game.isLastManStanding());
}
