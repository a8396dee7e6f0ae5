// SPDX-License-Identifier: GPL-3.0-or-later
#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "support/GlFixture.h"

namespace {

// Window positions of the vertices a draw sends to the rasteriser.
std::vector<Vector> drawnVertices(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<Vector> vertices;
    for (GLint i = 0; i < used;) {
        if (buffer[i++] != GL_POLYGON_TOKEN) {
            continue;
        }
        int count = static_cast<int>(buffer[i++]);
        for (int v = 0; v < count; ++v, i += 3) {
            vertices.emplace_back(buffer[i], buffer[i + 1], buffer[i + 2]);
        }
    }
    return vertices;
}

// A small triangle with its first corner at the origin, counter-clockwise
// seen from +z.
GraphicNode* triangleNode()
{
    auto* node = new GraphicNode();
    node->addVertex(0, 0, 0);
    node->addVertex(0.25f, 0, 0);
    node->addVertex(0, 0.25f, 0);
    node->addFace(0, 1, 2);
    node->computeNormal();
    return node;
}

// Counts its own destruction.
class CountedNode : public GraphicNode {
public:
    explicit CountedNode(int& destroyed)
        : destroyed(destroyed)
    {
    }
    ~CountedNode() override { ++destroyed; }

private:
    int& destroyed;
};

// Window x of model x with identity matrices on the 64-pixel test window.
float windowX(float x)
{
    return (x + 1) * GL_TEST_WINDOW_SIDE / 2;
}

class DisplayLists : public GlTest {
protected:
    void TearDown() override
    {
        GraphicNode::useDisplayList = true;
        GlTest::TearDown();
    }
};

} // namespace

using GraphicNodeDraw = GlTest;

TEST_F(GraphicNodeDraw, ColourIsSetBeforeThePushAndStaysCurrent)
{
    GraphicNode node;
    node.setColor(0.25f, 0.5f, 0.75f);
    node.setTranslation(0.5f, 0, 0);
    node.draw();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
}

TEST_F(DisplayLists, ANewColourIsShownAfterTheListWasCompiled)
{
    std::unique_ptr<GraphicNode> node(triangleNode());
    node->setColor(1, 1, 1);
    node->setTranslation(-0.5f, -0.5f, 0);
    glDisable(GL_LIGHTING);
    node->draw();
    node->setColor(0, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    node->draw();
    EXPECT_EQ(readPixel(18, 18)[0], 0);
    EXPECT_EQ(readPixel(18, 18)[1], 255);
}

TEST_F(GraphicNodeDraw, AnEmptyParentStillPlacesItsChildren)
{
    GraphicNode parent;
    parent.setTranslation(0.5f, 0, 0);
    parent.setScale(2, 2, 2);
    parent.addGraphicNode(triangleNode());
    GraphicNode::resetTriangleCount();
    auto vertices = drawnVertices([&] { parent.draw(); });
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_NEAR(vertices[0].x, windowX(0.5f), 1e-3);
    EXPECT_NEAR(vertices[1].x, windowX(1.0f), 1e-3);
    EXPECT_EQ(GraphicNode::getTriangleCount(), 1);
}

TEST_F(GraphicNodeDraw, TranslationRotationThenScale)
{
    std::unique_ptr<GraphicNode> node(triangleNode());
    node->setTranslation(0.5f, 0, 0);
    node->setRotation(0, 0, 1, 90);
    node->setScale(2, 1, 1);
    auto vertices = drawnVertices([&] { node->draw(); });
    ASSERT_EQ(vertices.size(), 3u);
    // (0.25, 0) scaled to (0.5, 0), turned to (0, 0.5), moved to (0.5, 0.5).
    EXPECT_NEAR(vertices[1].x, windowX(0.5f), 1e-3);
    EXPECT_NEAR(vertices[1].y, windowX(0.5f), 1e-3);
}

TEST_F(GraphicNodeDraw, SensorRotationWithoutTranslationKeysKeepsTheStaticTranslation)
{
    std::unique_ptr<GraphicNode> node(triangleNode());
    node->setTranslation(0.5f, 0, 0);
    TimeSensor sensor;
    sensor.addRotationTimeKey(0);
    sensor.addRotationKey(0, 0, 1, 90);
    node->setTimeSensor(&sensor);
    auto vertices = drawnVertices([&] { node->draw(); });
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_NEAR(vertices[1].x, windowX(0.5f), 1e-3);
    EXPECT_NEAR(vertices[1].y, windowX(0.25f), 1e-3);

    sensor.addTranslationTimeKey(0);
    sensor.addTranslationKey(-0.5f, 0, 0);
    vertices = drawnVertices([&] { node->draw(); });
    EXPECT_NEAR(vertices[1].x, windowX(-0.5f), 1e-3);
    // Scale is never the sensor's.
    node->setScale(2, 2, 2);
    vertices = drawnVertices([&] { node->draw(); });
    EXPECT_NEAR(vertices[1].y, windowX(0.5f), 1e-3);
}

TEST_F(DisplayLists, EveryDrawCountsTheTrianglesWithOrWithoutLists)
{
    GraphicNode node;
    for (int i = 0; i < 5; ++i) {
        node.addVertex(0, 0, 0);
        node.addVertex(0.1f, 0, 0);
        node.addVertex(0, 0.1f, 0);
        node.addFace(3 * i, 3 * i + 1, 3 * i + 2);
    }
    node.computeNormal();
    GraphicNode::resetTriangleCount();
    node.draw();
    node.draw();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 10);
    GraphicNode::useDisplayList = false;
    node.draw();
    EXPECT_EQ(GraphicNode::getTriangleCount(), 15);
    EXPECT_EQ(countTriangles([&] { node.draw(); }), 5);
}

