// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield's blocks as a few large meshes: columns grouped in chunks of
// CHUNK_SIDE x CHUNK_SIDE by the full height, each one array of the triangles
// of its blocks less the faces pressed against a solid neighbour, the open
// faces of neighbouring blocks of one kind merged into larger rectangles
// where that draws the same picture. A chunk is rebuilt only when one of its
// cells, or a cell across its border, changes; chunks outside the view are
// not drawn.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "view/BlockFaces.h"

class TerrainChunks {
public:
    // What a cell holds.
    enum Block : std::uint8_t { EMPTY, GRASS, DIRT };
    static constexpr int CHUNK_SIDE = 16;

    TerrainChunks();

    // An empty battlefield of these extents; every chunk is to be rebuilt.
    // grass, dirt: not owned; the block meshes' faces, which must live until
    // the next reset.
    void reset(int width, int depth, int height, const BlockFaces* grass, const BlockFaces* dirt);
    // Cells outside the battlefield are empty and cannot be set.
    void setBlock(int x, int y, int z, Block block);
    // Where a cell inside the battlefield lies in a grid laid out like this
    // one's, [x][z][y], column by column.
    std::size_t cellIndex(int x, int y, int z) const
    {
        return (static_cast<std::size_t>(x) * depth + z) * height + y;
    }
    Block getBlock(int x, int y, int z) const
    {
        if (x < 0 || x >= width || y < 0 || y >= height || z < 0 || z >= depth) {
            return EMPTY;
        }
        return cells[cellIndex(x, y, z)];
    }

    // The cells a frame's rebuild builds out of view: a few milliseconds of
    // meshing on a software-rendered machine.
    static constexpr long FRAME_CELL_BUDGET = 4L * CHUNK_SIDE * CHUNK_SIDE * 64L;
    // Rebuilds the chunks whose cells, or whose neighbours' border cells,
    // changed since they were last built: those the last draw found in view,
    // and the others in turn until they add up to cellBudget cells. Those left
    // wait for the next rebuild, or for a draw that finds them in view, which
    // builds them first: a frame never draws an outdated chunk, and a new
    // battlefield's chunks are spread over several frames. Returns how many it
    // rebuilt.
    int rebuild(long cellBudget = FRAME_CELL_BUDGET);
    // Every chunk to be rebuilt, now.
    int rebuildAll();
    // Draws the chunks that reach into the current view volume (projection
    // and modelview as they are now), in the current GL state: vertex,
    // normal and colour arrays, with colour material doing the rest. A chunk
    // in view that is still to be rebuilt is rebuilt first.
    void draw();

    int getChunkCount() const;
    // Triangles held in all chunks, and drawn by the last draw.
    long getTriangleCount() const;
    long getDrawnTriangleCount() const;
    int getDrawnChunkCount() const;
    // Chunks whose cells changed and that are still to be rebuilt.
    int getWaitingChunkCount() const;
    // How many chunks the last rebuild, and the draw after it, rebuilt.
    int getLastRebuiltCount() const;

private:
    struct Chunk {
        int firstX = 0; // cells [firstX, firstX + CHUNK_SIDE) x [firstZ, ...), whole height
        int firstZ = 0;
        bool dirty = true;
        bool inView = false; // at the last draw
        std::vector<float> vertices; // x, y, z per corner, in the view's frame
        std::vector<float> normals;  // one per corner
        std::vector<float> colours;  // r, g, b per corner
    };

    struct ChunkCells;

    Chunk& chunkOf(int x, int z);
    const BlockFaces* facesOf(Block block) const;
    // A chunk's triangles: each face direction slice by slice, the open faces
    // of one kind of block merged into rectangles where the block's face
    // allows it.
    void build(Chunk& chunk) const;
    void findOpenFaces(ChunkCells& local) const;
    void appendLooseTriangles(Chunk& chunk, const ChunkCells& local) const;
    // Covers a slice's open faces with rectangles, taking them as it goes.
    void mergeSlice(Chunk& chunk, ChunkCells& local, int face, int slice) const;
    // Whether length faces from start along the first plane axis are all
    // open faces of block.
    bool rowOpen(const ChunkCells& local, int face, int slice, const std::array<int, 2>& start, int length,
                 Block block) const;
    void appendFace(Chunk& chunk, int face, const BlockFaces::Layout& layout, const std::array<int, 3>& cell,
                    const std::array<int, 2>& span) const;

    int width;
    int depth;
    int height;
    int chunksAlongX;
    int chunksAlongZ;
    const BlockFaces* grass; // not owned
    const BlockFaces* dirt;  // not owned
    std::vector<Block> cells; // [x][z][y], column by column like the model's grid
    std::vector<Chunk> chunks; // [chunkX * chunksAlongZ + chunkZ]
    mutable long drawnTriangles;
    mutable int drawnChunks;
    int lastRebuilt;
};
