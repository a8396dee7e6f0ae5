// SPDX-License-Identifier: GPL-3.0-or-later
// The terrain drawn in chunks: block faces gathered per chunk with the hidden
// ones left out and neighbours of a kind merged, rebuilt where cells changed,
// culled against the view.
#include "view/TerrainChunks.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <limits>

TerrainChunks::TerrainChunks()
    : width(0),
      depth(0),
      height(0),
      chunksAlongX(0),
      chunksAlongZ(0),
      grass(nullptr),
      dirt(nullptr),
      drawnTriangles(0),
      drawnChunks(0),
      lastRebuilt(0)
{
}

void TerrainChunks::reset(int newWidth, int newDepth, int newHeight, const BlockFaces* grassFaces,
                          const BlockFaces* dirtFaces)
{
    width = std::max(newWidth, 0);
    depth = std::max(newDepth, 0);
    height = std::max(newHeight, 0);
    grass = grassFaces;
    dirt = dirtFaces;
    cells.assign(static_cast<std::size_t>(width) * depth * height, EMPTY);
    chunksAlongX = (width + CHUNK_SIDE - 1) / CHUNK_SIDE;
    chunksAlongZ = (depth + CHUNK_SIDE - 1) / CHUNK_SIDE;
    chunks.assign(static_cast<std::size_t>(chunksAlongX) * chunksAlongZ, Chunk());
    for (int cx = 0; cx < chunksAlongX; ++cx) {
        for (int cz = 0; cz < chunksAlongZ; ++cz) {
            Chunk& chunk = chunks[static_cast<std::size_t>(cx) * chunksAlongZ + cz];
            chunk.firstX = cx * CHUNK_SIDE;
            chunk.firstZ = cz * CHUNK_SIDE;
        }
    }
}

TerrainChunks::Chunk& TerrainChunks::chunkOf(int x, int z)
{
    return chunks[static_cast<std::size_t>(x / CHUNK_SIDE) * chunksAlongZ + z / CHUNK_SIDE];
}

void TerrainChunks::setBlock(int x, int y, int z, Block block)
{
    if (x < 0 || x >= width || y < 0 || y >= height || z < 0 || z >= depth) {
        return;
    }
    Block& cell = cells[cellIndex(x, y, z)];
    if (cell == block) {
        return;
    }
    cell = block;
    // The cell's own chunk, and a neighbour's whose block touches this cell.
    chunkOf(x, z).dirty = true;
    if (x % CHUNK_SIDE == 0 && x > 0) {
        chunkOf(x - 1, z).dirty = true;
    }
    if (x % CHUNK_SIDE == CHUNK_SIDE - 1 && x + 1 < width) {
        chunkOf(x + 1, z).dirty = true;
    }
    if (z % CHUNK_SIDE == 0 && z > 0) {
        chunkOf(x, z - 1).dirty = true;
    }
    if (z % CHUNK_SIDE == CHUNK_SIDE - 1 && z + 1 < depth) {
        chunkOf(x, z + 1).dirty = true;
    }
}

int TerrainChunks::rebuildAll()
{
    return rebuild(std::numeric_limits<long>::max());
}

int TerrainChunks::rebuild(long cellBudget)
{
    int rebuilt = 0;
    long spent = 0;
    const long chunkCells = static_cast<long>(CHUNK_SIDE) * CHUNK_SIDE * height;
    for (Chunk& chunk : chunks) {
        if (chunk.dirty && (chunk.inView || spent < cellBudget)) {
            build(chunk);
            chunk.dirty = false;
            ++rebuilt;
            spent += chunk.inView ? 0 : chunkCells;
        }
    }
    lastRebuilt = rebuilt;
    return rebuilt;
}

int TerrainChunks::getWaitingChunkCount() const
{
    return static_cast<int>(
        std::count_if(chunks.begin(), chunks.end(), [](const Chunk& chunk) { return chunk.dirty; }));
}