TEST_F(DisplayLists, AListIsCompiledOnceAndLaterFacesShowOnlyWithoutIt)
{
    std::unique_ptr<GraphicNode> node(triangleNode());
    EXPECT_EQ(countTriangles([&] { node->draw(); }), 1);
    node->addVertex(-0.5f, -0.5f, 0);
    node->addFace(3, 0, 2);
    node->computeNormal();
    EXPECT_EQ(countTriangles([&] { node->draw(); }), 1);
    GraphicNode::useDisplayList = false;
    EXPECT_EQ(countTriangles([&] { node->draw(); }), 2);
    GraphicNode::useDisplayList = true;
    EXPECT_EQ(countTriangles([&] { node->draw(); }), 1);
}

TEST_F(DisplayLists, TheFirstDrawCompilesAndShowsTheMesh)
{
    std::unique_ptr<GraphicNode> node(triangleNode());
    node->setColor(1, 1, 1);
    node->setTranslation(-0.5f, -0.5f, 0);
    node->draw();
    EXPECT_EQ(readPixel(18, 18)[0], 255);
}

// Leaving lets go of every compiled list while the context still exists: a
// node destroyed afterwards asks nothing of GL, and one drawn again compiles
// anew.
TEST_F(DisplayLists, LeavingDeletesEveryCompiledListWhileTheContextExists)
{
    struct ListedNode : GraphicNode {
        GLuint list() const { return listCompiled ? displayList : 0; }
    };
    ListedNode node;
    node.addVertex(0, 0, 0);
    node.addVertex(1, 0, 0);
    node.addVertex(0, 1, 0);
    node.addFace(0, 1, 2);
    node.computeNormal();
    node.draw();
    const GLuint compiled = node.list();
    ASSERT_TRUE(glIsList(compiled));
    GraphicNode::releaseDisplayLists();
    EXPECT_FALSE(glIsList(compiled));
    EXPECT_EQ(node.list(), 0u);
    node.draw();
    EXPECT_TRUE(glIsList(node.list()));
}

TEST_F(GraphicNodeDraw, BadIndicesAndMissingNormalsAreNotTrusted)
{
    GraphicNode node;
    node.addVertex(0, 0, 0);
    node.addVertex(0.5f, 0, 0);
    node.addVertex(0, 0.5f, 0);
    node.addFace(0, 1, 2);
    node.addFace(0, 1, 7);
    node.addFace(-1, 1, 2);
    // Drawn before computeNormal, then after it.
    EXPECT_EQ(countTriangles([&] { node.draw(); }), 1);
    node.computeNormal();
    EXPECT_EQ(node.getNormals().size(), 9u);
    EXPECT_EQ(countTriangles([&] { node.draw(); }), 1);
}

