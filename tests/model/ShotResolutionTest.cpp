// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/Battlefield.h"
#include "support/ModelChecks.h"

namespace {

// Fires a marking spell for player 0 and returns what the shot printed.
std::string fire(Battlefield& field, MarkingSpell& spell, int shooter = 0)
{
    testing::internal::CaptureStdout();
    field.model.throwProjectile(shooter, &spell, 0, 90, 1);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(ShotResolution, BlocksAboveDestroyedOnesFallIntoTheGap)
{
    Battlefield field(1, 15, 15, 20);
    field.lowerColumn(4, 4, 6);
    field.stand(0, 10, 10);
    MarkingSpell spell({Vector(4, 2, 4), Vector(4, 3, 4)});
    fire(field, spell);
    EXPECT_EQ(field.listener.lastRemovedBlocks, (std::set<Vector>{Vector(4, 2, 4), Vector(4, 3, 4)}));
    EXPECT_EQ(field.listener.lastFallingBlocks,
              (std::map<Vector, int>{{Vector(4, 4, 4), 2}, {Vector(4, 5, 4), 2}}));
    EXPECT_EQ(columnHeight(field.model, 4, 4), 4);
    EXPECT_EQ(columnInvariantViolation(field.model), "");
}

TEST(ShotResolution, APlayerOnTheColumnFallsWithItAndTakesFallDamageOnce)
{
    Battlefield field(2, 15, 15, 20);
    field.lowerColumn(4, 4, 6);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    MarkingSpell spell({Vector(4, 2, 4), Vector(4, 3, 4)});
    std::string printed = fire(field, spell);
    EXPECT_EQ(printed, "Height damage: 4\n");
    EXPECT_EQ(field.player(1).getPosition(), Vector(4, 4, 4));
    EXPECT_EQ(field.player(1).getHp(), 96.0);
    EXPECT_EQ(field.listener.lastPlayerFalls, (std::map<int, int>{{1, 2}}));
    EXPECT_EQ(field.listener.lastDamages, (std::map<int, double>{{1, 4.0}}));
}

TEST(ShotResolution, FallDamageDoublesWithEveryCell)
{
    for (auto [fall, damage] : {std::pair{1, 2.0}, std::pair{3, 8.0}, std::pair{6, 64.0},
                                std::pair{7, 128.0}}) {
        Battlefield field(2, 15, 15, 20);
        field.stand(0, 10, 10);
        field.stand(1, 4, 4);
        std::set<Vector> cells;
        for (int y = 0; y < fall; ++y) {
            cells.insert(Vector(4, y, 4));
        }
        MarkingSpell spell(cells);
        std::string printed = fire(field, spell);
        std::ostringstream expected;
        expected << "Height damage: " << damage << "\n";
        EXPECT_EQ(printed, expected.str());
        EXPECT_EQ(field.listener.lastDamages.at(1), damage);
        EXPECT_EQ(field.player(1).getPosition().y, 15 - fall);
        EXPECT_EQ(field.player(1).isDead(), fall == 7) << fall;
        EXPECT_EQ(field.listener.lastKilledPlayers.count(1), fall == 7 ? 1u : 0u);
    }
}

TEST(ShotResolution, ADeadPlayerFallsButTakesNoDamageAndIsNotKilledAgain)
{
    Battlefield field(2, 15, 15, 20);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    field.player(1).damage(150);
    MarkingSpell spell({Vector(4, 14, 4)}, {{1, 30.0}});
    fire(field, spell);
    EXPECT_EQ(field.listener.lastPlayerFalls, (std::map<int, int>{{1, 1}}));
    EXPECT_EQ(field.listener.lastDamages, (std::map<int, double>{{1, 32.0}}));
    EXPECT_TRUE(field.listener.lastKilledPlayers.empty());
    EXPECT_EQ(field.player(1).getHp(), -50.0);
    EXPECT_EQ(field.player(1).getPosition().y, 14.0);
}

TEST(ShotResolution, ExactlyZeroHitPointsKills)
{
    Battlefield field(2, 15, 15, 20);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    MarkingSpell spell({}, {{1, 100.0}});
    fire(field, spell);
    EXPECT_EQ(field.listener.lastKilledPlayers, (std::set<int>{1}));
    EXPECT_EQ(field.player(1).getHp(), 0.0);

    // Hurt again: listed in the damages, not killed a second time.
    MarkingSpell again({}, {{1, 10.0}});
    fire(field, again);
    EXPECT_EQ(field.listener.lastDamages.count(1), 1u);
    EXPECT_TRUE(field.listener.lastKilledPlayers.empty());
    EXPECT_EQ(field.player(1).getHp(), 0.0);
}

TEST(ShotResolution, OnlySolidCellsInsideTheGridAreRemoved)
{
    Battlefield field(1, 15, 15, 20);
    field.stand(0, 10, 10);
    MarkingSpell spell({Vector(-1, 3, 3), Vector(3, 17, 3), Vector(3, 3, 15), Vector(2, 14, 2)});
    fire(field, spell);
    EXPECT_EQ(field.listener.lastRemovedBlocks, (std::set<Vector>{Vector(2, 14, 2)}));
    EXPECT_TRUE(field.listener.lastFallingBlocks.empty());
}

TEST(ShotResolution, ADestroyedBlockUnderAnotherColumnDoesNotMoveThePlayer)
{
    Battlefield field(2, 15, 15, 20);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    MarkingSpell spell({Vector(5, 3, 4), Vector(4, 3, 5)});
    fire(field, spell);
    EXPECT_TRUE(field.listener.lastPlayerFalls.empty());
    EXPECT_EQ(field.player(1).getPosition(), Vector(4, 15, 4));
}

TEST(ShotResolution, EveryListenerHearsTheShotOnceWithTheSameOutcome)
{
    Battlefield field(2, 15, 15, 20);
    RecordingListener second("second");
    field.model.addListener(&second);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    MarkingSpell spell({Vector(4, 14, 4)}, {{1, 50.0}});
    fire(field, spell);
    EXPECT_EQ(field.listener.events, (std::vector<std::string>{"listener.onProjectile(0)"}));
    EXPECT_EQ(second.events, (std::vector<std::string>{"second.onProjectile(0)"}));
    EXPECT_EQ(second.lastDamages, field.listener.lastDamages);
    EXPECT_EQ(second.lastRemovedBlocks, field.listener.lastRemovedBlocks);
    EXPECT_EQ(second.lastTrajectory, field.listener.lastTrajectory);
}

TEST(ShotResolution, AShotThatDestroysNothingIsStillReported)
{
    Battlefield field(1, 15, 15, 20);
    field.stand(0, 7, 7);
    MarkingSpell spell({});
    fire(field, spell);
    EXPECT_EQ(field.listener.events.size(), 1u);
    EXPECT_TRUE(field.listener.lastRemovedBlocks.empty());
    EXPECT_TRUE(field.listener.lastFallingBlocks.empty());
    EXPECT_TRUE(field.listener.lastPlayerFalls.empty());
    EXPECT_TRUE(field.listener.lastKilledPlayers.empty());
    EXPECT_GE(field.listener.lastTrajectory.size(), 2u);
}

TEST(ShotResolution, PlayersSharingANameFallEachAsThemselves)
{
    // Every name drawn alike: both are the same name. Only the player really
    // standing on the destroyed column may fall.
    Battlefield field(2, 15, 15, 20);
    ASSERT_EQ(field.player(0).getName(), field.player(1).getName());
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    MarkingSpell spell({Vector(4, 14, 4)});
    fire(field, spell);
    EXPECT_EQ(field.listener.lastPlayerFalls, (std::map<int, int>{{1, 1}}));
    EXPECT_EQ(field.player(1).getPosition(), Vector(4, 14, 4));
    EXPECT_EQ(field.player(0).getPosition(), Vector(10, 15, 10));
}

TEST(ShotResolution, TheSpellIsToldTheLastTrajectoryPoint)
{
    Battlefield field(1, 15, 15, 20);
    field.stand(0, 7, 7);
    MarkingSpell spell({});
    field.model.throwProjectile(0, &spell, 45, 30, 2);
    ASSERT_EQ(spell.impacts.size(), 1u);
    EXPECT_EQ(spell.impacts[0], field.listener.lastTrajectory.back());
    EXPECT_EQ(field.listener.lastTrajectory.front(), field.player(0).getCannonNose(45, 30));
}

TEST(ShotResolution, ACopyOfTheModelIsShotAtSilentlyAndAlone)
{
    Battlefield field(2, 15, 15, 20);
    field.lowerColumn(4, 4, 6);
    field.stand(0, 10, 10);
    field.stand(1, 4, 4);
    ArenaModel copy(field.model);
    MarkingSpell spell({Vector(4, 2, 4), Vector(4, 3, 4)});

    testing::internal::CaptureStdout();
    const ShotOutcome outcome = copy.resolveShot(0, &spell, 0, 90, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(outcome.playerFalls, (std::map<int, int>{{1, 2}}));
    EXPECT_EQ(outcome.damages, (std::map<int, double>{{1, 4.0}}));
    EXPECT_EQ(copy.getPlayer(1).getHp(), 96.0);
    EXPECT_EQ(columnHeight(copy, 4, 4), 4);

    // The original saw nothing of it and is as it was.
    EXPECT_TRUE(field.listener.events.empty());
    EXPECT_EQ(field.model.getPlayer(1).getHp(), 100.0);
    EXPECT_EQ(columnHeight(field.model, 4, 4), 6);
    // A copy of the copy carries the changes on.
    EXPECT_EQ(ArenaModel(copy).getPlayer(1).getPosition(), Vector(4, 4, 4));
}
