// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/ArenaModel.h"
#include "support/ModelChecks.h"
#include "support/ScriptedRandom.h"

namespace {

// A default-sized battlefield that is a flat plateau 8 high, with no players.
class PlateauModel : public ::testing::Test {
protected:
    PlateauModel()
        : script({0.5}), model(0, 15, 15, 20, script.stream())
    {
        model.reset();
    }

    ScriptedRandom script;
    ArenaModel model;
};

} // namespace

TEST_F(PlateauModel, ExtentsComeFromTheConstructorWithDepthBeforeHeight)
{
    ArenaModel other(2, 7, 9, 11);
    EXPECT_EQ(other.getWidth(), 7);
    EXPECT_EQ(other.getDepth(), 9);
    EXPECT_EQ(other.getHeight(), 11);
}

TEST_F(PlateauModel, InsideGridIsHalfOpenOnEveryAxis)
{
    EXPECT_TRUE(model.isInsideGrid(Vector(14.999, 19.999, 14.999)));
    EXPECT_TRUE(model.isInsideGrid(Vector(0, 0, 0)));
    EXPECT_FALSE(model.isInsideGrid(Vector(15, 0, 0)));
    EXPECT_FALSE(model.isInsideGrid(Vector(0, 20, 0)));
    EXPECT_FALSE(model.isInsideGrid(Vector(0, 0, 15)));
    EXPECT_FALSE(model.isInsideGrid(Vector(-0.001, 0, 0)));
}

TEST_F(PlateauModel, EverythingOutsideTheGridIsGround)
{
    // trunc(-0.5) would be the solid cell 0: the inside test must come first
    // and answer, whatever the cell.
    EXPECT_TRUE(model.testGround(-0.5, 3, 3));
    EXPECT_TRUE(model.testGround(3.7, 20.0, 3.2));
    EXPECT_TRUE(model.testGround(15.0, 10, 3));
    EXPECT_TRUE(model.testGround(3, 10, -0.0001));
    EXPECT_TRUE(model.testGround(Vector(3, -1, 3)));
}

TEST_F(PlateauModel, InsideTheGridTheCellDecides)
{
    EXPECT_TRUE(model.testGround(3.7, 7.9, 3.2));
    EXPECT_FALSE(model.testGround(3.7, 8.0, 3.2));
    model.removeGround(Vector(3.7, 2.9, 3.2));
    EXPECT_FALSE(model.testGround(3.1, 2.1, 3.9));
    EXPECT_TRUE(model.testGround(3.1, 1.9, 3.9));
    EXPECT_TRUE(model.testGround(4.1, 2.1, 3.9));
}

TEST_F(PlateauModel, RemovingGroundOutsideTheGridChangesNothing)
{
    for (Vector outside : {Vector(-0.5, 3, 3), Vector(3, -0.5, 3), Vector(3, 3, -0.5),
                           Vector(15, 3, 3), Vector(3, 3, 15)}) {
        model.removeGround(outside);
    }
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            ASSERT_EQ(columnHeight(model, x, z), 8);
        }
    }
}

TEST_F(PlateauModel, ClearEmptiesAndFreeForgetsTheGrid)
{
    model.clearTerrain();
    EXPECT_FALSE(model.testGround(3.5, 0.5, 3.5));
    model.reset();
    EXPECT_TRUE(model.testGround(3.5, 0.5, 3.5));
    model.freeTerrain();
    model.freeTerrain();
    // Without a grid the inside reads as empty, the outside as ground.
    EXPECT_FALSE(model.testGround(3.5, 0.5, 3.5));
    EXPECT_TRUE(model.testGround(-1, 0.5, 3.5));
    model.allocateTerrain();
    EXPECT_FALSE(model.testGround(3.5, 0.5, 3.5));
}

