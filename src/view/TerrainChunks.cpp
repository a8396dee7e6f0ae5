// SPDX-License-Identifier: GPL-3.0-or-later
// The terrain drawn in chunks: block triangles gathered per chunk with the
// hidden faces left out, rebuilt where cells changed, culled against the view.
#include "view/TerrainChunks.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>

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
    for (const auto& [dx, dz] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
        const int nx = x + dx;
        const int nz = z + dz;
        if (nx >= 0 && nx < width && nz >= 0 && nz < depth) {
            chunkOf(nx, nz).dirty = true;
        }
    }
}

int TerrainChunks::rebuild()
{
    int rebuilt = 0;
    for (Chunk& chunk : chunks) {
        if (chunk.dirty) {
            build(chunk);
            chunk.dirty = false;
            ++rebuilt;
        }
    }
    lastRebuilt = rebuilt;
    return rebuilt;
}

int TerrainChunks::getLastRebuiltCount() const
{
    return lastRebuilt;
}

void TerrainChunks::build(Chunk& chunk) const
{
    chunk.vertices.clear();
    chunk.normals.clear();
    chunk.colours.clear();
    std::vector<BlockTriangle> kept;
    const int endX = std::min(chunk.firstX + CHUNK_SIDE, width);
    const int endZ = std::min(chunk.firstZ + CHUNK_SIDE, depth);
    for (int x = chunk.firstX; x < endX; ++x) {
        for (int z = chunk.firstZ; z < endZ; ++z) {
            for (int y = 0; y < height; ++y) {
                const Block block = cells[cellIndex(x, y, z)];
                const BlockFaces* faces = block == GRASS ? grass : block == DIRT ? dirt : nullptr;
                if (faces == nullptr) {
                    continue;
                }
                // Faces on the battlefield's boundary stay: outside reads empty.
                const std::array<bool, BlockFaces::FACE_COUNT> solid{
                    getBlock(x - 1, y, z) != EMPTY, getBlock(x + 1, y, z) != EMPTY,
                    getBlock(x, y - 1, z) != EMPTY, getBlock(x, y + 1, z) != EMPTY,
                    getBlock(x, y, z - 1) != EMPTY, getBlock(x, y, z + 1) != EMPTY};
                kept.clear();
                faces->appendVisible(Vector(x, y, z), solid, kept);
                for (const BlockTriangle& triangle : kept) {
                    for (const Vector& corner : triangle.corners) {
                        // The view draws a model point (x, y, z) at (x, y, -z).
                        chunk.vertices.insert(chunk.vertices.end(), {static_cast<float>(corner.x),
                                                                     static_cast<float>(corner.y),
                                                                     static_cast<float>(-corner.z)});
                        chunk.normals.insert(chunk.normals.end(), {static_cast<float>(triangle.normal.x),
                                                                   static_cast<float>(triangle.normal.y),
                                                                   static_cast<float>(-triangle.normal.z)});
                        chunk.colours.insert(chunk.colours.end(), triangle.colour.begin(), triangle.colour.end());
                    }
                }
            }
        }
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

void TerrainChunks::draw() const
{
    drawnTriangles = 0;
    drawnChunks = 0;
    const auto planes = viewPlanes();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (const Chunk& chunk : chunks) {
        if (chunk.vertices.empty()) {
            continue;
        }
        const double low[3] = {static_cast<double>(chunk.firstX), 0.0,
                               -static_cast<double>(std::min(chunk.firstZ + CHUNK_SIDE, depth))};
        const double high[3] = {static_cast<double>(std::min(chunk.firstX + CHUNK_SIDE, width)),
                                static_cast<double>(height), -static_cast<double>(chunk.firstZ)};
        if (!boxInside(planes, low, high)) {
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
