// SPDX-License-Identifier: GPL-3.0-or-later
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "scene/WrlFiles.h"

namespace {

using WrlLoaderRobustness = WrlFiles;

int totalVertices(const GraphicNode& node)
{
    int count = static_cast<int>(node.getVertices().size() / 3);
    for (const GraphicNode* child : node.getChildren()) {
        count += totalVertices(*child);
    }
    return count;
}

// Faces are whole triangles, and each gets a finite normal, even one whose
// vertex is missing (drawing leaves such a face out).
void expectReadyToDraw(GraphicNode& root)
{
    root.computeNormal();
    std::vector<const GraphicNode*> nodes{&root};
    while (!nodes.empty()) {
        const GraphicNode* node = nodes.back();
        nodes.pop_back();
        ASSERT_EQ(node->getFaces().size() % 3, 0u);
        ASSERT_EQ(node->getNormals().size(), node->getFaces().size());
        for (float component : node->getNormals()) {
            ASSERT_TRUE(std::isfinite(component));
        }
        nodes.insert(nodes.end(), node->getChildren().begin(), node->getChildren().end());
    }
}

// One warning line, and it names the file.
void expectOneWarning(const std::string& errors, const std::string& path)
{
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find(path), std::string::npos) << errors;
}

// Whether a prefix of this many bytes of a sample file ends inside one of its
// two top-level Transforms (after the whole keyword, before its closing brace).
bool cutsATransform(const std::string& text, std::size_t length)
{
    const std::size_t firstOpen = text.find("Transform") + 9;
    const std::size_t firstClose = text.find("}\nTransform");
    const std::size_t secondOpen = text.find("Transform", firstClose) + 9;
    const std::size_t secondClose = text.rfind('}');
    return (length >= firstOpen && length <= firstClose)
           || (length >= secondOpen && length <= secondClose);
}

std::string meshWithPoints(const std::string& points, const std::string& indices)
{
    return "Transform { translation 1 0 0 children [ Shape { geometry IndexedFaceSet { "
           "coord Coordinate { point [ "
           + points + " } coordIndex [ " + indices + " } } ] }";
}

} // namespace

TEST_F(WrlLoaderRobustness, MeshCutAtAnyByteLoadsWhatCameBeforeTheCut)
{
    const std::string text = SAMPLE_MESH;
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const std::string path = write("cut.wrl", text.substr(0, length));
        GraphicNode root;
        const std::string errors = loadMesh(path, root);
        if (cutsATransform(text, length)) {
            expectOneWarning(errors, path);
        } else {
            EXPECT_EQ(errors, "") << "cut at " << length;
        }
        EXPECT_LE(totalVertices(root), 7);
        expectReadyToDraw(root);
    }
}

TEST_F(WrlLoaderRobustness, AnimationCutAtAnyByteEndsWithAtMostOneWarning)
{
    const std::string text = SAMPLE_ANIMATION;
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const std::string path = write("cut.wrl", text.substr(0, length));
        TimeSensor root;
        const std::string errors = loadAnimation(path, root);
        if (cutsATransform(text, length)) {
            expectOneWarning(errors, path);
        } else {
            EXPECT_EQ(errors, "") << "cut at " << length;
        }
        EXPECT_LE(root.getChilds().size(), 2u);
    }
}