TEST(ArenaModelBeforeReset, QueriesAnswerAsForAnEmptyGrid)
{
    ArenaModel model(4, 15, 15, 20);
    EXPECT_FALSE(model.testGround(3.5, 0.5, 3.5));
    EXPECT_TRUE(model.testGround(3.5, 20.5, 3.5));
    model.removeGround(Vector(3.5, 0.5, 3.5));
    // All four players stand at the origin until the first reset.
    EXPECT_TRUE(model.testAny(0.5, 0.5, 0.5));
    EXPECT_FALSE(model.testAny(5.5, 0.5, 5.5));
}

TEST(ArenaModelBeforeReset, ANewModelHasItsPlayersAtTheOriginAndNoWind)
{
    ArenaModel model(3, 15, 15, 20);
    EXPECT_EQ(model.getNumberOfPlayers(), 3);
    EXPECT_EQ(model.getPlayers().size(), 3u);
    for (const Player& player : model.getPlayers()) {
        EXPECT_EQ(player.getPosition(), Vector(0, 0, 0));
        EXPECT_EQ(player.getHp(), 100.0);
        EXPECT_EQ(player.getWidth(), 1.0);
        EXPECT_EQ(player.getHeight(), 1.8);
        EXPECT_EQ(player.getCannonLength(), 1.15);
        EXPECT_EQ(player.getCannonPosition(0), Vector(0.5, 0.9, 0.5));
    }
    EXPECT_EQ(model.getGravity(), Vector(0, -0.98, 0));
    EXPECT_EQ(model.getWind(), Vector(0, 0, 0));
    EXPECT_FALSE(model.isWindEnabled());
}

TEST(ArenaModelPlayerQueries, DeadPlayersStillStandButNoLongerBlock)
{
    ScriptedRandom script({0.5});
    ArenaModel model(1, 15, 15, 20, script.stream());
    model.reset();
    const Player& player = model.getPlayer(0);
    Vector inside = player.getPosition() + Vector(0.5, 1.0, 0.5);
    EXPECT_TRUE(model.testPlayer(inside));
    EXPECT_TRUE(model.testAny(inside));
    const_cast<Player&>(player).damage(100);
    EXPECT_FALSE(model.testPlayer(inside));
    EXPECT_TRUE(model.testPlayerDeadOrAlive(inside));
    EXPECT_FALSE(model.testAny(inside));
    EXPECT_EQ(model.getPlayerAt(inside).getName(), player.getName());
}

TEST(ArenaModelPlayerQueries, GetPlayerAtThrowsWhereNobodyStands)
{
    ScriptedRandom script({0.5});
    ArenaModel model(2, 15, 15, 20, script.stream());
    model.reset();
    try {
        model.getPlayerAt(Vector(-5, -5, -5));
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "ArenaModel::getPlayerAt called but couldn't find any player");
    }
}

TEST(ArenaModelPlayerQueries, GetPlayerAtFindsTheFirstInIdOrder)
{
    ArenaModel model(3, 15, 15, 20);
    // Before any reset all three share the origin.
    EXPECT_EQ(model.getPlayerId(model.getPlayerAt(Vector(0.5, 0.5, 0.5))), 0);
}

TEST(ArenaModelPlayerQueries, EqualNamesResolveToTheLowerId)
{
    // Every draw 0: every player is "Torva Vaskel".
    ScriptedRandom script({0.0});
    ArenaModel model(3, 15, 15, 20, script.stream());
    EXPECT_EQ(model.getPlayerId(model.getPlayer(2)), 0);
    Player stranger("Nobody Here", Vector(), 1, 1, Vector(), 1);
    EXPECT_EQ(model.getPlayerId(stranger), -1);
}

TEST(ArenaModelPlayerQueries, PlayerIdsOutsideTheSequenceThrowInsteadOfReadingGarbage)
{
    ArenaModel model(2, 15, 15, 20);
    EXPECT_THROW(model.getPlayer(2), std::out_of_range);
    EXPECT_THROW(model.getPlayer(-1), std::out_of_range);
}
