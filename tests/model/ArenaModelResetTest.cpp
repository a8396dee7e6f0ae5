// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/ArenaModel.h"
#include "support/ModelChecks.h"
#include "support/RecordingListener.h"
#include "support/ScriptedRandom.h"

using Events = std::vector<std::string>;

TEST(ArenaModelReset, EachListenerHearsTheMapThenEveryPlayerBeforeTheNextListener)
{
    ScriptedRandom script({0.5, 0.1, 0.9, 0.3, 0.7});
    ArenaModel model(3, 15, 15, 20, script.stream());
    RecordingListener a("A");
    RecordingListener b("B");
    model.addListener(&a);
    model.addListener(&b);
    model.reset();
    std::vector<std::string> all = a.events;
    all.insert(all.end(), b.events.begin(), b.events.end());
    EXPECT_EQ(a.events, (Events{"A.onNewMap(15, 15, 20)", "A.onPlayer(0)", "A.onPlayer(1)",
                                "A.onPlayer(2)"}));
    EXPECT_EQ(b.events, (Events{"B.onNewMap(15, 15, 20)", "B.onPlayer(0)", "B.onPlayer(1)",
                                "B.onPlayer(2)"}));
}

TEST(ArenaModelReset, TheSequenceAcrossListenersIsInRegistrationOrder)
{
    // One shared log shows the interleaving.
    struct Logged : RecordingListener {
        Logged(std::string name, Events& log)
            : RecordingListener(std::move(name)), log(log)
        {
        }
        void onNewMap(int w, int d, int h, bool*** t, const Vector& wind) override
        {
            RecordingListener::onNewMap(w, d, h, t, wind);
            log.push_back(events.back());
        }
        void onPlayer(int id, Player& player) override
        {
            RecordingListener::onPlayer(id, player);
            log.push_back(events.back());
        }
        Events& log;
    };
    ScriptedRandom script({0.5, 0.1, 0.9, 0.3, 0.7});
    Events log;
    Logged a("A", log);
    Logged b("B", log);
    ArenaModel model(2, 15, 15, 20, script.stream());
    model.addListener(&a);
    model.addListener(&b);
    model.reset();
    EXPECT_EQ(log, (Events{"A.onNewMap(15, 15, 20)", "A.onPlayer(0)", "A.onPlayer(1)",
                           "B.onNewMap(15, 15, 20)", "B.onPlayer(0)", "B.onPlayer(1)"}));
}

TEST(ArenaModelReset, AListenerAddedTwiceHearsEverythingTwice)
{
    ScriptedRandom script({0.5, 0.1, 0.9});
    ArenaModel model(1, 15, 15, 20, script.stream());
    RecordingListener a("A");
    model.addListener(&a);
    model.addListener(&a);
    model.reset();
    EXPECT_EQ(a.events, (Events{"A.onNewMap(15, 15, 20)", "A.onPlayer(0)",
                                "A.onNewMap(15, 15, 20)", "A.onPlayer(0)"}));
}

TEST(ArenaModelReset, MapExtentsArriveAsWidthDepthHeightWithTheGridIndexedXZY)
{
    Main::seedRandom(77);
    ArenaModel model(1, 6, 9, 13, RandomStream(77));
    RecordingListener listener;
    model.addListener(&listener);
    model.reset();
    ASSERT_EQ(listener.events.front(), "listener.onNewMap(6, 9, 13)");
    ASSERT_EQ(listener.grid.size(), 6u);
    ASSERT_EQ(listener.grid[0].size(), 9u);
    ASSERT_EQ(listener.grid[0][0].size(), 13u);
    for (int x = 0; x < 6; ++x) {
        for (int z = 0; z < 9; ++z) {
            for (int y = 0; y < 13; ++y) {
                ASSERT_EQ(listener.grid[x][z][y], model.testGround(x + 0.5, y + 0.5, z + 0.5));
            }
        }
    }
}

TEST(ArenaModelReset, PlayersAreTheModelsOwnObjectsRestoredAndPlaced)
{
    Main::seedRandom(5);
    ArenaModel model(4, 15, 15, 20, RandomStream(5));
    RecordingListener listener;
    model.addListener(&listener);
    model.reset();
    const_cast<Player&>(model.getPlayer(1)).damage(80);
    model.reset();
    ASSERT_EQ(listener.playerPointers.size(), 8u);
    for (int id = 0; id < 4; ++id) {
        EXPECT_EQ(listener.playerPointers[4 + id], &model.getPlayer(id));
        EXPECT_EQ(model.getPlayer(id).getHp(), 100.0);
    }
}

TEST(ArenaModelReset, NoWindUnlessEnabledEvenAfterTheWindWasSet)
{
    ScriptedRandom script({0.5});
    ArenaModel model(0, 15, 15, 20, script.stream());
    RecordingListener listener;
    model.addListener(&listener);
    model.setWind(Vector(1, 0, 0));
    model.reset();
    EXPECT_EQ(model.getWind(), Vector(0, 0, 0));
    EXPECT_EQ(listener.lastWind, Vector(0, 0, 0));
}

TEST(ArenaModelReset, EnabledWindIsDrawnStrengthThenDirectionAfterTheTerrain)
{
    // Ten draws for the two profiles, then strength 0.8 and a quarter turn.
    std::vector<double> draws(10, 0.5);
    draws.push_back(0.8);
    draws.push_back(0.25);
    ScriptedRandom script(draws);
    ArenaModel model(0, 15, 15, 20, script.stream());
    RecordingListener listener;
    model.addListener(&listener);
    model.setWindEnabled(true);
    model.reset();
    // (0.8, 0, 0) turned 90 degrees about y points along -z.
    EXPECT_NEAR(model.getWind().x, 0.0, 1e-5);
    EXPECT_EQ(model.getWind().y, 0.0);
    EXPECT_NEAR(model.getWind().z, -0.8, 1e-5);
    EXPECT_EQ(listener.lastWind, model.getWind());
    EXPECT_EQ(script.drawn(), 12u);
}

TEST(ArenaModelReset, WindIsHorizontalAndWeakerThanOne)
{
    Main::seedRandom(99);
    ArenaModel model(2, 15, 15, 20, RandomStream(99));
    model.setWindEnabled(true);
    for (int round = 0; round < 50; ++round) {
        model.reset();
        EXPECT_EQ(model.getWind().y, 0.0);
        EXPECT_LT(model.getWind().getLength(), 1.0);
    }
}

TEST(ArenaModelReset, ResetKeepsGravityAndThePlayersNames)
{
    Main::seedRandom(8);
    ArenaModel model(3, 15, 15, 20, RandomStream(8));
    std::vector<std::string> names;
    for (const Player& player : model.getPlayers()) {
        names.push_back(player.getName());
    }
    model.setGravity(Vector(0, -0.5, 0));
    model.reset();
    model.reset();
    EXPECT_EQ(model.getGravity(), Vector(0, -0.5, 0));
    for (int id = 0; id < 3; ++id) {
        EXPECT_EQ(model.getPlayer(id).getName(), names[id]);
    }
}
