// SPDX-License-Identifier: GPL-3.0-or-later
#include <iterator>
#include <vector>

#include "scene/WrlFiles.h"

namespace {

using WrlSceneLoading = WrlFiles;

const GraphicNode& childAt(const GraphicNode& node, int index)
{
    return **std::next(node.getChildren().begin(), index);
}

void expectVector(const Vector& actual, double x, double y, double z)
{
    EXPECT_NEAR(actual.x, x, 1e-4);
    EXPECT_NEAR(actual.y, y, 1e-4);
    EXPECT_NEAR(actual.z, z, 1e-4);
}

} // namespace

TEST_F(WrlSceneLoading, TransformsBecomeNodesInFileOrderWithTheirShapes)
{
    GraphicNode root;
    EXPECT_EQ(loadMesh(write("model.wrl", SAMPLE_MESH), root), "");

    ASSERT_EQ(root.getChildren().size(), 2u);
    const GraphicNode& body = childAt(root, 0);
    expectVector(body.getTranslation(), 1, 2, 3);
    expectVector(body.getRotationAxis(), 0, 1, 0);
    EXPECT_NEAR(body.getRotationAngle(), 90.0, 1e-3);
    // scaleOrientation must not be taken for scale.
    expectVector(body.getScale(), 2, 2, 2);
    EXPECT_FLOAT_EQ(body.getColor()[0], 0.8f);
    EXPECT_FLOAT_EQ(body.getColor()[1], 0.2f);
    EXPECT_FLOAT_EQ(body.getColor()[2], 0.1f);
    EXPECT_EQ(body.getVertices(), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}));
    EXPECT_EQ(body.getFaces(), (std::vector<int>{0, 1, 2, 2, 1, 3}));

    ASSERT_EQ(body.getChildren().size(), 1u);
    const GraphicNode& nested = childAt(body, 0);
    expectVector(nested.getTranslation(), 0, 1, 0);
    EXPECT_EQ(nested.getFaces(), (std::vector<int>{1, 0, 2}));

    const GraphicNode& second = childAt(root, 1);
    expectVector(second.getTranslation(), 5, 0, 0);
    EXPECT_TRUE(second.getChildren().empty());
    EXPECT_TRUE(second.getVertices().empty());
}

TEST_F(WrlSceneLoading, CcwStartsOverInEachGeometryAndGovernsOnlyLaterLists)
{
    const char* text = R"(Transform { children [
        Shape { geometry IndexedFaceSet {
            coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0 ] }
            coordIndex [ 0, 1, 2, -1 ]
            ccw FALSE
            coordIndex [ 0, 1, 2, -1 ] } }
        Shape { geometry IndexedFaceSet { coordIndex [ 0, 1, 2, -1 ] } }
        Shape { geometry IndexedFaceSet { ccw true coordIndex [ 0, 1, 2, -1 ] } }
        Shape { geometry IndexedFaceSet { ccw TRUE coordIndex [ 0, 1, 2, -1 ] } }
    ] })";
    GraphicNode root;
    EXPECT_EQ(loadMesh(write("ccw.wrl", text), root), "");
    ASSERT_EQ(root.getChildren().size(), 1u);
    EXPECT_EQ(childAt(root, 0).getFaces(),
              (std::vector<int>{0, 1, 2, 1, 0, 2, 0, 1, 2, 1, 0, 2, 0, 1, 2}));
}

TEST_F(WrlSceneLoading, FieldsLeftOutKeepTheNodeDefaults)
{
    const char* text =
        "Transform { children [ Shape { appearance Appearance { material Material { "
        "shininess 0.2 } } } ] }";
    GraphicNode root;
    EXPECT_EQ(loadMesh(write("plain.wrl", text), root), "");
    ASSERT_EQ(root.getChildren().size(), 1u);
    const GraphicNode& node = childAt(root, 0);
    expectVector(node.getTranslation(), 0, 0, 0);
    expectVector(node.getRotationAxis(), 0, 1, 0);
    EXPECT_EQ(node.getRotationAngle(), 0.0f);
    expectVector(node.getScale(), 1, 1, 1);
    EXPECT_EQ(node.getColor()[0] + node.getColor()[1] + node.getColor()[2], 0.0f);
}

TEST_F(WrlSceneLoading, OnlyTransformsAreLookedForAtTheTopLevel)
{
    const char* text = R"(Shape { geometry IndexedFaceSet {
            coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0 ] } coordIndex [ 0, 1, 2, -1 ] } }
        Group { children [ Transform { translation 7 0 0 } ] })";
    GraphicNode root;
    EXPECT_EQ(loadMesh(write("group.wrl", text), root), "");
    ASSERT_EQ(root.getChildren().size(), 1u);
    expectVector(childAt(root, 0).getTranslation(), 7, 0, 0);
    EXPECT_TRUE(childAt(root, 0).getVertices().empty());
    EXPECT_TRUE(root.getVertices().empty());
}

TEST_F(WrlSceneLoading, PointListMayCloseWithABracketOfItsOwnOrJoinedToTheLastNumber)
{
    const std::vector<float> expected{0, 0, 0, 1.5f, 0, -2, 0, 1e-2f, 0};
    for (const char* points : {"[ 0 0 0, 1.5 0 -2, 0 1e-2 0 ]", "[ 0 0 0 , 1.5 0 -2, 0 1e-2 0]"}) {
        const std::string text = std::string("Transform { children [ Shape { geometry "
                                             "IndexedFaceSet { coord Coordinate { point ")
                                 + points + " } coordIndex [ 2, 1, 0, -1 ] } } ] }";
        GraphicNode root;
        EXPECT_EQ(loadMesh(write("points.wrl", text), root), "") << points;
        ASSERT_EQ(root.getChildren().size(), 1u);
        EXPECT_EQ(childAt(root, 0).getVertices(), expected) << points;
        EXPECT_EQ(childAt(root, 0).getFaces(), (std::vector<int>{2, 1, 0})) << points;
    }
}

TEST_F(WrlSceneLoading, MissingFileLeavesTheRootAsItWasWithOneWarning)
{
    GraphicNode root;
    root.addGraphicNode();
    const std::string path = directory + "/missing.wrl";
    const std::string errors = loadMesh(path, root);
    EXPECT_EQ(lineCount(errors), 1);
    EXPECT_NE(errors.find(path), std::string::npos);
    EXPECT_EQ(root.getChildren().size(), 1u);
}