TEST(GraphicNodeNormals, CounterClockwiseFacesPointAtTheViewer)
{
    GraphicNode node;
    node.addVertex(0, 0, 0);
    node.addVertex(1, 0, 0);
    node.addVertex(0, 1, 0);
    node.addFace(0, 1, 2);
    node.addFace(1, 0, 2);
    node.computeNormal();
    const std::vector<float>& normals = node.getNormals();
    ASSERT_EQ(normals.size(), 6u);
    EXPECT_EQ(normals[2], 1.0f);
    EXPECT_EQ(normals[5], -1.0f);
}

TEST(GraphicNodeNormals, AreUnitLengthAndAppendedOnEveryCall)
{
    GraphicNode node;
    node.addVertex(0, 0, 0);
    node.addVertex(3, 0, 1);
    node.addVertex(0, 2, 5);
    node.addFace(0, 1, 2);
    node.computeNormal();
    const std::vector<float>& n = node.getNormals();
    EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-6);
    node.computeNormal();
    EXPECT_EQ(node.getNormals().size(), 6u);
}

TEST(GraphicNodeNormals, AZeroAreaTriangleFacesUpInsteadOfNaN)
{
    GraphicNode node;
    node.addVertex(1, 1, 1);
    node.addVertex(2, 2, 2);
    node.addVertex(3, 3, 3);
    node.addFace(0, 1, 2);
    node.addFace(0, 0, 0);
    node.computeNormal();
    EXPECT_EQ(node.getNormals(), (std::vector<float>{0, 1, 0, 0, 1, 0}));
}

TEST(GraphicNodeNormals, ChildrenGetTheirsToo)
{
    GraphicNode parent;
    GraphicNode* child = parent.addGraphicNode();
    child->addVertex(0, 0, 0);
    child->addVertex(1, 0, 0);
    child->addVertex(0, 0, -1);
    child->addFace(0, 1, 2);
    parent.computeNormal();
    EXPECT_EQ(child->getNormals(), (std::vector<float>{0, 1, 0}));
}

TEST(GraphicNodeTree, RotationAxesAreStoredAtUnitLength)
{
    GraphicNode node;
    node.setRotation(0, 0, 2, 90);
    EXPECT_EQ(node.getRotationAxis(), Vector(0, 0, 1));
    EXPECT_EQ(node.getRotationAngle(), 90.0f);
    node.setRotation(0, 0, 0, 45);
    EXPECT_EQ(node.getRotationAxis(), Vector(0, 0, 0));
}

TEST(GraphicNodeTree, ChildrenAreOwnedUntilRemoved)
{
    int destroyed = 0;
    auto* kept = new CountedNode(destroyed);
    {
        GraphicNode parent;
        parent.addGraphicNode(new CountedNode(destroyed));
        parent.addGraphicNode(kept);
        parent.addGraphicNode(kept);
        parent.removeGraphicNode(kept);
        EXPECT_EQ(parent.getChildren().size(), 1u);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
    delete kept;
    EXPECT_EQ(destroyed, 2);
}

TEST(GraphicNodeTree, ClearChildrenSkipsNullsAndDeletesTheRest)
{
    int destroyed = 0;
    GraphicNode parent;
    parent.addGraphicNode(new CountedNode(destroyed));
    parent.addGraphicNode(nullptr);
    parent.addGraphicNode(new CountedNode(destroyed));
    parent.clearChildren();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(parent.getChildren().empty());
}

TEST(GraphicNodeTree, SensorsPairWithChildrenByPosition)
{
    GraphicNode root;
    GraphicNode* first = root.addGraphicNode();
    GraphicNode* second = root.addGraphicNode();
    GraphicNode* grandchild = first->addGraphicNode();
    TimeSensor other;
    second->setTimeSensor(&other);

    TimeSensor sensor;
    TimeSensor* firstSensor = sensor.addTimeSensor();
    TimeSensor* grandSensor = firstSensor->addTimeSensor();
    root.setTimeSensor(&sensor);
    EXPECT_EQ(root.getTimeSensor(), &sensor);
    EXPECT_EQ(first->getTimeSensor(), firstSensor);
    EXPECT_EQ(grandchild->getTimeSensor(), grandSensor);
    // No second child sensor: the second child keeps what it had.
    EXPECT_EQ(second->getTimeSensor(), &other);

    root.setTimeSensor(nullptr);
    EXPECT_EQ(root.getTimeSensor(), nullptr);
    EXPECT_EQ(first->getTimeSensor(), nullptr);
    EXPECT_EQ(grandchild->getTimeSensor(), nullptr);
    EXPECT_EQ(second->getTimeSensor(), nullptr);
}