TEST_F(WrlLoaderRobustness, OverlongWordIsCutAndTheRestOfTheFileStillLoads)
{
    const std::string word(100000, 'x');
    std::string text = SAMPLE_MESH;
    text.insert(text.find("translation 1 2 3"), word + " ");
    const std::string path = write("long.wrl", text);
    GraphicNode root;
    expectOneWarning(loadMesh(path, root), path);
    ASSERT_EQ(root.getChildren().size(), 2u);
    EXPECT_EQ(root.getChildren().front()->getFaces(), (std::vector<int>{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(root.getChildren().front()->getTranslation(), Vector(1, 2, 3));

    const std::string animationPath = write(
        "long-key.wrl", "Transform { PositionInterpolator { key [ 0 " + word
                            + " ] keyValue [ 1 2 3, 4 5 6 ] } } Transform { }");
    TimeSensor sensors;
    expectOneWarning(loadAnimation(animationPath, sensors), animationPath);
    EXPECT_EQ(sensors.getChilds().size(), 2u);
}

TEST_F(WrlLoaderRobustness, HugeNumbersNeitherWrapIntoRangeNorGoUnreported)
{
    // 4294967297 wraps round to 1 in a 32-bit int.
    const std::string path = write(
        "huge.wrl", meshWithPoints("0 0 0, 1 0 0, 0 1 0 ]",
                                   "0, 1, 4294967297, -1, 0, -99999999999, 1, -1, 2, 1, 0, -1 ]"));
    GraphicNode root;
    expectOneWarning(loadMesh(path, root), path);
    ASSERT_EQ(root.getChildren().size(), 1u);
    EXPECT_EQ(root.getChildren().front()->getFaces(),
              (std::vector<int>{0, 1, INT_MAX, 0, -INT_MAX, 1, 2, 1, 0}));

    const std::string bigTranslation = write("far.wrl", "Transform { translation 1e39 0 0 }");
    GraphicNode far;
    expectOneWarning(loadMesh(bigTranslation, far), bigTranslation);
}

TEST_F(WrlLoaderRobustness, FacesWrittenBeforeTheirPointsAreKept)
{
    const char* text = R"(Transform { children [ Shape { geometry IndexedFaceSet {
        ccw FALSE
        coordIndex [ 0, 1, 2, -1, 2, 1, 3, -1 ]
        coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0, 1 1 0 ] } } } ] })";
    GraphicNode root;
    EXPECT_EQ(loadMesh(write("order.wrl", text), root), "");
    ASSERT_EQ(root.getChildren().size(), 1u);
    EXPECT_EQ(root.getChildren().front()->getFaces(), (std::vector<int>{1, 0, 2, 1, 2, 3}));

    // Once the whole node is read, a face still without its vertex is named
    // by the line of its list, and kept all the same.
    const char* missing = R"(Transform { children [ Shape { geometry IndexedFaceSet {
        coordIndex [ 0, 1, 2, -1 ]
        coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0 ] }
        coordIndex [ 0, 1, 3, -1, -1, 0, 1, -1 ] } } ] })";
    const std::string path = write("missing.wrl", missing);
    GraphicNode incomplete;
    const std::string errors = loadMesh(path, incomplete);
    expectOneWarning(errors, path);
    EXPECT_NE(errors.find("line 4: face 0 1 3 "), std::string::npos) << errors;
    ASSERT_EQ(incomplete.getChildren().size(), 1u);
    EXPECT_EQ(incomplete.getChildren().front()->getFaces(),
              (std::vector<int>{0, 1, 2, 0, 1, 3, -1, 0, 1}));
    expectReadyToDraw(incomplete);
}

TEST_F(WrlLoaderRobustness, ACommentWordThatIsAKeywordLeavesItsFieldAndTheFileGoesOn)
{
    // "%f" takes the "-" of "-}" before it fails: the "}" must not then be
    // counted as the end of the Transform.
    const char* text = R"(Transform {
  translation 1 2 3 rotation 0 0 1 0.5
  # keep its translation -} and the rotation of the arm
  children [ Transform { translation 0 1 0 } ]
}
Transform { translation 5 0 0 })";
    const std::string path = write("comment.wrl", text);
    GraphicNode root;
    const std::string errors = loadMesh(path, root);
    expectOneWarning(errors, path);
    EXPECT_NE(errors.find("line 3: expected a number in the translation, found \"-}\""),
              std::string::npos)
        << errors;
    ASSERT_EQ(root.getChildren().size(), 2u);
    const GraphicNode& arm = *root.getChildren().front();
    EXPECT_EQ(arm.getTranslation(), Vector(1, 2, 3));
    EXPECT_EQ(arm.getRotationAxis(), Vector(0, 0, 1));
    EXPECT_NEAR(arm.getRotationAngle(), 28.6479, 1e-3);
    ASSERT_EQ(arm.getChildren().size(), 1u);
    EXPECT_EQ(arm.getChildren().front()->getTranslation(), Vector(0, 1, 0));
    EXPECT_EQ(root.getChildren().back()->getTranslation(), Vector(5, 0, 0));
}

