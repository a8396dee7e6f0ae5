// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <list>

#include <gtest/gtest.h>

#include "animation/PathAnimation.h"
#include "scene/graphicnode.h"
#include "support/GlFixture.h"
#include "support/RecordingAnimation.h"

namespace {

// Counts its destructions, so a test can tell whether anybody deleted it.
struct CountedNode : GraphicNode {
    explicit CountedNode(int& destroyed) : destroyed(destroyed) {}
    ~CountedNode() override { ++destroyed; }
    int& destroyed; // the test's counter
};

// One triangle, so that a draw shows up in the triangle count.
GraphicNode* triangleNode()
{
    GraphicNode* node = new GraphicNode();
    node->addVertex(0, 0, 0);
    node->addVertex(1, 0, 0);
    node->addVertex(0, 1, 0);
    node->addFace(0, 1, 2);
    node->computeNormal();
    return node;
}

void expectTranslation(const PathAnimation& path, double x, double y, double z)
{
    const Vector& t = path.getRoot()->getTranslation();
    EXPECT_NEAR(t.x, x, 1e-5);
    EXPECT_NEAR(t.y, y, 1e-5);
    EXPECT_NEAR(t.z, z, 1e-5);
}

void expectFinite(const GraphicNode* node)
{
    const Vector& t = node->getTranslation();
    const Vector& axis = node->getRotationAxis();
    for (double value : {t.x, t.y, t.z, axis.x, axis.y, axis.z, double(node->getRotationAngle())}) {
        EXPECT_TRUE(std::isfinite(value));
    }
}

struct Pose {
    float heading;   // degrees
    float elevation; // degrees
};

// The turn an oriented animation gives a node moving along direction.
Pose orientationFor(const Vector& direction)
{
    Clocks clocks;
    PathAnimation path(1000, clocks.time, false, {Vector(0, 0, 0), direction}, new GraphicNode(), true);
    clocks.clock.set(500);
    path.render();
    for (const GraphicNode* node : {path.getRoot(), path.getHeadingNode(), path.getElevationNode()}) {
        expectFinite(node);
    }
    return {path.getHeadingNode()->getRotationAngle(), path.getElevationNode()->getRotationAngle()};
}

} // namespace

using PathAnimationDrawing = GlTest;

TEST_F(PathAnimationDrawing, CrossesSegmentsOfEqualLengthInEqualTimes)
{
    Clocks clocks;
    PathAnimation path(1000, clocks.time, false, {Vector(0, 0, 0), Vector(10, 0, 0), Vector(10, 10, 0)},
                       new GraphicNode(), false);
    struct Expected {
        long tick;
        double x, y;
    };
    for (Expected expected : {Expected{0, 0, 0}, Expected{250, 5, 0}, Expected{750, 10, 5},
                              Expected{1000, 10, 10}, Expected{9000, 10, 10}}) {
        clocks.clock.set(expected.tick);
        path.render();
        SCOPED_TRACE(expected.tick);
        expectTranslation(path, expected.x, expected.y, 0);
    }
}

TEST_F(PathAnimationDrawing, SpendsTimeOnASegmentByItsShareAndMirrorsZ)
{
    Clocks clocks;
    PathAnimation path(1000, clocks.time, false, {Vector(1, 2, 3), Vector(2, 2, 3), Vector(2, 5, 3)},
                       new GraphicNode(), false);
    EXPECT_EQ(path.getSegmentShares(), (std::vector<double>{0.25, 0.75}));
    path.render();
    expectTranslation(path, 1, 2, -3);
    clocks.clock.set(250);
    path.render();
    expectTranslation(path, 2, 2, -3);
    clocks.clock.set(625);
    path.render();
    expectTranslation(path, 2, 3.5, -3);
}

TEST_F(PathAnimationDrawing, AnOrientedNodeHangsBelowHeadingAndElevationWrappers)
{
    Clocks clocks;
    GraphicNode* node = new GraphicNode();
    PathAnimation path(1000, clocks.time, false, {Vector(0, 0, 0), Vector(4, 0, 4)}, node, true);
    EXPECT_EQ(path.getRoot()->getChildren(), std::list<GraphicNode*>{path.getHeadingNode()});
    EXPECT_EQ(path.getHeadingNode()->getChildren(), std::list<GraphicNode*>{path.getElevationNode()});
    EXPECT_EQ(path.getElevationNode()->getChildren(), std::list<GraphicNode*>{node});
    clocks.clock.set(500);
    path.render();
    expectTranslation(path, 2, 0, -2);
    EXPECT_EQ(node->getTranslation(), Vector(0, 0, 0));
}

