// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <list>
#include <map>
#include <memory>
#include <set>

#include "app/Main.h"
#include "model/ArenaModel.h"
#include "model/RadiusBomb.h"
#include "scene/graphicnode.h"
#include "support/UnitCube.h"
#include "view/TerrainChunks.h"
#include "view/ViewFixture.h"

namespace {

class Chunks : public testing::Test {
protected:
    Chunks()
        : mesh(unitCube()),
          faces(*mesh)
    {
        chunks.reset(40, 40, 8, &faces, &faces);
    }
    std::unique_ptr<GraphicNode> mesh;
    BlockFaces faces;
    TerrainChunks chunks;
};

} // namespace

TEST_F(Chunks, OnlyTheOuterFacesOfASolidBoxAreKept)
{
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            for (int z = 0; z < 3; ++z) {
                chunks.setBlock(x + 14, y, z + 14, TerrainChunks::DIRT);
            }
        }
    }
    EXPECT_EQ(chunks.rebuild(), 9);
    // The box straddles four chunks; their borders hide faces too. Each face
    // is one rectangle per chunk it reaches into: top and bottom four, the
    // sides two.
    EXPECT_EQ(chunks.getTriangleCount(), (4L * 2L + 2L * 4L) * 2L);
}

TEST_F(Chunks, FacesOnTheBattlefieldsBoundaryAreKept)
{
    TerrainChunks full;
    full.reset(2, 1, 1, &faces, &faces);
    full.setBlock(0, 0, 0, TerrainChunks::GRASS);
    full.setBlock(1, 0, 0, TerrainChunks::GRASS);
    full.rebuild();
    // The two blocks' faces merged: one rectangle a side.
    EXPECT_EQ(full.getTriangleCount(), 12L);
}

TEST_F(Chunks, AChangeRebuildsItsChunkAndTheChunkAcrossABorderOnly)
{
    for (int x = 0; x < 40; ++x) {
        for (int z = 0; z < 40; ++z) {
            chunks.setBlock(x, 0, z, TerrainChunks::GRASS);
        }
    }
    EXPECT_EQ(chunks.rebuild(), 9);
    EXPECT_EQ(chunks.rebuild(), 0);
    chunks.setBlock(20, 0, 20, TerrainChunks::EMPTY);
    EXPECT_EQ(chunks.rebuild(), 1);
    // x 16 borders the chunk of x 15.
    chunks.setBlock(16, 0, 20, TerrainChunks::EMPTY);
    EXPECT_EQ(chunks.rebuild(), 2);
    // At a corner of four chunks, only the two across its faces.
    chunks.setBlock(16, 0, 16, TerrainChunks::EMPTY);
    EXPECT_EQ(chunks.rebuild(), 3);
    chunks.setBlock(16, 0, 16, TerrainChunks::EMPTY);
    EXPECT_EQ(chunks.rebuild(), 0);
    // Outside the battlefield nothing is set.
    chunks.setBlock(40, 0, 0, TerrainChunks::GRASS);
    EXPECT_EQ(chunks.getBlock(40, 0, 0), TerrainChunks::EMPTY);
    EXPECT_EQ(chunks.rebuild(), 0);
}

namespace {

constexpr int SIDE = 256;

using ChunkedView = ViewTest;

TEST_F(ChunkedView, AShotRebuildsOnlyTheChunksOfTheCellsItChanged)
{
    // A floor of 3 x 3 chunks, four cells deep.
    TestGrid floor(48, 48, 6, [](int, int y, int) { return y < 4; });
    newMap(floor, 48, 48, 6);
    auto shot = [&](std::set<Vector> removed, std::map<Vector, int> falling) {
        std::list<Vector> path{Vector(24, 5, 24)};
        std::map<int, int> playerFalls;
        std::map<int, double> damages;
        std::set<int> killed;
        printed([&] { view->onProjectile(0, nullptr, path, removed, falling, playerFalls, damages, killed); });
        view->renderTerrain();
        return view->getTerrain().getChunks().getLastRebuiltCount();
    };
    view->renderTerrain();
    EXPECT_EQ(view->getTerrain().getChunks().getLastRebuiltCount(), 9);
    view->renderTerrain();
    EXPECT_EQ(view->getTerrain().getChunks().getLastRebuiltCount(), 0);

    // Inside the centre chunk; then on its border with the chunk to its left.
    EXPECT_EQ(shot({Vector(24, 3, 24)}, {}), 1);
    EXPECT_EQ(shot({Vector(16, 3, 24)}, {}), 2);
    // A block falls within a corner chunk: taken out now, put back when its
    // fall has been shown; nothing else is rebuilt.
    EXPECT_EQ(shot({Vector(2, 2, 2)}, {{Vector(2, 3, 2), 1}}), 1);
    clocks.clock.advance(100000);
    printed([&] { view->renderTerrain(); });
    EXPECT_EQ(view->getTerrain().getChunks().getLastRebuiltCount(), 1);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(2, 2, 2)), TerrainChunks::GRASS);
}

// The view's pictures of its terrain drawn both ways into one picture size.
class PictureTest : public ViewTest {
protected:
    std::vector<unsigned char> frame(bool useChunks)
    {
        view->getTerrain().setChunksEnabled(useChunks);
        OffscreenTarget target(SIDE, SIDE);
        printed([&] { view->renderScene(); });
        return target.pixels();
    }

