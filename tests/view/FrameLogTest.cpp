// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "view/FrameLog.h"

TEST(FrameLog, WritesOneDurationALineFromTheSecondFrameOnAndNothingWithoutAFile)
{
    const std::string path = testing::TempDir() + "kestrune_frames.log";
    {
        FrameLog log(path);
        ASSERT_TRUE(log.isOpen());
        for (int frame = 0; frame < 4; ++frame) {
            log.mark();
        }
    }
    std::ifstream written(path);
    std::vector<double> durations;
    for (double milliseconds = 0; written >> milliseconds;) {
        durations.push_back(milliseconds);
    }
    EXPECT_EQ(durations.size(), 3u);
    for (double milliseconds : durations) {
        EXPECT_GE(milliseconds, 0.0);
    }
    std::remove(path.c_str());

    FrameLog off("");
    off.mark();
    EXPECT_FALSE(off.isOpen());
    testing::internal::CaptureStderr();
    FrameLog nowhere("/nonexistent-folder/frames.log");
    nowhere.mark();
    EXPECT_FALSE(nowhere.isOpen());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot write the frame log"), std::string::npos);
}
