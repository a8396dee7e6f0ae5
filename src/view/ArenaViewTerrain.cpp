// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield as the view draws it: a grid of grass and dirt cells, taken
// over at every new map, of which only the blocks with an empty neighbour are
// drawn, and the blue wire box around the grid.
#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

#include "animation/WindAnimation.h"
#include "scene/TransformNode.h"
#include "scene/graphicnode.h"
#include "view/ArenaView.h"

void ArenaView::onNewMap(int w, int d, int h, bool*** terrain, const Vector& wind)
{
    width = w;
    depth = d;
    height = h;
    windAnimation->setDirection(wind);
    std::cout << "New Map: " << w << " " << d << " " << h << std::endl;
    cleanup();
    grassFaces = std::make_unique<BlockFaces>(*models["grass"]);
    dirtFaces = std::make_unique<BlockFaces>(*models["dirt"]);
    chunks.reset(w, d, h, grassFaces.get(), dirtFaces.get());
    bookedCells.assign(static_cast<std::size_t>(std::max(w, 0)) * std::max(d, 0) * std::max(h, 0),
                       TerrainChunks::EMPTY);

    int count = 0;
    for (int x = 0; x < w; ++x) {
        for (int z = 0; z < d; ++z) {
            const bool* column = terrain[x][z];
            for (int y = 0; y < h; ++y) {
                if (!column[y]) {
                    continue;
                }
                // Covered blocks are dirt, the top of each column grass.
                const bool covered = y < h - 1 && column[y + 1];
                chunks.setBlock(x, y, z, covered ? TerrainChunks::DIRT : TerrainChunks::GRASS);
                ++count;
            }
        }
    }
    terrainBlockCount = count;
    std::cout << "There is " << count << " block on this terrain" << std::endl;
    calculateSurfaceBlocks();
}

void ArenaView::calculateSurfaceBlocks()
{
    // A cell booked by a falling block counts as taken, though its block is
    // not drawn there yet. Only asked of cells inside the grid.
    auto taken = [this](int x, int y, int z) {
        return chunks.getBlock(x, y, z) != TerrainChunks::EMPTY
            || bookedCells[chunks.cellIndex(x, y, z)] != TerrainChunks::EMPTY;
    };
    surfaceBlocks.clear();
    for (int x = 0; x < width; ++x) {
        for (int z = 0; z < depth; ++z) {
            for (int y = 0; y < height; ++y) {
                if (chunks.getBlock(x, y, z) == TerrainChunks::EMPTY) {
                    continue;
                }
                // Outside the grid counts as empty: a block on its edge is
                // always shown.
                const bool inner = x > 0 && x < width - 1 && y > 0 && y < height - 1 && z > 0 && z < depth - 1;
                if (!inner || !taken(x - 1, y, z) || !taken(x + 1, y, z) || !taken(x, y - 1, z)
                    || !taken(x, y + 1, z) || !taken(x, y, z - 1) || !taken(x, y, z + 1)) {
                    surfaceBlocks.emplace_back(x, y, z);
                }
            }
        }
    }
    std::cout << "Displaying the " << surfaceBlocks.size() << " blocks out of " << terrainBlockCount << std::endl;
}

TerrainChunks::Block ArenaView::getTerrainBlock(const Vector& cell) const
{
    return chunks.getBlock(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z));
}

int ArenaView::getTerrainBlockCount() const
{
    return terrainBlockCount;
}

void ArenaView::setChunksEnabled(bool enabled)
{
    chunksEnabled = enabled;
}

bool ArenaView::isChunksEnabled() const
{
    return chunksEnabled;
}

const TerrainChunks& ArenaView::getChunks() const
{
    return chunks;
}

void ArenaView::renderTerrain()
{
    if (timeSystem.getTick() > pendingBlocksTick && !pendingBlocks.empty()) {
        landPendingBlocks();
        calculateSurfaceBlocks();
    }
    if (chunksEnabled) {
        chunks.rebuild();
        chunks.draw();
        GraphicNode::countTriangles(static_cast<int>(chunks.getDrawnTriangleCount()));
        return;
    }
    // Block by block: each surface block's whole mesh, placed in its cell.
    GraphicNode* grass = models["grass"];
    GraphicNode* dirt = models["dirt"];
    for (const Vector& cell : surfaceBlocks) {
        const Vector place = blockPlace(cell);
        glPushMatrix();
        glTranslated(place.x, place.y, place.z);
        (getTerrainBlock(cell) == TerrainChunks::GRASS ? grass : dirt)->draw();
        glPopMatrix();
    }
}

void ArenaView::landPendingBlocks()
{
    for (const PendingBlock& pending : pendingBlocks) {
        const int x = static_cast<int>(pending.cell.x);
        const int y = static_cast<int>(pending.cell.y);
        const int z = static_cast<int>(pending.cell.z);
        if (isInsideGrid(pending.cell)) {
            chunks.setBlock(x, y, z, pending.block);
            bookedCells[cellIndex(pending.cell)] = TerrainChunks::EMPTY;
            ++terrainBlockCount;
        }
    }
    pendingBlocks.clear();
}

GraphicNode* ArenaView::takeTerrainBlock(const Vector& cell, TerrainChunks::Block* block)
{
    const TerrainChunks::Block taken = getTerrainBlock(cell);
    if (taken == TerrainChunks::EMPTY) {
        return nullptr;
    }
    chunks.setBlock(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z),
                    TerrainChunks::EMPTY);
    --terrainBlockCount;
    if (block != nullptr) {
        *block = taken;
    }
    auto* node = new TransformNode(models[taken == TerrainChunks::GRASS ? "grass" : "dirt"]);
    const Vector place = blockPlace(cell);
    node->setTranslation(static_cast<float>(place.x), static_cast<float>(place.y), static_cast<float>(place.z));
    return node;
}

std::size_t ArenaView::cellIndex(const Vector& cell) const
{
    return chunks.cellIndex(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z));
}

Vector ArenaView::blockPlace(const Vector& cell)
{
    // A block mesh stands on its cell's floor, centred; the scene mirrors z.
    return Vector(cell.x + 0.5, cell.y, -0.5 - cell.z);
}

void ArenaView::renderBounds()
{
    glColor3f(0.0f, 0.0f, 1.0f);
    glPushMatrix();
    glTranslatef(static_cast<float>(width / 2.0), static_cast<float>(height / 2.0),
                 static_cast<float>(-depth / 2.0));
    glScalef(static_cast<float>(width), static_cast<float>(height), static_cast<float>(depth));
    glutWireCube(1.0);
    glPopMatrix();
}

bool ArenaView::isInsideGrid(const Vector& v) const
{
    return 0.0 <= v.x && v.x < width && 0.0 <= v.y && v.y < height && 0.0 <= v.z && v.z < depth;
}
