// SPDX-License-Identifier: GPL-3.0-or-later
// A block mesh flattened into triangles in its cell's own frame, each marked
// with the cell face it lies on, if any, so that a terrain mesh can leave out
// the faces pressed against a solid neighbour.
#pragma once

#include <array>
#include <vector>

#include "math/Vector.h"

class GraphicNode;

// One triangle of a block mesh, corners in the cell's frame in model axes:
// (0, 0, 0) is the cell's minimum corner and (1, 1, 1) its maximum.
struct BlockTriangle {
    std::array<Vector, 3> corners;
    Vector normal;                // unit, model axes; faces the viewer for counter-clockwise corners
    std::array<float, 3> colour;  // of the node the triangle comes from
    int face;                     // the cell face it lies on and faces out of, or NO_FACE
};

class BlockFaces {
public:
    // The six faces of a cell, in the order of the neighbour flags below.
    enum Face { MINUS_X, PLUS_X, MINUS_Y, PLUS_Y, MINUS_Z, PLUS_Z, FACE_COUNT };
    static constexpr int NO_FACE = -1;

    // Flattens mesh and its children with their static transforms, as a block
    // node draws it: placed at its cell with the mesh's origin at the middle of
    // the cell's bottom face (view z is model -z).
    explicit BlockFaces(const GraphicNode& mesh);

    const std::vector<BlockTriangle>& getTriangles() const;

    // The triangles of the block at cell, moved there, less those lying on a
    // face whose neighbour is solid. solidNeighbour: per Face.
    void appendVisible(const Vector& cell, const std::array<bool, FACE_COUNT>& solidNeighbour,
                       std::vector<BlockTriangle>& out) const;

private:
    std::vector<BlockTriangle> triangles;
};
