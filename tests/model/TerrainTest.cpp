// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/Main.h"
#include "model/ArenaModel.h"
#include "model/Terrain2D.h"
#include "support/ModelChecks.h"
#include "support/ScriptedRandom.h"

namespace {

// Reads a profile's points back through getY at whole positions.
std::vector<double> points(const Terrain2D& profile)
{
    std::vector<double> values;
    for (int i = 0; i < profile.getLength(); ++i) {
        values.push_back(profile.getY(i));
    }
    return values;
}

} // namespace

TEST(Terrain2D, FivePointProfileDrawsEndsThenMiddleThenQuarters)
{
    ScriptedRandom script({0.1, 0.2, 0.3, 0.4, 0.6});
    Terrain2D profile(2, script.stream());
    ASSERT_EQ(profile.getLength(), 5);
    std::vector<double> values = points(profile);
    // values[0], values[4], then values[2], values[1], values[3].
    double middle = (0.1 + 0.2) / 2 + 0.3 * 0.5 - 0.25;
    EXPECT_DOUBLE_EQ(values[0], 0.1);
    EXPECT_DOUBLE_EQ(values[4], 0.2);
    EXPECT_DOUBLE_EQ(values[2], middle);
    EXPECT_DOUBLE_EQ(values[1], (0.1 + middle) / 2 + 0.4 * 0.5 - 0.25);
    EXPECT_DOUBLE_EQ(values[3], (middle + 0.2) / 2 + 0.6 * 0.5 - 0.25);
    EXPECT_EQ(script.drawn(), 5u);
}

TEST(Terrain2D, AllZeroDrawsGiveTheLowestProfile)
{
    ScriptedRandom script({0.0});
    Terrain2D profile(2, script.stream());
    std::vector<double> expected = {0.0, -0.375, -0.25, -0.375, 0.0};
    EXPECT_EQ(points(profile), expected);
}

TEST(Terrain2D, MidpointsAreClippedJustBelowOne)
{
    ScriptedRandom script({32767.0 / 32768.0});
    Terrain2D profile(2, script.stream());
    std::vector<double> values = points(profile);
    EXPECT_DOUBLE_EQ(values[0], 32767.0 / 32768.0);
    EXPECT_DOUBLE_EQ(values[4], 32767.0 / 32768.0);
    EXPECT_EQ(values[1], 0.9999);
    EXPECT_EQ(values[2], 0.9999);
    EXPECT_EQ(values[3], 0.9999);
}

TEST(Terrain2D, LargerProfilesHaveTwoToTheNPlusOnePoints)
{
    ScriptedRandom script({0.5});
    EXPECT_EQ(Terrain2D(0, script.stream()).getLength(), 2);
    EXPECT_EQ(Terrain2D(4, script.stream()).getLength(), 17);
}

TEST(Terrain2D, GetYInterpolatesBetweenNeighbours)
{
    // Draws chosen to build the profile (0, 1, 0.5, 0, 0); the 1 is clipped
    // to 0.9999.
    ScriptedRandom script({0.0, 0.0, 1.5, 2.0, 0.0});
    Terrain2D profile(2, script.stream());
    EXPECT_EQ(points(profile), (std::vector<double>{0, 0.9999, 0.5, 0, 0}));
    EXPECT_NEAR(profile.getY(1.5), 0.75, 1e-4);
    EXPECT_NEAR(profile.getY(0.25), 0.25, 1e-4);
    EXPECT_DOUBLE_EQ(profile.getY(2), 0.5);
}

TEST(Terrain2D, FixedEndsAreKeptAndNoRoughnessGivesAStraightLine)
{
    ScriptedRandom script({0.0});
    Terrain2D profile(2, script.stream());
    std::vector<double> line = {0, 7, 7, 7, 1};
    profile.generateTerrain(line.data(), 5, true, 0.0);
    EXPECT_EQ(line, (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
}

TEST(Terrain2D, GetYAtTheLastPointAndBetweenPoints)
{
    ScriptedRandom script({0.2, 0.6, 0.5, 0.5, 0.5});
    Terrain2D profile(2, script.stream());
    // Draws: ends 0.2 and 0.6, every midpoint undisplaced (0.5 * 0.5 - 0.25 = 0).
    EXPECT_DOUBLE_EQ(profile.getY(2), 0.4);
    EXPECT_DOUBLE_EQ(profile.getY(1.5), (0.3 + 0.4) / 2);
    EXPECT_DOUBLE_EQ(profile.getY(4), 0.6);
    EXPECT_DOUBLE_EQ(profile.getY(4.5), 0.6);
    EXPECT_DOUBLE_EQ(profile.getY(4.667), 0.6);
}

TEST(TerrainGeneration, AllDrawsHalfGiveAFlatPlateauEightHigh)
{
    ScriptedRandom script({0.5});
    ArenaModel model(0, 15, 15, 20, script.stream());
    model.reset();
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            ASSERT_EQ(columnHeight(model, x, z), 8) << x << " " << z;
        }
    }
    EXPECT_EQ(columnInvariantViolation(model), "");
}

