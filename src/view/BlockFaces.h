// SPDX-License-Identifier: GPL-3.0-or-later
// A block mesh flattened into triangles in its cell's own frame, each marked
// with the cell face it lies on, if any, so that a terrain mesh can leave out
// the faces pressed against a solid neighbour, and each face read as flat
// rectangles where it can be, so that the faces of neighbouring blocks can be
// merged into larger ones.
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

    // A flat rectangle of one colour on a face. Coordinates run from 0 to 1
    // along the face's two axes in the plane, the lower model axis first
    // (y, z on an x face; x, z on a y face; x, y on a z face).
    struct Rectangle {
        std::array<double, 2> low;
        std::array<double, 2> high;
        std::array<float, 3> colour;
    };
    // What lies on one face of the cell.
    struct Layout {
        std::vector<BlockTriangle> triangles; // those on the face, in the cell's frame
        // The same picture as whole rectangles, each drawn by two of the
        // triangles; empty when the triangles are not all such halves.
        std::vector<Rectangle> rectangles;
        // Per axis in the plane: every rectangle spans the face from 0 to 1
        // along it, so that a row of such faces along that axis is the same
        // rectangles stretched over the row.
        std::array<bool, 2> stretches{};
    };

    // The model axes (0 x, 1 y, 2 z) of a face's plane, the lower first.
    static std::array<int, 2> planeAxes(int face);

    const std::vector<BlockTriangle>& getTriangles() const;
    const Layout& getLayout(int face) const;
    // The triangles that lie on no face: always drawn.
    const std::vector<BlockTriangle>& getLooseTriangles() const;

    // The triangles of the block at cell, moved there, less those lying on a
    // face whose neighbour is solid. solidNeighbour: per Face.
    void appendVisible(const Vector& cell, const std::array<bool, FACE_COUNT>& solidNeighbour,
                       std::vector<BlockTriangle>& out) const;

private:
    std::vector<BlockTriangle> triangles;
    std::array<Layout, FACE_COUNT> layouts;
    std::vector<BlockTriangle> looseTriangles;
};