TEST_F(WrlLoaderRobustness, ABadNumberInAListCostsOnlyItsPointOrFace)
{
    const std::string path = write(
        "lists.wrl", meshWithPoints("0 0 0, 1 x 0, 1 0 0, 0 1 0 ]",
                                    "0, 1, 2, -1, 0, y, 1, -1, 2, 1, 0 ]")
                         + " Transform { translation 5 0 0 }");
    GraphicNode root;
    const std::string errors = loadMesh(path, root);
    expectOneWarning(errors, path);
    EXPECT_NE(errors.find("found \"x\""), std::string::npos) << errors;
    ASSERT_EQ(root.getChildren().size(), 2u);
    const GraphicNode& mesh = *root.getChildren().front();
    EXPECT_EQ(mesh.getVertices(), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    // The last face may go without its terminator.
    EXPECT_EQ(mesh.getFaces(), (std::vector<int>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(root.getChildren().back()->getTranslation(), Vector(5, 0, 0));
}

TEST_F(WrlLoaderRobustness, EmptyListsAndStrayCommasEarnOneWarningEach)
{
    const std::vector<std::string> meshes{
        meshWithPoints("]", "0, 1, 2, -1 ]"),
        meshWithPoints("0 0 0, 1 0 0, 0 1 0 ]", "]"),
        meshWithPoints("0 0 0, 1 0 0, 0 1 0, ]", "0, 1, 2, -1 ]"),
        meshWithPoints("0 0 0, 1 0 0, 0 1 0 ]", "0, 1, 2, -1, ]"),
        meshWithPoints("0 0 0 1 0 0, 0 1 0 ]", "0, 1, 2, -1 ]"),
    };
    for (const std::string& text : meshes) {
        // Each list closes at its "]", so the next Transform still loads.
        const std::string path = write("mesh.wrl", text + " Transform { }");
        GraphicNode root;
        expectOneWarning(loadMesh(path, root), path);
        ASSERT_EQ(root.getChildren().size(), 2u) << text;
        EXPECT_EQ(root.getChildren().front()->getTranslation(), Vector(1, 0, 0));
        expectReadyToDraw(root);
    }
    const std::vector<std::string> animations{
        "Transform { PositionInterpolator { key [ ] keyValue [ 1 2 3 ] } }",
        "Transform { PositionInterpolator { key [ 0 ] keyValue [ ] } }",
        "Transform { OrientationInterpolator { key [ 0 1 , ] keyValue [ 0 1 0 1, 1 0 0 1 ] } }",
        "Transform { OrientationInterpolator { key [ 0 1 ] keyValue [ 0 1 0 1, 1 0 0 ] } }",
        "Transform { PositionInterpolator { key [ 0 1 ] keyValue [ 1 2 3,4 5 6 ] } }",
    };
    for (const std::string& text : animations) {
        const std::string path = write("animation.wrl", text);
        TimeSensor root;
        expectOneWarning(loadAnimation(path, root), path);
        EXPECT_EQ(root.getChilds().size(), 1u) << text;
    }
}

TEST_F(WrlLoaderRobustness, BinaryFilesAreRefusedWithOneWarning)
{
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (char& byte : garbage) {
        byte = static_cast<char>(random() & 0xff);
    }
    for (const std::string& text :
         {garbage, std::string(SAMPLE_MESH) + garbage, std::string(SAMPLE_ANIMATION) + garbage}) {
        const std::string path = write("binary.wrl", text);
        GraphicNode root;
        expectOneWarning(loadMesh(path, root), path);
        expectReadyToDraw(root);
        TimeSensor sensors;
        expectOneWarning(loadAnimation(path, sensors), path);
    }
    // The sound part before the garbage is kept.
    GraphicNode root;
    loadMesh(write("tail.wrl", std::string(SAMPLE_MESH) + garbage), root);
    EXPECT_EQ(totalVertices(root), 7);

    // A directory opens but cannot be read.
    expectOneWarning(loadMesh(directory, root), directory);
}

TEST_F(WrlLoaderRobustness, DeepNestingStopsWithOneWarningInsteadOfOverflowingTheStack)
{
    std::string meshText;
    std::string animationText;
    for (int level = 0; level < 100000; ++level) {
        meshText += "Transform { children [ ";
        animationText += "Transform { ";
    }
    const std::string meshPath = write("deep-mesh.wrl", meshText);
    GraphicNode root;
    expectOneWarning(loadMesh(meshPath, root), meshPath);
    const std::string animationPath = write("deep-animation.wrl", animationText);
    TimeSensor sensors;
    expectOneWarning(loadAnimation(animationPath, sensors), animationPath);
}

// Thousands of damaged copies of the sample files: no crash, no hang, at most
// one warning each, and a tree ready to draw.
TEST_F(WrlLoaderRobustness, MutatedFilesNeverCrashAndWarnAtMostOnce)
{
    const std::vector<std::string> insertions{"[", "]", "{", "}", ",", " ", "-", "7",
                                              "99999999999", "1e39", "-2147483649",
                                              "Transform", "ccw FALSE", "key [", "\n",
                                              "-x", "nax", "rotation of"};
    std::mt19937 random(20240611);
    for (const std::string& original : {std::string(SAMPLE_MESH), std::string(SAMPLE_ANIMATION)}) {
        for (int mutant = 0; mutant < 1500; ++mutant) {
            std::string text = original;
            const int mutations = 1 + static_cast<int>(random() % 4);
            for (int m = 0; m < mutations && !text.empty(); ++m) {
                const std::size_t at = random() % text.size();
                switch (random() % 3) {
                case 0: text[at] = static_cast<char>(random() & 0xff); break;
                case 1: text.erase(at, 1 + random() % 8); break;
                default: text.insert(at, insertions[random() % insertions.size()]); break;
                }
            }
            const std::string path = write("mutant.wrl", text);
            GraphicNode root;
            const std::string meshErrors = loadMesh(path, root);
            ASSERT_LE(lineCount(meshErrors), 1) << text;
            expectReadyToDraw(root);
            TimeSensor sensors;
            ASSERT_LE(lineCount(loadAnimation(path, sensors)), 1) << text;
        }
    }
}
