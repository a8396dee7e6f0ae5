// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "app/Main.h"
#include "support/ScriptedRandom.h"

TEST(Random, StaysInTheUnitIntervalWithFifteenBits)
{
    Main::seedRandom(7);
    std::set<double> seen;
    for (int i = 0; i < 20000; ++i) {
        double value = Main::random();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        double steps = value * 32768.0;
        ASSERT_EQ(steps, static_cast<double>(static_cast<int>(steps)));
        seen.insert(value);
    }
    EXPECT_GT(seen.size(), 10000u);
}

TEST(Random, TheSameSeedGivesTheSameSequence)
{
    Main::seedRandom(1234);
    std::vector<double> first;
    for (int i = 0; i < 50; ++i) {
        first.push_back(Main::random());
    }
    Main::seedRandom(1234);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Main::random(), first[i]);
    }
}

TEST(Random, TheFirstCallSeedsOnceAndLaterCallsNeverReseed)
{
    Main::seeded = false;
    std::vector<double> draws{Main::random()};
    EXPECT_TRUE(Main::seeded);
    // A reseed from the time of day at every call would repeat the first
    // draw, and the C library's generator has no say.
    for (int i = 0; i < 4; ++i) {
        std::srand(99);
        draws.push_back(Main::random());
    }
    EXPECT_NE(std::count(draws.begin(), draws.end(), draws.front()), 5);
}

TEST(Random, AScriptedSourceFeedsEveryDrawUntilRemoved)
{
    Main::seedRandom(5);
    {
        ScriptedRandom script({0.25, 0.5, 0.999});
        EXPECT_EQ(Main::random(), 0.25);
        EXPECT_EQ(Main::random(), 0.5);
        EXPECT_EQ(Main::random(), 0.999);
        EXPECT_EQ(Main::random(), 0.999);
        EXPECT_EQ(script.drawn(), 4u);
    }
    Main::seedRandom(5);
    double real = Main::random();
    Main::seedRandom(5);
    EXPECT_EQ(Main::random(), real);
    EXPECT_NE(real, 0.999);
}
