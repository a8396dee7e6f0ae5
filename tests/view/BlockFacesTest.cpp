// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

#include "scene/graphicnode.h"
#include "support/UnitCube.h"
#include "view/BlockFaces.h"
#include "view/ViewFixture.h"

namespace {

using Flags = std::array<bool, BlockFaces::FACE_COUNT>;
const Flags OPEN{};
const Flags CLOSED{true, true, true, true, true, true};

// The triangles kept over a grid of solid cells, each block with the
// neighbours it has inside the grid (the outer boundary counts as open).
std::vector<BlockTriangle> visible(const BlockFaces& faces, const std::vector<Vector>& cells)
{
    auto solid = [&cells](const Vector& cell) {
        for (const Vector& other : cells) {
            if (other == cell) {
                return true;
            }
        }
        return false;
    };
    std::vector<BlockTriangle> out;
    for (const Vector& cell : cells) {
        const Flags neighbours{solid(cell - Vector(1, 0, 0)), solid(cell + Vector(1, 0, 0)),
                               solid(cell - Vector(0, 1, 0)), solid(cell + Vector(0, 1, 0)),
                               solid(cell - Vector(0, 0, 1)), solid(cell + Vector(0, 0, 1))};
        faces.appendVisible(cell, neighbours, out);
    }
    return out;
}

std::map<int, int> perFace(const std::vector<BlockTriangle>& triangles)
{
    std::map<int, int> count;
    for (const BlockTriangle& triangle : triangles) {
        ++count[triangle.face];
    }
    return count;
}

} // namespace