int TerrainChunks::getLastRebuiltCount() const
{
    return lastRebuilt;
}

namespace {

// How many cells a merged rectangle spans at most along each axis. The light
// is a point near the camera, worked out at the corners of each triangle
// only, so a large rectangle is shaded a little differently from its blocks:
// up to a chunk's side, the pictures compared differ in a few dozen pixels of
// 65 536 at most.
constexpr int MAX_MERGE = 16;

// Corners in model axes; the view draws a model point (x, y, z) at
// (x, y, -z).
void appendTriangle(const std::array<Vector, 3>& corners, const Vector& normal, const std::array<float, 3>& colour,
                    std::vector<float>& vertices, std::vector<float>& normals, std::vector<float>& colours)
{
    for (const Vector& corner : corners) {
        vertices.insert(vertices.end(),
                        {static_cast<float>(corner.x), static_cast<float>(corner.y), static_cast<float>(-corner.z)});
        normals.insert(normals.end(),
                       {static_cast<float>(normal.x), static_cast<float>(normal.y), static_cast<float>(-normal.z)});
        colours.insert(colours.end(), colour.begin(), colour.end());
    }
}

Vector withAxis(Vector v, int axis, double value)
{
    (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value;
    return v;
}

} // namespace

// A chunk's cells copied out for meshing, in a grid of their own [x][z][y]:
// each cell's block and, as bits 1 << face, its faces that look onto an empty
// cell; per face and slice across it, how many such faces there are.
struct TerrainChunks::ChunkCells {
    std::array<int, 3> low;    // the first cell, model axes
    std::array<int, 3> size;   // cells along each axis
    std::array<int, 3> stride; // index steps along each axis
    std::vector<Block> blocks;
    std::vector<std::uint8_t> open;
    std::array<std::vector<int>, BlockFaces::FACE_COUNT> openPerSlice;

