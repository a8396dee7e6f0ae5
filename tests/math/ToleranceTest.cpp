// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "math/util.h"

TEST(Tolerance, ValuesWithinAThousandthAreEqual)
{
    EXPECT_TRUE(kindaEquals(1.0, 1.0009));
    EXPECT_TRUE(kindaEquals(1.0009, 1.0));
    EXPECT_FALSE(kindaEquals(1.0, 1.0011));
    EXPECT_FALSE(kindaEquals(-1.0, 1.0));
}

TEST(Tolerance, ADifferenceOfExactlyTheToleranceIsNotLowerOrGreater)
{
    EXPECT_FALSE(kindaLower(1.0, 1.001));
    EXPECT_FALSE(kindaGreater(1.001, 1.0));
    EXPECT_TRUE(kindaLower(1.0, 1.0011));
    EXPECT_TRUE(kindaGreater(1.0011, 1.0));
}

TEST(Tolerance, ExactlyOneOfTheThreeHoldsForOrdinaryValues)
{
    for (double b : {-2.0, 0.0, 0.0005, 0.001, 0.0015, 3.0}) {
        int holding = kindaEquals(0.0, b) + kindaLower(0.0, b) + kindaGreater(0.0, b);
        EXPECT_LE(holding, 1) << b;
    }
    EXPECT_TRUE(kindaLower(0.0, 0.0015));
    EXPECT_TRUE(kindaGreater(0.0, -0.0015));
}

TEST(Tolerance, NaNComparesToNothing)
{
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(kindaEquals(nan, nan));
    EXPECT_FALSE(kindaLower(nan, 1.0));
    EXPECT_FALSE(kindaGreater(nan, 1.0));
    EXPECT_FALSE(kindaLower(1.0, nan));
    EXPECT_FALSE(kindaGreater(1.0, nan));
}
