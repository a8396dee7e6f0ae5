// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield's blocks as the view holds them: the grid of grass and dirt
// cells, drawn in chunks; the surface blocks (those with an empty neighbour);
// the fallen blocks waiting to rejoin the terrain and the cells they booked.
// A block gets a node of its own only while it falls or flies.
#pragma once

#include <list>
#include <memory>
#include <vector>

#include "math/Vector.h"
#include "view/BlockFaces.h"
#include "view/PendingBlock.h"
#include "view/TerrainChunks.h"

class GraphicNode;
class ViewResources;

class ViewTerrain {
public:
    // resources: not owned; the view's resource table, which outlives it.
    explicit ViewTerrain(const ViewResources& resources);

    // A new battlefield of these extents from the model's grid, [x][z][y];
    // the top block of each column is grass, the covered ones dirt.
    void reset(int width, int depth, int height, bool*** terrain);
    // Forgets the surface and the fallen blocks, as a new map begins.
    void clear();
    // Rebuilds the list of blocks with at least one empty neighbour.
    void calculateSurfaceBlocks();
    // Draws the terrain, first letting fallen blocks whose fall has been
    // shown by now (ticks of the view clock) join it.
    void render(long now);
    void renderBounds() const;
    bool isInsideGrid(const Vector& v) const;

    // Drawn from chunks (true) or block by block (false, the reference
    // picture).
    void setChunksEnabled(bool enabled);
    bool isChunksEnabled() const;
    const TerrainChunks& getChunks() const;

    // Takes a cell's block out of the terrain as a node of its own, to fall
    // or fly; null when the terrain has no block there. block, when given,
    // receives its kind.
    std::unique_ptr<GraphicNode> takeBlock(const Vector& cell, TerrainChunks::Block* block);
    // A fallen block that rejoins the terrain at cell after its fall is shown.
    void addPendingBlock(const Vector& cell, TerrainChunks::Block block);
    // Books the cells of every fallen block still waiting: they count as
    // taken though no terrain is drawn there yet.
    void bookPendingBlocks();
    // Fallen blocks whose fall has been shown join the terrain.
    void landPendingBlocks();
    // Ticks of the view clock after which the fallen blocks join.
    void setPendingBlocksTick(long tick);

    // The cells of the blocks with an empty neighbour.
    const std::vector<Vector>& getSurfaceBlocks() const;
    // The block in a cell (empty while its block falls or flies), and how
    // many blocks the terrain holds.
    TerrainChunks::Block getBlock(const Vector& cell) const;
    int getBlockCount() const;
    const std::list<PendingBlock>& getPendingBlocks() const;
    long getPendingBlocksTick() const;
    // The height of the top block of a column, or -1 for none or outside.
    int columnTop(int x, int z) const;

    // Where a block's mesh is placed in the scene for its cell.
    static Vector blockPlace(const Vector& cell);

private:
    // Index of a cell inside the grid in bookedCells.
    std::size_t cellIndex(const Vector& cell) const;
    void renderBlockByBlock() const;

    const ViewResources& resources; // not owned
    int width;
    int height;
    int depth;
    // The drawn terrain; the block meshes' faces it uses are taken from the
    // meshes at every new map.
    TerrainChunks chunks;
    std::unique_ptr<BlockFaces> grassFaces;
    std::unique_ptr<BlockFaces> dirtFaces;
    bool chunksEnabled;
    std::vector<Vector> surfaceBlocks;
    int blockCount;
    // Fallen blocks and the cells they rejoin the terrain at.
    std::list<PendingBlock> pendingBlocks;
    std::vector<TerrainChunks::Block> bookedCells; // [x][z][y], like the chunks' grid
    long pendingBlocksTick; // ticks of the view clock
};
