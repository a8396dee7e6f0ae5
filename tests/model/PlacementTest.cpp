// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/ArenaModel.h"
#include "support/ModelChecks.h"
#include "support/ScriptedRandom.h"

TEST(PlayerNames, TheTwoTablesHoldTheGamesNames)
{
    ArenaModel model(0, 1, 1, 1);
    const std::vector<std::string> first = {"Torva", "Osri", "Faelin", "Morwick", "Quennith",
                                            "Brum", "Nox", "Harn", "Vendel", "Tesk",
                                            "Grim", "Tam", "Corvin", "Rudlow", "Anwel",
                                            "Fenn", "Odil", "Kalem", "Rho"};
    const std::vector<std::string> last = {"Vaskel", "Murk", "Pell", "Oak", "Dunmoore",
                                           "Brine", "Emberfall", "Quay", "Tolvar", "Rooke",
                                           "Silt", "the Pale", "Stonehelm", "Wick", "Vane",
                                           "Ruinous", "Mildew"};
    EXPECT_EQ(model.getFirstNames(), first);
    EXPECT_EQ(model.getLastNames(), last);
}

TEST(PlayerNames, EachPlayerDrawsAFirstThenALastName)
{
    // trunc(19 * r) and trunc(17 * r).
    ScriptedRandom script({0.0, 0.0, 0.06, 0.7, 0.9999, 0.9999});
    ArenaModel model(3, 15, 15, 20, script.stream());
    EXPECT_EQ(model.getPlayer(0).getName(), "Torva Vaskel");
    EXPECT_EQ(model.getPlayer(1).getName(), "Osri the Pale");
    EXPECT_EQ(model.getPlayer(2).getName(), "Rho Mildew");
    EXPECT_EQ(script.drawn(), 6u);
}

TEST(PlayerNames, InitPlayersReplacesEveryPlayer)
{
    ScriptedRandom script({0.3});
    ArenaModel model(2, 15, 15, 20, script.stream());
    model.reset();
    model.initPlayers();
    ASSERT_EQ(model.getNumberOfPlayers(), 2);
    for (const Player& player : model.getPlayers()) {
        EXPECT_EQ(player.getPosition(), Vector(0, 0, 0));
    }
}

TEST(Placement, APlayerStandsOnTopOfTheColumnDrawn)
{
    // Plateau 8 high; then x = trunc(0.4 * 15) = 6, z = trunc(0.2 * 15) = 3.
    std::vector<double> draws = {0.1, 0.1};  // the name
    draws.insert(draws.end(), 10, 0.5);      // the terrain
    draws.insert(draws.end(), {0.4, 0.2});   // the place
    ScriptedRandom script(draws);
    ArenaModel model(1, 15, 15, 20, script.stream());
    model.reset();
    EXPECT_EQ(model.getPlayer(0).getPosition(), Vector(6, 8, 3));
}

TEST(Placement, OnAOneByOneGridThePlayerStandsOnTheOnlyColumn)
{
    Main::seedRandom(21);
    ArenaModel model(1, 1, 1, 20, RandomStream(21));
    model.reset();
    int top = columnHeight(model, 0, 0);
    EXPECT_EQ(model.getPlayer(0).getPosition(), Vector(0, top, 0));
}

TEST(Placement, ATakenSpotIsDrawnAgain)
{
    // Two players on the plateau; the second first draws the first's column.
    std::vector<double> draws(4, 0.1);     // two names
    draws.insert(draws.end(), 10, 0.5);    // terrain
    draws.insert(draws.end(), {0.4, 0.2}); // player 0 at (6, 8, 3)
    draws.insert(draws.end(), {0.4, 0.2}); // player 1: taken
    draws.insert(draws.end(), {0.0, 0.0}); // player 1: the origin column
    ScriptedRandom script(draws);
    ArenaModel model(2, 15, 15, 20, script.stream());
    model.reset();
    EXPECT_EQ(model.getPlayer(0).getPosition(), Vector(6, 8, 3));
    EXPECT_EQ(model.getPlayer(1).getPosition(), Vector(0, 8, 0));
    // And one draw each for how the two are shown.
    EXPECT_EQ(script.drawn(), 4u + 10u + 6u + 2u);
}