TEST(BlockFaces, EveryTriangleOfACubeLiesOnTheFaceItLooksOutOf)
{
    const BlockFaces faces(*unitCube());
    ASSERT_EQ(faces.getTriangles().size(), 12u);
    EXPECT_EQ(perFace(faces.getTriangles()), (std::map<int, int>{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    for (const BlockTriangle& triangle : faces.getTriangles()) {
        for (const Vector& corner : triangle.corners) {
            EXPECT_TRUE(corner.x >= 0 && corner.x <= 1 && corner.y >= 0 && corner.y <= 1 && corner.z >= 0
                        && corner.z <= 1);
        }
    }
    // The view's -z face is the model's +z face, towards higher cells.
    for (const BlockTriangle& triangle : faces.getTriangles()) {
        if (triangle.face == BlockFaces::PLUS_Z) {
            EXPECT_EQ(triangle.corners[0].z, 1.0);
            EXPECT_EQ(triangle.normal, Vector(0, 0, 1));
        }
    }
}

TEST(BlockFaces, ALoneBlockKeepsAllItsTrianglesAndNeighboursLoseTheFacesTheyShare)
{
    const BlockFaces faces(*unitCube());
    EXPECT_EQ(visible(faces, {Vector(4, 2, 7)}).size(), 12u);
    const std::vector<BlockTriangle> pair = visible(faces, {Vector(4, 2, 7), Vector(4, 2, 8)});
    EXPECT_EQ(pair.size(), 20u);
    EXPECT_EQ(perFace(pair).count(BlockFaces::PLUS_Z), 1u);
    EXPECT_EQ(perFace(pair)[BlockFaces::PLUS_Z], 2);
    EXPECT_EQ(perFace(pair)[BlockFaces::MINUS_Z], 2);
    for (const BlockTriangle& triangle : pair) {
        if (triangle.face == BlockFaces::PLUS_Z) {
            EXPECT_EQ(triangle.corners[0].z, 9.0);
        }
    }
}

TEST(BlockFaces, AFullThreeByThreeByThreeKeepsOnlyItsOuterFaces)
{
    std::vector<Vector> cells;
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            for (int z = 0; z < 3; ++z) {
                cells.emplace_back(x, y, z);
            }
        }
    }
    const std::vector<BlockTriangle> kept = visible(BlockFaces(*unitCube()), cells);
    EXPECT_EQ(kept.size(), 6u * 9u * 2u);
    for (const BlockTriangle& triangle : kept) {
        const double middle = (triangle.corners[0].x + triangle.corners[1].x + triangle.corners[2].x) / 3;
        const double level = (triangle.corners[0].y + triangle.corners[1].y + triangle.corners[2].y) / 3;
        const double across = (triangle.corners[0].z + triangle.corners[1].z + triangle.corners[2].z) / 3;
        EXPECT_TRUE(middle == 0 || middle == 3 || level == 0 || level == 3 || across == 0 || across == 3);
    }
}

TEST(BlockFaces, TrianglesInsideTheCellOrFacingInwardAreAlwaysKept)
{
    std::unique_ptr<GraphicNode> mesh = unitCube();
    GraphicNode* tuft = mesh->addGraphicNode();
    tuft->setTranslation(0.0f, 0.5f, 0.0f);
    // One triangle across the middle of the cell, one on the -x face plane
    // looking into the cell.
    tuft->addVertex(-0.2f, 0.0f, 0.0f);
    tuft->addVertex(0.2f, 0.0f, 0.0f);
    tuft->addVertex(0.0f, 0.3f, 0.0f);
    tuft->addVertex(-0.5f, -0.5f, 0.4f);
    tuft->addVertex(-0.5f, -0.5f, -0.4f);
    tuft->addVertex(-0.5f, 0.4f, 0.0f);
    tuft->addFace(0, 1, 2);
    tuft->addFace(3, 4, 5);
    const BlockFaces faces(*mesh);
    ASSERT_EQ(faces.getTriangles().size(), 14u);
    std::vector<BlockTriangle> kept;
    faces.appendVisible(Vector(1, 1, 1), CLOSED, kept);
    EXPECT_EQ(kept.size(), 2u);
    for (const BlockTriangle& triangle : kept) {
        EXPECT_EQ(triangle.face, BlockFaces::NO_FACE);
    }
    kept.clear();
    faces.appendVisible(Vector(1, 1, 1), OPEN, kept);
    EXPECT_EQ(kept.size(), 14u);
}

// The game's own blocks, as loaded from res/: every one of their faces is
// recognised, so a buried block draws nothing of its outside.
class GameBlockFaces : public ViewTest {};

TEST_F(GameBlockFaces, GrassAndDirtLoseEveryOuterTriangleWhenBuried)
{
    for (const char* key : {"grass", "dirt"}) {
        const BlockFaces faces(*view->getResources().getModel(key));
        ASSERT_FALSE(faces.getTriangles().empty()) << key;
        const std::map<int, int> count = perFace(faces.getTriangles());
        for (int face = 0; face < BlockFaces::FACE_COUNT; ++face) {
            EXPECT_GT(count.count(face), 0u) << key << " face " << face;
        }
        std::vector<BlockTriangle> kept;
        faces.appendVisible(Vector(), CLOSED, kept);
        EXPECT_EQ(kept.size(), static_cast<std::size_t>(count.count(BlockFaces::NO_FACE) ? count.at(BlockFaces::NO_FACE) : 0))
            << key;
    }
}

TEST_F(GameBlockFaces, EachFaceIsReadAsRectanglesThatStretchAlongTheirBands)
{
    // Per face, the rectangles and whether they stretch along the face's
    // first and second plane axes: the sides are bands of colour that run
    // round the block, the top and bottom one colour each.
    struct Row {
        const char* block;
        int face;
        std::size_t rectangles;
        bool first;
        bool second;
    };
    const Row rows[] = {
        {"grass", BlockFaces::MINUS_X, 2, false, true}, {"grass", BlockFaces::PLUS_X, 2, false, true},
        {"grass", BlockFaces::MINUS_Y, 1, true, true},  {"grass", BlockFaces::PLUS_Y, 1, true, true},
        {"grass", BlockFaces::MINUS_Z, 2, true, false}, {"grass", BlockFaces::PLUS_Z, 2, true, false},
        {"dirt", BlockFaces::MINUS_X, 3, false, true},  {"dirt", BlockFaces::PLUS_X, 3, false, true},
        {"dirt", BlockFaces::MINUS_Y, 1, true, true},   {"dirt", BlockFaces::PLUS_Y, 1, true, true},
        {"dirt", BlockFaces::MINUS_Z, 3, true, false},  {"dirt", BlockFaces::PLUS_Z, 3, true, false},
    };
    for (const Row& row : rows) {
        const BlockFaces faces(*view->getResources().getModel(row.block));
        const BlockFaces::Layout& layout = faces.getLayout(row.face);
        EXPECT_EQ(layout.rectangles.size(), row.rectangles) << row.block << " face " << row.face;
        EXPECT_EQ(layout.stretches[0], row.first) << row.block << " face " << row.face;
        EXPECT_EQ(layout.stretches[1], row.second) << row.block << " face " << row.face;
        EXPECT_EQ(layout.triangles.size(), 2 * row.rectangles) << row.block << " face " << row.face;
    }
}

TEST(BlockFaces, AFaceWithATriangleThatIsNoHalfOfARectangleDoesNotStretch)
{
    std::unique_ptr<GraphicNode> mesh = unitCube();
    GraphicNode* point = mesh->addGraphicNode();
    // A triangle on the +x face, looking out.
    point->addVertex(0.5f, 0.2f, 0.3f);
    point->addVertex(0.5f, 0.2f, -0.3f);
    point->addVertex(0.5f, 0.8f, 0.0f);
    point->addFace(0, 2, 1);
    point->addFace(0, 1, 2);
    const BlockFaces faces(*mesh);
    const BlockFaces::Layout& layout = faces.getLayout(BlockFaces::PLUS_X);
    EXPECT_EQ(layout.triangles.size(), 3u);
    EXPECT_TRUE(layout.rectangles.empty());
    EXPECT_FALSE(layout.stretches[0] || layout.stretches[1]);
    EXPECT_EQ(faces.getLayout(BlockFaces::MINUS_X).rectangles.size(), 1u);
    EXPECT_TRUE(faces.getLayout(BlockFaces::MINUS_X).stretches[0] && faces.getLayout(BlockFaces::MINUS_X).stretches[1]);
}
