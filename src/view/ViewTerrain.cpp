// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield as the view draws it: a grid of grass and dirt cells, taken
// over at every new map, of which only the blocks with an empty neighbour are
// drawn, and the blue wire box around the grid.
#include "view/ViewTerrain.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>

#include "scene/TransformNode.h"
#include "scene/graphicnode.h"
#include "view/ViewResources.h"

ViewTerrain::ViewTerrain(const ViewResources& resources)
    : resources(resources),
      width(0),
      height(0),
      depth(0),
      chunksEnabled(true),
      blockCount(0),
      pendingBlocksTick(0)
{
}

void ViewTerrain::reset(int w, int d, int h, bool*** terrain)
{
    width = w;
    depth = d;
    height = h;
    grassFaces = std::make_unique<BlockFaces>(*resources.getModel("grass"));
    dirtFaces = std::make_unique<BlockFaces>(*resources.getModel("dirt"));
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
    blockCount = count;
    std::cout << "There is " << count << " block on this terrain" << std::endl;
    calculateSurfaceBlocks();
}

void ViewTerrain::clear()
{
    pendingBlocks.clear();
    surfaceBlocks.clear();
    blockCount = 0;
}

void ViewTerrain::calculateSurfaceBlocks()
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
    std::cout << "Displaying the " << surfaceBlocks.size() << " blocks out of " << blockCount << std::endl;
}

void ViewTerrain::render(long now)
{
    if (now > pendingBlocksTick && !pendingBlocks.empty()) {
        landPendingBlocks();
        calculateSurfaceBlocks();
    }
    if (chunksEnabled) {
        chunks.rebuild();
        chunks.draw();
        GraphicNode::countTriangles(static_cast<int>(chunks.getDrawnTriangleCount()));
        return;
    }
    renderBlockByBlock();
}

void ViewTerrain::renderBlockByBlock() const
{
    // Each surface block's whole mesh, placed in its cell.
    GraphicNode* grass = resources.getModel("grass");
    GraphicNode* dirt = resources.getModel("dirt");
    for (const Vector& cell : surfaceBlocks) {
        const Vector place = blockPlace(cell);
        glPushMatrix();
        glTranslated(place.x, place.y, place.z);
        (getBlock(cell) == TerrainChunks::GRASS ? grass : dirt)->draw();
        glPopMatrix();
    }
}

void ViewTerrain::renderBounds() const
{
    glColor3f(0.0f, 0.0f, 1.0f);
    glPushMatrix();
    glTranslatef(static_cast<float>(width / 2.0), static_cast<float>(height / 2.0),
                 static_cast<float>(-depth / 2.0));
    glScalef(static_cast<float>(width), static_cast<float>(height), static_cast<float>(depth));
    glutWireCube(1.0);
    glPopMatrix();
}

bool ViewTerrain::isInsideGrid(const Vector& v) const
{
    return 0.0 <= v.x && v.x < width && 0.0 <= v.y && v.y < height && 0.0 <= v.z && v.z < depth;
}

void ViewTerrain::setChunksEnabled(bool enabled)
{
    chunksEnabled = enabled;
}

bool ViewTerrain::isChunksEnabled() const
{
    return chunksEnabled;
}

const TerrainChunks& ViewTerrain::getChunks() const
{
    return chunks;
}

std::unique_ptr<GraphicNode> ViewTerrain::takeBlock(const Vector& cell, TerrainChunks::Block* block)
{
    const TerrainChunks::Block taken = getBlock(cell);
    if (taken == TerrainChunks::EMPTY) {
        return nullptr;
    }
    chunks.setBlock(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z),
                    TerrainChunks::EMPTY);
    --blockCount;
    if (block != nullptr) {
        *block = taken;
    }
    auto node = std::make_unique<TransformNode>(resources.getModel(taken == TerrainChunks::GRASS ? "grass" : "dirt"));
    const Vector place = blockPlace(cell);
    node->setTranslation(static_cast<float>(place.x), static_cast<float>(place.y), static_cast<float>(place.z));
    return node;
}

void ViewTerrain::addPendingBlock(const Vector& cell, TerrainChunks::Block block)
{
    pendingBlocks.push_back({cell, block});
}

void ViewTerrain::bookPendingBlocks()
{
    for (const PendingBlock& pending : pendingBlocks) {
        if (isInsideGrid(pending.cell)) {
            bookedCells[cellIndex(pending.cell)] = pending.block;
        }
    }
}

void ViewTerrain::landPendingBlocks()
{
    for (const PendingBlock& pending : pendingBlocks) {
        const int x = static_cast<int>(pending.cell.x);
        const int y = static_cast<int>(pending.cell.y);
        const int z = static_cast<int>(pending.cell.z);
        if (isInsideGrid(pending.cell)) {
            chunks.setBlock(x, y, z, pending.block);
            bookedCells[cellIndex(pending.cell)] = TerrainChunks::EMPTY;
            ++blockCount;
        }
    }
    pendingBlocks.clear();
}

void ViewTerrain::setPendingBlocksTick(long tick)
{
    pendingBlocksTick = tick;
}

const std::vector<Vector>& ViewTerrain::getSurfaceBlocks() const
{
    return surfaceBlocks;
}

TerrainChunks::Block ViewTerrain::getBlock(const Vector& cell) const
{
    return chunks.getBlock(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z));
}

int ViewTerrain::getBlockCount() const
{
    return blockCount;
}

const std::list<PendingBlock>& ViewTerrain::getPendingBlocks() const
{
    return pendingBlocks;
}

long ViewTerrain::getPendingBlocksTick() const
{
    return pendingBlocksTick;
}

int ViewTerrain::columnTop(int x, int z) const
{
    if (x < 0 || x >= width || z < 0 || z >= depth) {
        return -1;
    }
    int top = height - 1;
    while (top >= 0 && chunks.getBlock(x, top, z) == TerrainChunks::EMPTY) {
        --top;
    }
    return top;
}

std::size_t ViewTerrain::cellIndex(const Vector& cell) const
{
    return chunks.cellIndex(static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z));
}

Vector ViewTerrain::blockPlace(const Vector& cell)
{
    // A block mesh stands on its cell's floor, centred; the scene mirrors z.
    return Vector(cell.x + 0.5, cell.y, -0.5 - cell.z);
}
