// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include "animation/Animation.h"
#include "scene/TransformNode.h"
#include "scene/timesensor.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"

namespace {

// A shared model that records, at every draw, the translation its sensor
// gives it (or "static" without a sensor).
class PoseRecorder : public GraphicNode {
public:
    void draw() override
    {
        TimeSensor* sensor = getTimeSensor();
        poses.push_back(sensor == nullptr ? -1.0 : sensor->getTranslation().x);
        GraphicNode::draw();
    }
    std::vector<double> poses;
};

// A sensor whose translation x is the key's number: key k at time k / (n - 1).
TimeSensor* keyedSensor(int keys, double offset)
{
    auto* sensor = new TimeSensor();
    for (int k = 0; k < keys; ++k) {
        sensor->addTranslationTimeKey(static_cast<float>(k) / (keys - 1));
        sensor->addTranslationKey(static_cast<float>(offset + k), 0, 0);
    }
    return sensor;
}

// Counts its own destruction.
class CountedAnimation : public Animation {
public:
    CountedAnimation(long length, TimeSystem& ts, bool looping, int& destroyed)
        : Animation(length, ts, looping), destroyed(destroyed)
    {
    }
    ~CountedAnimation() override { ++destroyed; }

private:
    int& destroyed;
};

class TransformNodeDraw : public GlTest {
protected:
    Clocks clocks;
    PoseRecorder model;
    std::unique_ptr<TimeSensor> idle{keyedSensor(2, 100)};
    std::unique_ptr<TimeSensor> cast{keyedSensor(3, 10)};
    std::unique_ptr<TimeSensor> hurt{keyedSensor(3, 20)};
};

} // namespace

TEST_F(TransformNodeDraw, WithoutAnimationsTheModelKeepsItsOwnSensor)
{
    TimeSensor own;
    model.setTimeSensor(&own);
    {
        TransformNode placed(&model);
        placed.setTranslation(1, 2, 3);
        placed.draw();
        EXPECT_EQ(model.getTimeSensor(), &own);
        EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    }
    // The shared model survives its transform node.
    EXPECT_EQ(model.getTimeSensor(), &own);
    model.draw();
}

TEST_F(TransformNodeDraw, IdleLoopsWhenNothingElsePlays)
{
    TransformNode placed(&model);
    placed.setIdleModelAnimation(idle.get(), new Animation(1000, clocks.time, true));
    clocks.clock.set(600);
    placed.draw();
    clocks.clock.set(1200);
    placed.draw();
    // Keys 100 (time 0) and 101 (time 1): 0.6 holds key 100, and so does 0.2.
    EXPECT_EQ(model.poses, (std::vector<double>{100, 100}));
    EXPECT_EQ(model.getTimeSensor(), nullptr);
}

TEST_F(TransformNodeDraw, QueuedAnimationsPlayInTurnAndFinishedTimersAreDeleted)
{
    int destroyed = 0;
    TransformNode placed(&model);
    placed.setIdleModelAnimation(idle.get(), new Animation(1000, clocks.time, true));
    placed.addModelAnimation(cast.get(), new CountedAnimation(1000, clocks.time, false, destroyed),
                             false);
    auto* second = new CountedAnimation(1000, clocks.time, false, destroyed);
    second->setDelay(1000);
    placed.addModelAnimation(hurt.get(), second, false);
    EXPECT_EQ(placed.queuedAnimationCount(), 1u);

    clocks.clock.set(0);
    placed.draw(); // cast at progress 0: its first key
    clocks.clock.set(600);
    placed.draw(); // cast at 0.6: key 11
    clocks.clock.set(1000);
    placed.draw(); // cast over: idle for this draw, then hurt takes over
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(placed.queuedAnimationCount(), 0u);
    clocks.clock.set(1700);
    placed.draw(); // hurt at 0.7: key 21
    clocks.clock.set(2000);
    placed.draw(); // hurt over, nothing queued: idle again
    EXPECT_EQ(model.poses, (std::vector<double>{10, 11, 100, 21, 100}));
    EXPECT_EQ(destroyed, 1);
}

TEST_F(TransformNodeDraw, AHeldAnimationKeepsItsLastPoseAndStopsTheQueue)
{
    TransformNode placed(&model);
    placed.setIdleModelAnimation(idle.get(), new Animation(1000, clocks.time, true));
    placed.addModelAnimation(cast.get(), new Animation(500, clocks.time, false), true);
    placed.addModelAnimation(hurt.get(), new Animation(500, clocks.time, false), false);
    clocks.clock.set(5000);
    placed.draw();
    placed.draw();
    // At progress 1 the key before the last one holds.
    EXPECT_EQ(model.poses, (std::vector<double>{11, 11}));
    EXPECT_EQ(placed.queuedAnimationCount(), 1u);
}

TEST_F(TransformNodeDraw, ADelayedAnimationShowsItsFirstKeyWhileWaiting)
{
    TransformNode placed(&model);
    placed.setIdleModelAnimation(idle.get(), new Animation(1000, clocks.time, true));
    auto* delayed = new Animation(1000, clocks.time, false);
    delayed->setDelay(700);
    placed.addModelAnimation(cast.get(), delayed, false);
    clocks.clock.set(300);
    placed.draw();
    EXPECT_EQ(model.poses, (std::vector<double>{10}));
}

TEST_F(TransformNodeDraw, ReplacingTheIdleTimerDeletesTheOldOne)
{
    int destroyed = 0;
    {
        TransformNode placed(&model);
        placed.setIdleModelAnimation(idle.get(), new CountedAnimation(1000, clocks.time, true, destroyed));
        placed.setIdleModelAnimation(idle.get(), new CountedAnimation(1000, clocks.time, true, destroyed));
        EXPECT_EQ(destroyed, 1);
        placed.addModelAnimation(cast.get(), new CountedAnimation(1000, clocks.time, false, destroyed), false);
        placed.addModelAnimation(hurt.get(), new CountedAnimation(1000, clocks.time, false, destroyed), false);
    }
    // The current idle, the current model animation and the queued one.
    EXPECT_EQ(destroyed, 4);
}

TEST_F(TransformNodeDraw, TwoInstancesShareOneModelWithTheirOwnPoses)
{
    TransformNode first(&model);
    TransformNode second(&model);
    first.setIdleModelAnimation(idle.get(), new Animation(1000, clocks.time, true));
    second.addModelAnimation(cast.get(), new Animation(1000, clocks.time, false), false);
    clocks.clock.set(700);
    first.draw();
    second.draw();
    first.draw();
    EXPECT_EQ(model.poses, (std::vector<double>{100, 11, 100}));
}

TEST_F(TransformNodeDraw, OwnTransformIsAppliedAroundTheModelAndNothingIsCounted)
{
    GraphicNode mesh;
    mesh.addVertex(0, 0, 0);
    mesh.addVertex(0.25f, 0, 0);
    mesh.addVertex(0, 0.25f, 0);
    mesh.addFace(0, 1, 2);
    mesh.computeNormal();
    TransformNode placed(&mesh);
    placed.setColor(1, 0, 0);
    placed.setTranslation(-0.5f, -0.5f, 0);
    glColor3f(0, 0, 1);
    GraphicNode::resetTriangleCount();
    placed.draw();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 1);
    // The mesh's own colour (black) is what shows; the transform node sets none.
    mesh.setColor(1, 1, 1);
    placed.draw();
    EXPECT_EQ(readPixel(18, 18)[1], 255);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}
