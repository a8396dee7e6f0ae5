// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits>

#include <gtest/gtest.h>

#include "scene/timesensor.h"

namespace {

// Translation keys at the given times with values (0, 0, 0), (1, 1, 1), ...
void addKeys(TimeSensor& sensor, std::initializer_list<float> times)
{
    float value = 0;
    for (float time : times) {
        sensor.addTranslationTimeKey(time);
        sensor.addTranslationKey(value, value, value);
        sensor.addRotationTimeKey(time);
        sensor.addRotationKey(0, 1, 0, value * 10);
        ++value;
    }
}

} // namespace

TEST(TimeSensor, ProgressIsClampedThroughTheWholeTree)
{
    TimeSensor root;
    TimeSensor* child = root.addTimeSensor();
    TimeSensor* grandchild = child->addTimeSensor();
    root.setProgress(-0.2f);
    EXPECT_EQ(grandchild->getProgress(), 0.0f);
    root.setProgress(1.7f);
    EXPECT_EQ(root.getProgress(), 1.0f);
    EXPECT_EQ(child->getProgress(), 1.0f);
    EXPECT_EQ(grandchild->getProgress(), 1.0f);
    root.setProgress(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(grandchild->getProgress(), 0.0f);
}

TEST(TimeSensor, WithoutKeysLookupsGiveNothing)
{
    TimeSensor sensor;
    sensor.setProgress(0.5f);
    EXPECT_FALSE(sensor.hasTranslationKeyFrame());
    EXPECT_FALSE(sensor.hasRotationKeyFrame());
    EXPECT_EQ(sensor.getTranslation(), Vector(0, 0, 0));
    EXPECT_EQ(sensor.getRotationAxis(), Vector(0, 0, 0));
    EXPECT_EQ(sensor.getRotationAngle(), 0.0f);
}

TEST(TimeSensor, HoldsTheLastKeyStrictlyBelowTheProgress)
{
    TimeSensor sensor;
    addKeys(sensor, {0, 0.25f, 1});
    for (auto [progress, key] : {std::pair{0.0f, 0.0}, std::pair{0.25f, 0.0},
                                 std::pair{0.26f, 1.0}, std::pair{0.99f, 1.0},
                                 std::pair{1.0f, 1.0}}) {
        sensor.setProgress(progress);
        EXPECT_EQ(sensor.getTranslation(), Vector(key, key, key)) << progress;
        EXPECT_EQ(sensor.getRotationAngle(), static_cast<float>(key * 10)) << progress;
        EXPECT_EQ(sensor.getRotationAxis(), Vector(0, 1, 0));
    }
}

TEST(TimeSensor, ASingleKeyHoldsForEveryProgress)
{
    TimeSensor sensor;
    addKeys(sensor, {0});
    for (float progress : {0.0f, 0.3f, 1.0f}) {
        sensor.setProgress(progress);
        EXPECT_EQ(sensor.getTranslation(), Vector(0, 0, 0));
    }
}

TEST(TimeSensor, AFirstKeyAboveZeroHoldsUntilTheProgressPassesIt)
{
    TimeSensor sensor;
    addKeys(sensor, {0.5f, 0.75f});
    sensor.setProgress(0.3f);
    EXPECT_EQ(sensor.getTranslation(), Vector(0, 0, 0));
    sensor.setProgress(0.8f);
    EXPECT_EQ(sensor.getTranslation(), Vector(1, 1, 1));
}

TEST(TimeSensor, TimeKeysWithoutValuesFallBackOnTheLastValue)
{
    TimeSensor sensor;
    sensor.addTranslationTimeKey(0);
    sensor.addTranslationTimeKey(0.5f);
    sensor.addTranslationTimeKey(0.9f);
    sensor.addTranslationKey(4, 5, 6);
    sensor.addRotationTimeKey(0);
    sensor.setProgress(1.0f);
    EXPECT_EQ(sensor.getTranslation(), Vector(4, 5, 6));
    EXPECT_EQ(sensor.getRotationAngle(), 0.0f);
    EXPECT_EQ(sensor.getRotationAxis(), Vector(0, 0, 0));
}

TEST(TimeSensor, ChildListIsACopyAndNullChildrenAreRefused)
{
    TimeSensor root;
    root.addTimeSensor(nullptr);
    EXPECT_TRUE(root.getChilds().empty());
    root.addTimeSensor(new TimeSensor());
    std::vector<TimeSensor*> copy = root.getChilds();
    copy.clear();
    EXPECT_EQ(root.getChilds().size(), 1u);
}
