// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene/TransformNode.h"
#include "view/ViewFixture.h"

using Lines = std::vector<std::string>;

TEST_F(ViewTest, AFullThreeCubedGridShowsAllButTheCentre)
{
    TestGrid grid(3, 3, 3, [](int, int, int) { return true; });
    EXPECT_EQ(newMap(grid, 3, 3, 3), (Lines{"set wind direction(0, 0, 0) 0 0", "New Map: 3 3 3",
                                            "There is 27 block on this terrain",
                                            "Displaying the 26 blocks out of 27"}));
    EXPECT_EQ(view->getTerrain().getSurfaceBlocks().size(), 26u);
    for (const Vector& cell : view->getTerrain().getSurfaceBlocks()) {
        EXPECT_NE(cell, Vector(1, 1, 1));
    }
    // The top layer is grass, the rest dirt.
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            for (int z = 0; z < 3; ++z) {
                EXPECT_EQ(view->getTerrain().getBlock(Vector(x, y, z)), y == 2 ? TerrainChunks::GRASS : TerrainChunks::DIRT);
            }
        }
    }
}

TEST_F(ViewTest, AOneCellGridHoldsOneGrassBlockAtTheCellsBottomCentre)
{
    TestGrid grid(1, 1, 1, [](int, int, int) { return true; });
    EXPECT_EQ(newMap(grid, 1, 1, 1), (Lines{"set wind direction(0, 0, 0) 0 0", "New Map: 1 1 1",
                                            "There is 1 block on this terrain",
                                            "Displaying the 1 blocks out of 1"}));
    EXPECT_EQ(view->getTerrain().getBlock(Vector(0, 0, 0)), TerrainChunks::GRASS);
    EXPECT_EQ(view->getTerrain().getBlockCount(), 1);
}

TEST_F(ViewTest, BlocksAreDrawnInTheirCellsWithZMirrored)
{
    TestGrid grid(4, 5, 6, [](int x, int y, int z) { return x == 3 && y == 2 && z == 4; });
    newMap(grid, 4, 5, 6);
    // Looking straight down on the grid: window x is world x over [0, 4],
    // window y is -z over [0, 5].
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 4, 0, 5, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(90, 1, 0, 0);
    auto pixelAt = [](double x, double minusZ) {
        return readPixel(static_cast<int>(x / 4 * GL_TEST_WINDOW_SIDE),
                         static_cast<int>(minusZ / 5 * GL_TEST_WINDOW_SIDE));
    };
    for (bool chunked : {false, true}) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        view->getTerrain().setChunksEnabled(chunked);
        view->renderTerrain();
        const auto inside = pixelAt(3.5, 4.5);
        EXPECT_GT(inside[0] + inside[1] + inside[2], 0) << chunked;
        for (const auto& [x, minusZ] : {std::pair{2.5, 4.5}, std::pair{3.5, 3.5}, std::pair{0.5, 0.5}}) {
            const auto outside = pixelAt(x, minusZ);
            EXPECT_EQ(outside[0] + outside[1] + outside[2], 0) << chunked << " " << x << " " << minusZ;
        }
    }
}

TEST_F(ViewTest, AColumnOfTwoIsDirtUnderGrassBothShown)
{
    TestGrid grid(1, 1, 3, [](int, int y, int) { return y < 2; });
    newMap(grid, 1, 1, 3);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(0, 0, 0)), TerrainChunks::DIRT);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(0, 1, 0)), TerrainChunks::GRASS);
    EXPECT_EQ(view->getTerrain().getSurfaceBlocks().size(), 2u);
}

TEST_F(ViewTest, AnEmptyGridHasNoBlocks)
{
    TestGrid grid(5, 5, 5, [](int, int, int) { return false; });
    Lines lines = newMap(grid, 5, 5, 5);
    EXPECT_EQ(lines.at(2), "There is 0 block on this terrain");
    EXPECT_EQ(lines.at(3), "Displaying the 0 blocks out of 0");
}

TEST_F(ViewTest, ANewMapReplacesTheOldOne)
{
    TestGrid full(3, 3, 3, [](int, int, int) { return true; });
    TestGrid floor(4, 4, 2, [](int, int y, int) { return y == 0; });
    newMap(full, 3, 3, 3);
    Lines lines = newMap(floor, 4, 4, 2, Vector(0, 0, 0.5));
    EXPECT_EQ(lines.front(), "set wind direction(0, 0, 0.5) 89.9998 0.5");
    EXPECT_EQ(view->getTerrain().getBlockCount(), 16);
    EXPECT_EQ(view->getTerrain().getSurfaceBlocks().size(), 16u);
    EXPECT_EQ(view->getTerrain().getBlock(Vector(0, 1, 0)), TerrainChunks::EMPTY);
}

TEST_F(ViewTest, InsideGridIsHalfOpen)
{
    TestGrid grid(15, 15, 20, [](int, int, int) { return false; });
    newMap(grid, 15, 15, 20);
    EXPECT_TRUE(view->isInsideGrid(Vector(14.999, 0, 0)));
    EXPECT_FALSE(view->isInsideGrid(Vector(15, 0, 0)));
    EXPECT_FALSE(view->isInsideGrid(Vector(-0.001, 0, 0)));
    EXPECT_FALSE(view->isInsideGrid(Vector(0, 20, 0)));
    EXPECT_FALSE(view->isInsideGrid(Vector(0, 0, -1)));
}

TEST_F(ViewTest, TheTerrainDrawsOnlyItsSurfaceBlocks)
{
    TestGrid grid(3, 3, 3, [](int, int, int) { return true; });
    newMap(grid, 3, 3, 3);
    view->getTerrain().setChunksEnabled(false);
    GraphicNode::resetTriangleCount();
    view->renderTerrain();
    int perGrass = 0;
    int perDirt = 0;
    for (GraphicNode* part : view->getResources().getModel("grass")->getChildren()) {
        perGrass += static_cast<int>(part->getFaces().size() / 3);
    }
    for (GraphicNode* part : view->getResources().getModel("dirt")->getChildren()) {
        perDirt += static_cast<int>(part->getFaces().size() / 3);
    }
    // Nine grass blocks on top, seventeen dirt blocks around the hidden centre.
    EXPECT_EQ(GraphicNode::getTriangleCount(), 9 * perGrass + 17 * perDirt);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);

    // In chunks, the faces the blocks press against each other go too.
    view->getTerrain().setChunksEnabled(true);
    GraphicNode::resetTriangleCount();
    view->renderTerrain();
    EXPECT_EQ(GraphicNode::getTriangleCount(), view->getTerrain().getChunks().getTriangleCount());
    EXPECT_LT(GraphicNode::getTriangleCount(), (9 * perGrass + 17 * perDirt) / 2);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
}

TEST_F(ViewTest, TheBoundsAreABlueWireBoxAroundTheGrid)
{
    TestGrid grid(4, 2, 3, [](int, int, int) { return false; });
    newMap(grid, 4, 2, 3);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 5, -1, 5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    view->renderBounds();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_EQ(colour[0], 0.0f);
    // The left edge of the box at world x = 0 is drawn blue.
    int column = static_cast<int>((0 + 1) / 6.0 * GL_TEST_WINDOW_SIDE);
    int row = static_cast<int>((1.5 + 1) / 6.0 * GL_TEST_WINDOW_SIDE);
    bool blue = false;
    for (int dx = -1; dx <= 1; ++dx) {
        blue = blue || readPixel(column + dx, row)[2] > 200;
    }
    EXPECT_TRUE(blue);
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}
