// SPDX-License-Identifier: GPL-3.0-or-later
#include <list>
#include <vector>

#include <gtest/gtest.h>

#include "animation/ModelAnimation.h"
#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"

namespace {

// Remembers, at each draw, which sensor it had and the translation that
// sensor chose.
class PoseNode : public GraphicNode {
public:
    void draw() override
    {
        TimeSensor* sensor = getTimeSensor();
        sensors.push_back(sensor);
        poses.push_back(sensor != nullptr ? sensor->getTranslation() : Vector(-1, -1, -1));
        GraphicNode::draw();
    }
    std::vector<TimeSensor*> sensors;
    std::vector<Vector> poses;
};

// Counts its destructions, so a test can tell whether anybody deleted it.
struct CountedNode : GraphicNode {
    explicit CountedNode(int& destroyed) : destroyed(destroyed) {}
    ~CountedNode() override { ++destroyed; }
    int& destroyed; // the test's counter
};

// A model of a root and one limb, and key frames for the limb only: the
// limb stands at x = 1, 2, 3, 4 from the times 0, 0.5, 0.9, 1.
struct Puppet {
    Puppet()
    {
        limb = new PoseNode();
        model.addGraphicNode(limb);
        TimeSensor* limbKeys = sensor.addTimeSensor();
        for (float key : {0.0f, 0.5f, 0.9f, 1.0f}) {
            limbKeys->addTranslationTimeKey(key);
        }
        for (float x : {1.0f, 2.0f, 3.0f, 4.0f}) {
            limbKeys->addTranslationKey(x, 0, 0);
        }
    }
    GraphicNode model;
    PoseNode* limb; // owned by model
    TimeSensor sensor;
};

} // namespace

using ModelAnimationDrawing = GlTest;

TEST_F(ModelAnimationDrawing, ShowsTheStartPoseBeforeItsStartAndTheEndPoseAfterItsEnd)
{
    Clocks clocks;
    Puppet puppet;
    ModelAnimation animation(1000, clocks.time, &puppet.sensor, &puppet.model);
    EXPECT_FALSE(animation.isLooping());
    animation.setDelay(500);

    testing::internal::CaptureStdout();
    for (long tick : {200L, 1250L, 3000L}) {
        clocks.clock.set(tick);
        animation.render();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "0\n0.75\n1\n");
    EXPECT_EQ(puppet.limb->sensors, std::vector<TimeSensor*>(3, puppet.sensor.getChilds()[0]));
    EXPECT_EQ(puppet.limb->poses, (std::vector<Vector>{Vector(1, 0, 0), Vector(2, 0, 0), Vector(3, 0, 0)}));
}

TEST_F(ModelAnimationDrawing, LeavesNoSensorAttachedAndTheMatrixStackAsItWas)
{
    Clocks clocks;
    Puppet puppet;
    ModelAnimation animation(1000, clocks.time, &puppet.sensor, &puppet.model);
    int depth = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    clocks.clock.set(400);
    testing::internal::CaptureStdout();
    animation.render();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "0.4\n");
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(puppet.model.getTimeSensor(), nullptr);
    EXPECT_EQ(puppet.limb->getTimeSensor(), nullptr);
    EXPECT_EQ(puppet.limb->sensors.size(), 1u);
}

TEST(ModelAnimation, HandsTheNodeToTheContinuationAndDeletesNothing)
{
    Clocks clocks;
    TimeSensor sensor;
    int destroyed = 0;
    GraphicNode scene;
    CountedNode* node = new CountedNode(destroyed);
    auto* animation = new ModelAnimation(1000, clocks.time, &sensor, node);
    animation->setContinuation(&scene);
    delete animation;
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(scene.getChildren(), std::list<GraphicNode*>{node});

    CountedNode kept(destroyed);
    delete new ModelAnimation(1000, clocks.time, &sensor, &kept);
    EXPECT_EQ(destroyed, 0);
}