TEST_F(PathAnimationDrawing, TurnsAlongTheSegmentWithTheGamesDegrees)
{
    EXPECT_NEAR(orientationFor(Vector(0, 0, 1)).heading, 89.99979, 1e-5);
    EXPECT_NEAR(orientationFor(Vector(0, 0, -1)).heading, -89.99979, 1e-5);
    EXPECT_NEAR(orientationFor(Vector(-1, 0, 0)).heading, 179.99958, 1e-4);
    Pose climbing = orientationFor(Vector(1, 1, 0));
    EXPECT_NEAR(climbing.heading, 0.0, 1e-5);
    EXPECT_NEAR(climbing.elevation, 44.99989, 1e-5);
    EXPECT_NEAR(orientationFor(Vector(1, -1, 0)).elevation, -44.99989, 1e-5);
}

TEST_F(PathAnimationDrawing, AVerticalSegmentPointsStraightUpOrDownWithoutHeading)
{
    for (auto [direction, elevation] : {std::pair{Vector(0, 5, 0), 90.0f}, std::pair{Vector(0, -5, 0), -90.0f},
                                        std::pair{Vector(0, 0, 0), 0.0f}}) {
        Pose pose = orientationFor(direction);
        EXPECT_EQ(pose.heading, 0.0f) << direction;
        EXPECT_EQ(pose.elevation, elevation) << direction;
    }
}

TEST_F(PathAnimationDrawing, OnePointOrPointsThatCoincideHoldTheNodeAtTheFirstPoint)
{
    Clocks clocks;
    PathAnimation single(1000, clocks.time, false, {Vector(1, 2, 3)}, new GraphicNode(), true);
    PathAnimation coinciding(1000, clocks.time, false, {Vector(1, 2, 3), Vector(1, 2, 3), Vector(1, 2, 3)},
                             new GraphicNode(), true);
    EXPECT_EQ(coinciding.getSegmentShares(), (std::vector<double>{0.0, 0.0}));
    for (long tick : {0L, 500L, 1000L}) {
        clocks.clock.set(tick);
        SCOPED_TRACE(tick);
        for (PathAnimation* path : {&single, &coinciding}) {
            path->render();
            expectTranslation(*path, 1, 2, -3);
            expectFinite(path->getHeadingNode());
            EXPECT_EQ(path->getElevationNode()->getRotationAngle(), 0.0f);
        }
    }
}

TEST_F(PathAnimationDrawing, AProgressJustBelowOneStaysOnTheLastSegment)
{
    // Seven shares of 1/7 add up to 0.9999999999999998, below the largest
    // progress under 1, which the clock reaches one tick before the end.
    std::list<Vector> points;
    for (int x = 0; x <= 7; ++x) {
        points.push_back(Vector(x, 0, 0));
    }
    const long length = 1L << 53;
    Clocks clocks;
    PathAnimation path(length, clocks.time, false, points, new GraphicNode(), true);
    clocks.clock.set(length - 1);
    ASSERT_LT(path.getProgress(), 1.0);
    path.render();
    expectTranslation(path, 7, 0, 0);
    EXPECT_EQ(path.getHeadingNode()->getRotationAngle(), 0.0f);
}

TEST_F(PathAnimationDrawing, DrawsNothingUntilGivenAPathAndKeepsTheMatrixStack)
{
    Clocks clocks;
    PathAnimation path(1000, clocks.time, true, {}, triangleNode(), true);
    int depth = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    GraphicNode::resetTriangleCount();
    path.render();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 0);

    // A new path keeps the start: half way through it is at its middle.
    clocks.clock.set(1500);
    path.setPath({Vector(0, 0, 0), Vector(0, 4, 0)});
    path.render();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 1);
    expectTranslation(path, 0, 2, 0);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
}

TEST(PathAnimation, DeletesTheNodeByDefaultOrLeavesItToTheCaller)
{
    Clocks clocks;
    int destroyed = 0;
    delete new PathAnimation(1000, clocks.time, false, {}, new CountedNode(destroyed), false);
    EXPECT_EQ(destroyed, 1);
    delete new PathAnimation(1000, clocks.time, false, {}, new CountedNode(destroyed), true);
    EXPECT_EQ(destroyed, 2);

    CountedNode node(destroyed);
    auto* path = new PathAnimation(1000, clocks.time, false, {}, &node, false);
    path->setDeleteNodeOnDestroy(false);
    delete path;
    EXPECT_EQ(destroyed, 2);
}

TEST(PathAnimation, HandsTheNodeWithItsWrappersToTheContinuation)
{
    Clocks clocks;
    int destroyed = 0;
    GraphicNode scene;
    auto* path = new PathAnimation(1000, clocks.time, false, {}, new CountedNode(destroyed), true);
    path->setContinuation(&scene);
    GraphicNode* root = path->getRoot();
    delete path;
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(scene.getChildren(), std::list<GraphicNode*>{root});
    scene.clearChildren();
    EXPECT_EQ(destroyed, 1);
}