TEST(Placement, NobodyStandsInABlockInAnotherPlayerOrAboveAGap)
{
    Main::seedRandom(1234);
    ArenaModel model(12, 15, 15, 20, RandomStream(1234));
    for (int round = 0; round < 100; ++round) {
        model.reset();
        for (int id = 0; id < 12; ++id) {
            Vector place = model.getPlayer(id).getPosition();
            ASSERT_EQ(place, place.toInt());
            int x = static_cast<int>(place.x);
            int z = static_cast<int>(place.z);
            ASSERT_EQ(place.y, columnHeight(model, x, z)) << "not standing on its column";
            for (int other = 0; other < 12; ++other) {
                if (other != id) {
                    ASSERT_FALSE(model.getPlayer(other).isInside(place))
                        << id << " inside " << other;
                }
            }
        }
    }
}

TEST(Placement, MorePlayersThanColumnsEndsWithAWarningInsteadOfHanging)
{
    Main::seedRandom(4);
    ArenaModel model(3, 1, 2, 10, RandomStream(4));
    testing::internal::CaptureStderr();
    model.reset();
    std::string errors = testing::internal::GetCapturedStderr();
    // Two columns, three players: the third stays where it was.
    EXPECT_NE(model.getPlayer(0).getPosition(), model.getPlayer(1).getPosition());
    EXPECT_EQ(model.getPlayer(2).getPosition(), Vector(0, 0, 0));
    EXPECT_NE(errors.find("No free place on the battlefield for player 2"), std::string::npos)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST(Placement, WhenDrawsKeepMissingAFreeColumnIsFoundByScanning)
{
    // Every draw is 0: a single layer, and every draw lands on column (0, 0),
    // whose top cell (0, 1, 0) lies in the boxes of the players still standing
    // at the origin. Scanning finds the other columns; a player's own old
    // place does not count against it there.
    ScriptedRandom script({0.0});
    ArenaModel model(2, 3, 1, 10, script.stream());
    testing::internal::CaptureStderr();
    model.reset();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    EXPECT_EQ(model.getPlayer(0).getPosition(), Vector(1, 1, 0));
    EXPECT_EQ(model.getPlayer(1).getPosition(), Vector(0, 1, 0));
}

TEST(Placement, ALonePlayerIsNotBlockedByItsOwnOldPlace)
{
    // One column one cell high: its top cell lies in the player's own box at
    // the origin, which random draws count as taken.
    ScriptedRandom script({0.0});
    ArenaModel model(1, 1, 1, 3, script.stream());
    testing::internal::CaptureStderr();
    model.reset();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(model.getPlayer(0).getPosition(), Vector(0, 1, 0));
}

TEST(Placement, AColumnPerPlayerIsAlwaysEnough)
{
    Main::seedRandom(17);
    for (int round = 0; round < 30; ++round) {
        ArenaModel model(4, 2, 2, 3 + round % 10, RandomStream(17));
        testing::internal::CaptureStderr();
        model.reset();
        model.reset();
        ASSERT_EQ(testing::internal::GetCapturedStderr(), "") << round;
    }
}

TEST(Placement, GridsWithoutColumnsOrLayersNeverHang)
{
    Main::seedRandom(6);
    for (auto [width, depth, height] : {std::tuple{0, 5, 5}, std::tuple{5, 0, 5},
                                        std::tuple{5, 5, 0}, std::tuple{1, 1, 1}}) {
        ArenaModel model(2, width, depth, height, RandomStream(6));
        testing::internal::CaptureStderr();
        model.reset();
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find("No free place"), std::string::npos)
            << width << "x" << depth << "x" << height;
    }
}