    // Pixels that differ clearly between the two paths.
    int differences()
    {
        const std::vector<unsigned char> blocks = frame(false);
        const std::vector<unsigned char> chunked = frame(true);
        int count = 0;
        for (std::size_t i = 0; i + 2 < blocks.size(); i += 3) {
            const int change = std::abs(blocks[i] - chunked[i]) + std::abs(blocks[i + 1] - chunked[i + 1])
                             + std::abs(blocks[i + 2] - chunked[i + 2]);
            count += change > 24 ? 1 : 0;
        }
        return count;
    }

    // Pixels the chunks draw: there is a battlefield to compare.
    int lit()
    {
        const std::vector<unsigned char> chunked = frame(true);
        int count = 0;
        for (std::size_t i = 0; i + 2 < chunked.size(); i += 3) {
            count += chunked[i] + chunked[i + 1] + chunked[i + 2] > 60 ? 1 : 0;
        }
        return count;
    }

    // Edge pixels may go either way where two faces meet.
    static constexpr int ALLOWED = SIDE * SIDE / 100;
};

// The game's view of a seeded battlefield, with the start camera.
class ChunkPicture : public PictureTest {
protected:
    void start(int side, int height)
    {
        Main::seedRandom(7);
        model = std::make_unique<ArenaModel>(4, side, side, height, RandomStream(7));
        model->addListener(view.get());
        printed([&] {
            view->reshape(SIDE, SIDE);
            model->reset();
        });
    }
    void TearDown() override
    {
        ViewTest::TearDown();
        model.reset();
    }

    // A fireball cast by the first player, shown to its end.
    void shoot(double yaw, double pitch, double power)
    {
        RadiusBomb fireball(3);
        printed([&] { model->throwProjectile(0, &fireball, yaw, pitch, power); });
        for (int step = 0; step < 400 && view->isAnimating(); ++step) {
            clocks.clock.advance(50);
            printed([&] { view->renderScene(); });
        }
        ASSERT_FALSE(view->isAnimating());
    }

    std::unique_ptr<ArenaModel> model;
};

} // namespace

TEST_F(ChunkPicture, BothPathsDrawTheSamePictureAtTheStartAndAfterAShot)
{
    start(15, 20);
    EXPECT_LE(differences(), ALLOWED);
    // The chunks draw a fair part of the picture.
    EXPECT_GT(lit(), SIDE * SIDE / 10);
    shoot(30, 20, 3);
    EXPECT_LE(differences(), ALLOWED);
    EXPECT_LT(view->getTerrain().getChunks().getTriangleCount(), 447L * 12L);
}

TEST_F(ChunkPicture, ALargeBattlefieldsMergedFacesDrawTheSamePicture)
{
    // Low enough for the start camera to look down onto its plains.
    start(64, 10);
    EXPECT_GT(lit(), SIDE * SIDE / 3);
    EXPECT_LE(differences(), ALLOWED);
    shoot(45, 30, 4);
    EXPECT_LE(differences(), ALLOWED);
    // Merged, the terrain holds far fewer triangles than its open faces.
    long openFaces = 0;
    for (const Vector& cell : view->getTerrain().getSurfaceBlocks()) {
        for (const Vector& step : {Vector(1, 0, 0), Vector(-1, 0, 0), Vector(0, 1, 0), Vector(0, -1, 0),
                                   Vector(0, 0, 1), Vector(0, 0, -1)}) {
            openFaces += view->getTerrain().getBlock(cell + step) == TerrainChunks::EMPTY ? 1 : 0;
        }
    }
    EXPECT_LT(view->getTerrain().getChunks().getTriangleCount(), openFaces);
}

namespace {

using MergedPicture = PictureTest;

} // namespace

TEST_F(MergedPicture, AHoleInTheMiddleOfAMergedFaceIsDrawnAsTheBlocksDrawIt)
{
    // A flat floor: its top is merged into few large rectangles.
    TestGrid floor(48, 48, 6, [](int, int y, int) { return y < 4; });
    newMap(floor, 48, 48, 6);
    printed([&] { view->reshape(SIDE, SIDE); });
    EXPECT_LE(differences(), ALLOWED);
    // Unmerged, the top alone would take two triangles a cell.
    const long whole = view->getTerrain().getChunks().getTriangleCount();
    EXPECT_LT(whole, 48L * 48L * 2L / 4L);

    // Two layers taken out of the middle of the first rectangles.
    std::set<Vector> removed;
    for (int x = 3; x < 6; ++x) {
        for (int z = 2; z < 5; ++z) {
            removed.insert(Vector(x, 3, z));
            removed.insert(Vector(x, 2, z));
        }
    }
    std::list<Vector> path{Vector(4, 5, 3)};
    std::map<Vector, int> falling;
    std::map<int, int> playerFalls;
    std::map<int, double> damages;
    std::set<int> killed;
    printed([&] { view->onProjectile(0, nullptr, path, removed, falling, playerFalls, damages, killed); });
    EXPECT_LE(differences(), ALLOWED);
    EXPECT_EQ(view->getTerrain().getChunks().getLastRebuiltCount(), 1);
    EXPECT_GT(view->getTerrain().getChunks().getTriangleCount(), whole);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(4, 3, 3)), TerrainChunks::EMPTY);
}
