// SPDX-License-Identifier: GPL-3.0-or-later
#include <list>

#include <gtest/gtest.h>

#include "math/MovingAverage.h"

TEST(MovingAverage, KeepsTheNewestSamplesOfTheWindow)
{
    MovingAverage average(3);
    for (double v : {1.0, 2.0, 3.0, 4.0}) {
        average.add(v);
    }
    EXPECT_EQ(average.getValues(), (std::list<double>{2.0, 3.0, 4.0}));
    EXPECT_DOUBLE_EQ(average.getAverage(), 3.0);
}

TEST(MovingAverage, EmptyAveragesZero)
{
    MovingAverage average(10);
    EXPECT_EQ(average.getAverage(), 0.0);
    EXPECT_TRUE(average.getValues().empty());
}

TEST(MovingAverage, AveragesWhatItHasBeforeTheWindowFills)
{
    MovingAverage average(10);
    average.add(30.0);
    average.add(60.0);
    EXPECT_DOUBLE_EQ(average.getAverage(), 45.0);
}

TEST(MovingAverage, AWindowOfZeroOrLessStaysEmpty)
{
    for (int size : {0, -3}) {
        MovingAverage average(size);
        average.add(5.0);
        average.add(7.0);
        EXPECT_TRUE(average.getValues().empty()) << size;
        EXPECT_EQ(average.getAverage(), 0.0) << size;
    }
}
