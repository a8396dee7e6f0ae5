// SPDX-License-Identifier: GPL-3.0-or-later
#include <vector>

#include "scene/WrlFiles.h"

namespace {

using WrlAnimationLoading = WrlFiles;

void expectTranslation(TimeSensor& sensor, float progress, double x, double y, double z)
{
    sensor.setProgress(progress);
    const Vector value = sensor.getTranslation();
    EXPECT_NEAR(value.x, x, 1e-5) << "at progress " << progress;
    EXPECT_NEAR(value.y, y, 1e-5) << "at progress " << progress;
    EXPECT_NEAR(value.z, z, 1e-5) << "at progress " << progress;
}

void expectRotation(TimeSensor& sensor, float progress, double x, double y, double z,
                    float degrees)
{
    sensor.setProgress(progress);
    const Vector axis = sensor.getRotationAxis();
    EXPECT_NEAR(axis.x, x, 1e-5) << "at progress " << progress;
    EXPECT_NEAR(axis.y, y, 1e-5) << "at progress " << progress;
    EXPECT_NEAR(axis.z, z, 1e-5) << "at progress " << progress;
    EXPECT_NEAR(sensor.getRotationAngle(), degrees, 1e-3) << "at progress " << progress;
}

} // namespace

TEST_F(WrlAnimationLoading, EachTransformBecomesASensorHoldingItsInterpolators)
{
    TimeSensor root;
    EXPECT_EQ(loadAnimation(write("idle.wrl", SAMPLE_ANIMATION), root), "");

    ASSERT_EQ(root.getChilds().size(), 2u);
    TimeSensor& body = *root.getChilds()[0];
    EXPECT_FALSE(body.hasRotationKeyFrame());
    expectTranslation(body, 0.0f, 1, 2, 3);
    expectTranslation(body, 0.6f, 4, 5, 6);
    expectTranslation(body, 0.95f, 7, 8, 9);

    ASSERT_EQ(body.getChilds().size(), 1u);
    TimeSensor& nested = *body.getChilds()[0];
    EXPECT_FALSE(nested.hasTranslationKeyFrame());
    expectRotation(nested, 0.0f, 0, 0, 1, 180.0f);
    expectRotation(nested, 0.7f, 1, 0, 0, 90.0f);

    TimeSensor& last = *root.getChilds()[1];
    EXPECT_FALSE(last.hasTranslationKeyFrame());
    EXPECT_FALSE(last.hasRotationKeyFrame());
    EXPECT_TRUE(last.getChilds().empty());
}

TEST_F(WrlAnimationLoading, ListBracketsMayBeJoinedToTheNumbers)
{
    // "[" joined to the first number is the format; a "]" joined to the last
    // must still close the list so the keyValue list after it is read.
    const char* text = "Transform { PositionInterpolator { key [0, 0.5,\n0.9] "
                       "keyValue\t[1 2 3, 4 5 6, 7 8 9 ] } }";
    TimeSensor root;
    EXPECT_EQ(loadAnimation(write("joined.wrl", text), root), "");
    ASSERT_EQ(root.getChilds().size(), 1u);
    TimeSensor& sensor = *root.getChilds()[0];
    expectTranslation(sensor, 0.0f, 1, 2, 3);
    expectTranslation(sensor, 0.6f, 4, 5, 6);
    expectTranslation(sensor, 1.0f, 7, 8, 9);
}

TEST_F(WrlAnimationLoading, MissingFileLeavesTheRootWithoutChildrenAndOneWarning)
{
    TimeSensor root;
    const std::string path = directory + "/missing.wrl";
    const std::string errors = loadAnimation(path, root);
    EXPECT_EQ(lineCount(errors), 1);
    EXPECT_NE(errors.find(path), std::string::npos);
    EXPECT_TRUE(root.getChilds().empty());
}