    std::size_t index(int i, int j, int k) const
    {
        return static_cast<std::size_t>(i) * stride[0] + static_cast<std::size_t>(j) * stride[1]
             + static_cast<std::size_t>(k) * stride[2];
    }
};

void TerrainChunks::build(Chunk& chunk) const
{
    chunk.vertices.clear();
    chunk.normals.clear();
    chunk.colours.clear();
    ChunkCells local;
    local.low = {chunk.firstX, 0, chunk.firstZ};
    local.size = {std::min(chunk.firstX + CHUNK_SIDE, width) - chunk.firstX, height,
                  std::min(chunk.firstZ + CHUNK_SIDE, depth) - chunk.firstZ};
    local.stride = {local.size[2] * height, 1, height};
    findOpenFaces(local);
    appendLooseTriangles(chunk, local);
    for (int face = 0; face < BlockFaces::FACE_COUNT; ++face) {
        const std::vector<int>& perSlice = local.openPerSlice[static_cast<std::size_t>(face)];
        for (std::size_t slice = 0; slice < perSlice.size(); ++slice) {
            if (perSlice[slice] > 0) {
                mergeSlice(chunk, local, face, static_cast<int>(slice));
            }
        }
    }
}

const BlockFaces* TerrainChunks::facesOf(Block block) const
{
    return block == GRASS ? grass : block == DIRT ? dirt : nullptr;
}

void TerrainChunks::findOpenFaces(ChunkCells& local) const
{
    const std::size_t count = static_cast<std::size_t>(local.size[0]) * local.size[2] * height;
    local.blocks.assign(count, EMPTY);
    local.open.assign(count, 0);
    for (int face = 0; face < BlockFaces::FACE_COUNT; ++face) {
        const int slices = local.size[static_cast<std::size_t>(face / 2)];
        local.openPerSlice[static_cast<std::size_t>(face)].assign(static_cast<std::size_t>(slices), 0);
    }
    // A column's neighbours across its four sides; null outside the battlefield.
    auto column = [this](int x, int z) -> const Block* {
        return x < 0 || x >= width || z < 0 || z >= depth ? nullptr : &cells[cellIndex(x, 0, z)];
    };
    for (int i = 0; i < local.size[0]; ++i) {
        for (int k = 0; k < local.size[2]; ++k) {
            const int x = local.low[0] + i;
            const int z = local.low[2] + k;
            const Block* here = column(x, z);
            const std::array<const Block*, 4> sides{column(x - 1, z), column(x + 1, z), column(x, z - 1),
                                                    column(x, z + 1)};
            for (int y = 0; y < height; ++y) {
                const Block block = here[y];
                if (block == EMPTY) {
                    continue;
                }
                const std::array<bool, BlockFaces::FACE_COUNT> open{
                    sides[0] == nullptr || sides[0][y] == EMPTY, sides[1] == nullptr || sides[1][y] == EMPTY,
                    y == 0 || here[y - 1] == EMPTY,               y + 1 == height || here[y + 1] == EMPTY,
                    sides[2] == nullptr || sides[2][y] == EMPTY, sides[3] == nullptr || sides[3][y] == EMPTY};
                const std::size_t at = local.index(i, y, k);
                local.blocks[at] = block;
                const std::array<int, 3> place{i, y, k};
                for (std::size_t face = 0; face < open.size(); ++face) {
                    if (open[face]) {
                        local.open[at] |= static_cast<std::uint8_t>(1 << face);
                        ++local.openPerSlice[face][static_cast<std::size_t>(place[face / 2])];
                    }
                }
            }
        }
    }
}

void TerrainChunks::appendLooseTriangles(Chunk& chunk, const ChunkCells& local) const
{
    const bool anyLoose = (grass != nullptr && !grass->getLooseTriangles().empty())
                       || (dirt != nullptr && !dirt->getLooseTriangles().empty());
    if (!anyLoose) {
        return;
    }
    for (int i = 0; i < local.size[0]; ++i) {
        for (int k = 0; k < local.size[2]; ++k) {
            for (int y = 0; y < height; ++y) {
                const BlockFaces* faces = facesOf(local.blocks[local.index(i, y, k)]);
                if (faces == nullptr) {
                    continue;
                }
                const Vector cell(local.low[0] + i, y, local.low[2] + k);
                for (const BlockTriangle& triangle : faces->getLooseTriangles()) {
                    appendTriangle({triangle.corners[0] + cell, triangle.corners[1] + cell, triangle.corners[2] + cell},
                                   triangle.normal, triangle.colour, chunk.vertices, chunk.normals, chunk.colours);
                }
            }
        }
    }
}

void TerrainChunks::mergeSlice(Chunk& chunk, ChunkCells& local, int face, int slice) const
{
    const std::size_t normalAxis = static_cast<std::size_t>(face / 2);
    const std::array<int, 2> axes = BlockFaces::planeAxes(face);
    const std::size_t firstAxis = static_cast<std::size_t>(axes[0]);
    const std::size_t secondAxis = static_cast<std::size_t>(axes[1]);
    const std::uint8_t bit = static_cast<std::uint8_t>(1 << face);
    auto indexOf = [&](int i, int j) {
        std::array<int, 3> place{};
        place[normalAxis] = slice;
        place[firstAxis] = i;
        place[secondAxis] = j;
        return local.index(place[0], place[1], place[2]);
    };
    // The block whose face is still open there, taking the face.
    auto take = [&](int i, int j, Block block) {
        const std::size_t at = indexOf(i, j);
        const bool match = (local.open[at] & bit) != 0 && local.blocks[at] == block;
        if (match) {
            local.open[at] = static_cast<std::uint8_t>(local.open[at] & ~bit);
        }
        return match;
    };
    for (int i = 0; i < local.size[firstAxis]; ++i) {
        for (int j = 0; j < local.size[secondAxis]; ++j) {
            const std::size_t at = indexOf(i, j);
            const BlockFaces* faces = facesOf(local.blocks[at]);
            if ((local.open[at] & bit) == 0 || faces == nullptr) {
                continue;
            }
            const Block block = local.blocks[at];
            const BlockFaces::Layout& layout = faces->getLayout(face);
            local.open[at] = static_cast<std::uint8_t>(local.open[at] & ~bit);
            // Along the first axis, then whole rows along the second.
            int along = 1;
            while (layout.stretches[0] && along < MAX_MERGE && i + along < local.size[firstAxis]
                   && take(i + along, j, block)) {
                ++along;
            }
            int across = 1;
            while (layout.stretches[1] && across < MAX_MERGE && j + across < local.size[secondAxis]
                   && rowOpen(local, face, slice, {i, j + across}, along, block)) {
                for (int n = 0; n < along; ++n) {
                    take(i + n, j + across, block);
                }
                ++across;
            }
            std::array<int, 3> cell{};
            cell[normalAxis] = local.low[normalAxis] + slice;
            cell[firstAxis] = local.low[firstAxis] + i;
            cell[secondAxis] = local.low[secondAxis] + j;
            appendFace(chunk, face, layout, cell, {along, across});
        }
    }
}

bool TerrainChunks::rowOpen(const ChunkCells& local, int face, int slice, const std::array<int, 2>& start, int length,
                            Block block) const
{
    const std::array<int, 2> axes = BlockFaces::planeAxes(face);
    std::array<int, 3> place{};
    place[static_cast<std::size_t>(face / 2)] = slice;
    place[static_cast<std::size_t>(axes[1])] = start[1];
    for (int n = 0; n < length; ++n) {
        place[static_cast<std::size_t>(axes[0])] = start[0] + n;
        const std::size_t at = local.index(place[0], place[1], place[2]);
        if ((local.open[at] & (1 << face)) == 0 || local.blocks[at] != block) {
            return false;
        }
    }
    return true;
}

void TerrainChunks::appendFace(Chunk& chunk, int face, const BlockFaces::Layout& layout,
                               const std::array<int, 3>& cell, const std::array<int, 2>& span) const
{
    const Vector origin(cell[0], cell[1], cell[2]);
    if (layout.rectangles.empty()) {
        for (const BlockTriangle& triangle : layout.triangles) {
            appendTriangle({triangle.corners[0] + origin, triangle.corners[1] + origin, triangle.corners[2] + origin},
                           triangle.normal, triangle.colour, chunk.vertices, chunk.normals, chunk.colours);
        }
        return;
    }
    const int normalAxis = face / 2;
    const std::array<int, 2> axes = BlockFaces::planeAxes(face);
    const double plane = cell[static_cast<std::size_t>(normalAxis)] + face % 2;
    const Vector normal = withAxis(Vector(0, 0, 0), normalAxis, face % 2 == 0 ? -1.0 : 1.0);
    for (const BlockFaces::Rectangle& rectangle : layout.rectangles) {
        // Corners low-low, high-low, high-high, low-high in the face's axes.
        std::array<Vector, 4> corners;
        for (std::size_t n = 0; n < 4; ++n) {
            const bool highFirst = n == 1 || n == 2;
            const bool highSecond = n >= 2;
            Vector corner = withAxis(origin, normalAxis, plane);
            corner = withAxis(corner, axes[0], cell[static_cast<std::size_t>(axes[0])]
                                                   + (highFirst ? rectangle.high[0] : rectangle.low[0]) * span[0]);
            corner = withAxis(corner, axes[1], cell[static_cast<std::size_t>(axes[1])]
                                                   + (highSecond ? rectangle.high[1] : rectangle.low[1]) * span[1]);
            corners[n] = corner;
        }
        // Counter-clockwise as the view sees it from outside: with z mirrored,
        // (p0 - p2) x (p0 - p1) points out of the face.
        const Vector turn = (corners[0] - corners[2]) * (corners[0] - corners[1]);
        const bool outward = turn.x * normal.x + turn.y * normal.y + turn.z * normal.z > 0;
        const std::size_t second = outward ? 1 : 3;
        const std::size_t fourth = outward ? 3 : 1;
        appendTriangle({corners[0], corners[second], corners[2]}, normal, rectangle.colour, chunk.vertices,
                       chunk.normals, chunk.colours);
        appendTriangle({corners[0], corners[2], corners[fourth]}, normal, rectangle.colour, chunk.vertices,
                       chunk.normals, chunk.colours);
    }
}

namespace {

// The six planes of the current view volume, a x + b y + c z + d >= 0
// inside, in the frame of the current modelview.
std::array<std::array<double, 4>, 6> viewPlanes()
{
    GLdouble projection[16];
    GLdouble modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    // clip = projection * modelview, column-major.
    double clip[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += projection[k * 4 + row] * modelview[column * 4 + k];
            }
            clip[column * 4 + row] = sum;
        }
    }
    auto row = [&clip](int r) { return std::array<double, 4>{clip[r], clip[4 + r], clip[8 + r], clip[12 + r]}; };
    const std::array<double, 4> w = row(3);
    std::array<std::array<double, 4>, 6> planes;
    for (int axis = 0; axis < 3; ++axis) {
        const std::array<double, 4> r = row(axis);
        for (int i = 0; i < 4; ++i) {
            planes[static_cast<std::size_t>(axis * 2)][static_cast<std::size_t>(i)] = w[i] + r[i];
            planes[static_cast<std::size_t>(axis * 2 + 1)][static_cast<std::size_t>(i)] = w[i] - r[i];
        }
    }
    return planes;
}

