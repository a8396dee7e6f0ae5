// SPDX-License-Identifier: GPL-3.0-or-later
// The terrain drawn in chunks: block faces gathered per chunk with the hidden
// ones left out and neighbours of a kind merged, rebuilt where cells changed,
// culled against the view.
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

namespace {

// How many cells a merged rectangle spans at most along each axis. The light
// is a point near the camera, worked out at the corners of each triangle
// only: over a longer rectangle its shading would drift visibly from the
// block-by-block picture.
constexpr int MAX_MERGE = 8;

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

void TerrainChunks::build(Chunk& chunk) const
{
    chunk.vertices.clear();
    chunk.normals.clear();
    chunk.colours.clear();
    const std::array<int, 3> low{chunk.firstX, 0, chunk.firstZ};
    const std::array<int, 3> high{std::min(chunk.firstX + CHUNK_SIDE, width), height,
                                  std::min(chunk.firstZ + CHUNK_SIDE, depth)};
    appendLooseTriangles(chunk, low, high);
    std::vector<Block> open;
    for (int face = 0; face < BlockFaces::FACE_COUNT; ++face) {
        const int normalAxis = face / 2;
        for (int slice = low[static_cast<std::size_t>(normalAxis)]; slice < high[static_cast<std::size_t>(normalAxis)];
             ++slice) {
            openFaces(face, slice, low, high, open);
            mergeFaces(chunk, face, slice, low, high, open);
        }
    }
}

const BlockFaces* TerrainChunks::facesOf(Block block) const
{
    return block == GRASS ? grass : block == DIRT ? dirt : nullptr;
}

void TerrainChunks::appendLooseTriangles(Chunk& chunk, const std::array<int, 3>& low,
                                         const std::array<int, 3>& high) const
{
    const bool anyLoose = (grass != nullptr && !grass->getLooseTriangles().empty())
                       || (dirt != nullptr && !dirt->getLooseTriangles().empty());
    if (!anyLoose) {
        return;
    }
    for (int x = low[0]; x < high[0]; ++x) {
        for (int z = low[2]; z < high[2]; ++z) {
            for (int y = 0; y < height; ++y) {
                const BlockFaces* faces = facesOf(cells[cellIndex(x, y, z)]);
                if (faces == nullptr) {
                    continue;
                }
                for (const BlockTriangle& triangle : faces->getLooseTriangles()) {
                    const Vector cell(x, y, z);
                    appendTriangle({triangle.corners[0] + cell, triangle.corners[1] + cell, triangle.corners[2] + cell},
                                   triangle.normal, triangle.colour, chunk.vertices, chunk.normals, chunk.colours);
                }
            }
        }
    }
}

void TerrainChunks::openFaces(int face, int slice, const std::array<int, 3>& low, const std::array<int, 3>& high,
                              std::vector<Block>& open) const
{
    const std::size_t normalAxis = static_cast<std::size_t>(face / 2);
    const std::array<int, 2> axes = BlockFaces::planeAxes(face);
    const int first = high[static_cast<std::size_t>(axes[0])] - low[static_cast<std::size_t>(axes[0])];
    const int second = high[static_cast<std::size_t>(axes[1])] - low[static_cast<std::size_t>(axes[1])];
    const int outward = face % 2 == 0 ? -1 : 1;
    open.assign(static_cast<std::size_t>(first) * second, EMPTY);
    std::array<int, 3> cell{};
    cell[normalAxis] = slice;
    for (int i = 0; i < first; ++i) {
        cell[static_cast<std::size_t>(axes[0])] = low[static_cast<std::size_t>(axes[0])] + i;
        for (int j = 0; j < second; ++j) {
            cell[static_cast<std::size_t>(axes[1])] = low[static_cast<std::size_t>(axes[1])] + j;
            const Block block = cells[cellIndex(cell[0], cell[1], cell[2])];
            if (block == EMPTY) {
                continue;
            }
            std::array<int, 3> next = cell;
            next[normalAxis] += outward;
            if (getBlock(next[0], next[1], next[2]) == EMPTY) {
                open[static_cast<std::size_t>(i) * second + j] = block;
            }
        }
    }
}

void TerrainChunks::mergeFaces(Chunk& chunk, int face, int slice, const std::array<int, 3>& low,
                               const std::array<int, 3>& high, std::vector<Block>& open) const
{
    const std::array<int, 2> axes = BlockFaces::planeAxes(face);
    const int first = high[static_cast<std::size_t>(axes[0])] - low[static_cast<std::size_t>(axes[0])];
    const int second = high[static_cast<std::size_t>(axes[1])] - low[static_cast<std::size_t>(axes[1])];
    auto at = [&open, second](int i, int j) -> Block& { return open[static_cast<std::size_t>(i) * second + j]; };
    for (int i = 0; i < first; ++i) {
        for (int j = 0; j < second; ++j) {
            const Block block = at(i, j);
            const BlockFaces* faces = facesOf(block);
            if (faces == nullptr) {
                continue;
            }
            const BlockFaces::Layout& layout = faces->getLayout(face);
            // Grow along the first axis, then add whole rows along the second.
            int along = 1;
            while (layout.stretches[0] && along < MAX_MERGE && i + along < first && at(i + along, j) == block) {
                ++along;
            }
            int across = 1;
            auto rowMatches = [&](int row) {
                for (int k = 0; k < along; ++k) {
                    if (at(i + k, row) != block) {
                        return false;
                    }
                }
                return true;
            };
            while (layout.stretches[1] && across < MAX_MERGE && j + across < second && rowMatches(j + across)) {
                ++across;
            }
            for (int k = 0; k < along; ++k) {
                for (int m = 0; m < across; ++m) {
                    at(i + k, j + m) = EMPTY;
                }
            }
            std::array<int, 3> cell{};
            cell[static_cast<std::size_t>(face / 2)] = slice;
            cell[static_cast<std::size_t>(axes[0])] = low[static_cast<std::size_t>(axes[0])] + i;
            cell[static_cast<std::size_t>(axes[1])] = low[static_cast<std::size_t>(axes[1])] + j;
            appendFace(chunk, face, layout, cell, {along, across});
        }
    }
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