TEST(TerrainGeneration, AllDrawsZeroGiveASingleLayer)
{
    ScriptedRandom script({0.0});
    ArenaModel model(0, 15, 15, 20, script.stream());
    model.reset();
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            ASSERT_EQ(columnHeight(model, x, z), 1) << x << " " << z;
        }
    }
}

TEST(TerrainGeneration, LargestDrawsGiveFifteenHighColumns)
{
    ScriptedRandom script({32767.0 / 32768.0});
    ArenaModel model(0, 15, 15, 20, script.stream());
    model.reset();
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            ASSERT_EQ(columnHeight(model, x, z), 15) << x << " " << z;
        }
    }
}

TEST(TerrainGeneration, ColumnHeightsFollowTheTwoProfiles)
{
    // x profile: 0, 0.25, 0.5, 0.75, 1(-ish); z profile flat at 0.5.
    ScriptedRandom script({0.0, 0.9999, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5});
    ArenaModel model(0, 5, 3, 20, script.stream());
    model.reset();
    // sx = 5 * x / 5 = x, so ax is point x of the profile; az is 0.5.
    for (int x = 0; x < 5; ++x) {
        double ax = 0.9999 * x / 4;
        int expected = std::max(1, static_cast<int>((ax + 0.5) / 2 * 16));
        for (int z = 0; z < 3; ++z) {
            EXPECT_EQ(columnHeight(model, x, z), expected) << x;
        }
    }
}

TEST(TerrainGeneration, EveryColumnIsSolidToItsTopAndEmptyAbove)
{
    Main::seedRandom(2006);
    for (auto [width, depth, height] : {std::tuple{15, 15, 20}, std::tuple{1, 1, 1},
                                        std::tuple{7, 3, 5}, std::tuple{40, 9, 64},
                                        std::tuple{2, 30, 6}}) {
        ArenaModel model(0, width, depth, height, RandomStream(2006));
        for (int round = 0; round < 20; ++round) {
            model.reset();
            ASSERT_EQ(columnInvariantViolation(model), "") << width << "x" << depth << "x" << height;
            for (int x = 0; x < width; ++x) {
                for (int z = 0; z < depth; ++z) {
                    int top = columnHeight(model, x, z);
                    ASSERT_GE(top, 1);
                    ASSERT_LE(top, height >= 6 ? height - 5 : 1);
                }
            }
        }
    }
}

TEST(TerrainGeneration, LowGridsGetExactlyOneLayer)
{
    Main::seedRandom(11);
    for (int height = 1; height <= 5; ++height) {
        ArenaModel model(0, 6, 6, height, RandomStream(11));
        for (int round = 0; round < 10; ++round) {
            model.reset();
            for (int x = 0; x < 6; ++x) {
                for (int z = 0; z < 6; ++z) {
                    ASSERT_EQ(columnHeight(model, x, z), 1) << height;
                }
            }
        }
    }
}

TEST(TerrainGeneration, AGridWithoutLayersOrColumnsIsLeftAlone)
{
    ScriptedRandom script({0.5});
    for (auto [width, depth, height] :
         {std::tuple{5, 5, 0}, std::tuple{0, 5, 5}, std::tuple{5, 0, 5}, std::tuple{0, 0, 0}}) {
        testing::internal::CaptureStderr();
        ArenaModel model(1, width, depth, height, script.stream());
        model.reset();
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(model.testGround(0.5, 0.5, 0.5));
    }
}

TEST(TerrainGeneration, SuccessiveResetsGiveDifferentLandscapes)
{
    Main::seedRandom(3);
    ArenaModel model(0, 15, 15, 20, RandomStream(3));
    model.reset();
    std::vector<int> first;
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            first.push_back(columnHeight(model, x, z));
        }
    }
    model.reset();
    std::vector<int> second;
    for (int x = 0; x < 15; ++x) {
        for (int z = 0; z < 15; ++z) {
            second.push_back(columnHeight(model, x, z));
        }
    }
    EXPECT_NE(first, second);
}