// Whether the box reaches into the volume: no plane has all its corners out.
bool boxInside(const std::array<std::array<double, 4>, 6>& planes, const double low[3], const double high[3])
{
    for (const auto& plane : planes) {
        const double x = plane[0] >= 0 ? high[0] : low[0];
        const double y = plane[1] >= 0 ? high[1] : low[1];
        const double z = plane[2] >= 0 ? high[2] : low[2];
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < 0) {
            return false;
        }
    }
    return true;
}

} // namespace

void TerrainChunks::draw()
{
    drawnTriangles = 0;
    drawnChunks = 0;
    const auto planes = viewPlanes();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (Chunk& chunk : chunks) {
        const double low[3] = {static_cast<double>(chunk.firstX), 0.0,
                               -static_cast<double>(std::min(chunk.firstZ + CHUNK_SIDE, depth))};
        const double high[3] = {static_cast<double>(std::min(chunk.firstX + CHUNK_SIDE, width)),
                                static_cast<double>(height), -static_cast<double>(chunk.firstZ)};
        chunk.inView = boxInside(planes, low, high);
        if (!chunk.inView) {
            continue;
        }
        // Left over by a rebuild that ran out of budget: needed now.
        if (chunk.dirty) {
            build(chunk);
            chunk.dirty = false;
            ++lastRebuilt;
        }
        if (chunk.vertices.empty()) {
            continue;
        }
        glVertexPointer(3, GL_FLOAT, 0, chunk.vertices.data());
        glNormalPointer(GL_FLOAT, 0, chunk.normals.data());
        glColorPointer(3, GL_FLOAT, 0, chunk.colours.data());
        const GLsizei corners = static_cast<GLsizei>(chunk.vertices.size() / 3);
        glDrawArrays(GL_TRIANGLES, 0, corners);
        drawnTriangles += corners / 3;
        ++drawnChunks;
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

int TerrainChunks::getChunkCount() const
{
    return static_cast<int>(chunks.size());
}

long TerrainChunks::getTriangleCount() const
{
    long total = 0;
    for (const Chunk& chunk : chunks) {
        total += static_cast<long>(chunk.vertices.size() / 9);
    }
    return total;
}

long TerrainChunks::getDrawnTriangleCount() const
{
    return drawnTriangles;
}

int TerrainChunks::getDrawnChunkCount() const
{
    return drawnChunks;
}
