// SPDX-License-Identifier: GPL-3.0-or-later
// Block meshes as plain triangles in their cell, each knowing which face of
// the cell it covers: the rule that lets the terrain drop hidden faces; and
// each face as the rectangles it is made of, which lets it merge faces.
#include "view/BlockFaces.h"

#include <algorithm>
#include <cmath>

#include "scene/graphicnode.h"

namespace {

// How far from a face plane a corner may lie and still be on it.
constexpr double FACE_TOLERANCE = 1e-4;

// A transform as glTranslate, glRotate and glScale build it, applied to
// points: p -> translation + rotation(scale * p).
struct Placement {
    Vector translation;
    std::array<Vector, 3> columns{Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)}; // linear part

    Vector apply(const Vector& p) const
    {
        return translation + columns[0] * p.x + columns[1] * p.y + columns[2] * p.z;
    }

    // This placement followed, inside it, by a node's own transform.
    Placement then(const GraphicNode& node) const
    {
        const Vector& axis = node.getRotationAxis();
        const double angle = node.getRotationAngle() * 3.14159265358979323846 / 180.0;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        // Rotation about a unit axis (Rodrigues), the matrix glRotate makes.
        auto rotate = [&](const Vector& v) {
            const double along = axis.x * v.x + axis.y * v.y + axis.z * v.z;
            const Vector across(axis.y * v.z - axis.z * v.y, axis.z * v.x - axis.x * v.z,
                                axis.x * v.y - axis.y * v.x);
            return v * c + across * s + axis * (along * (1.0 - c));
        };
        const Vector& scale = node.getScale();
        Placement inner;
        inner.translation = apply(node.getTranslation());
        const std::array<Vector, 3> local{rotate(Vector(scale.x, 0, 0)), rotate(Vector(0, scale.y, 0)),
                                          rotate(Vector(0, 0, scale.z))};
        for (int i = 0; i < 3; ++i) {
            inner.columns[i] = columns[0] * local[i].x + columns[1] * local[i].y + columns[2] * local[i].z;
        }
        return inner;
    }
};

// The face of the unit cell that all three corners lie on and that the
// normal points out of, or NO_FACE.
int faceOf(const std::array<Vector, 3>& corners, const Vector& normal)
{
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            bool onPlane = true;
            for (const Vector& corner : corners) {
                const double value = axis == 0 ? corner.x : axis == 1 ? corner.y : corner.z;
                onPlane = onPlane && std::fabs(value - side) <= FACE_TOLERANCE;
            }
            const double outward = (axis == 0 ? normal.x : axis == 1 ? normal.y : normal.z) * (side == 0 ? -1 : 1);
            if (onPlane && outward > 0.5) {
                return axis * 2 + side;
            }
        }
    }
    return BlockFaces::NO_FACE;
}

void flatten(const GraphicNode& node, const Placement& outer, std::vector<BlockTriangle>& out)
{
    const Placement placement = outer.then(node);
    const std::vector<float>& vertices = node.getVertices();
    const std::vector<int>& faces = node.getFaces();
    const int vertexCount = static_cast<int>(vertices.size() / 3);
    for (std::size_t t = 0; t + 2 < faces.size(); t += 3) {
        BlockTriangle triangle;
        bool valid = true;
        for (int k = 0; k < 3; ++k) {
            const int index = faces[t + static_cast<std::size_t>(k)];
            valid = valid && index >= 0 && index < vertexCount;
            if (!valid) {
                break;
            }
            const float* v = &vertices[3 * static_cast<std::size_t>(index)];
            const Vector view = placement.apply(Vector(v[0], v[1], v[2]));
            // From the view's frame (origin at the bottom middle, z towards
            // the viewer) to the cell's, in model axes.
            triangle.corners[static_cast<std::size_t>(k)] = Vector(view.x + 0.5, view.y, 0.5 - view.z);
        }
        if (!valid) {
            continue;
        }
        const std::array<Vector, 3>& p = triangle.corners;
        // Mirroring z turns the winding: the outward normal of the view's
        // counter-clockwise triangle is (p0 - p2) x (p0 - p1) here.
        const Vector cross = (p[0] - p[2]) * (p[0] - p[1]);
        const double length = cross.getLength();
        triangle.normal = length > 0.0 && std::isfinite(length) ? cross * (1.0 / length) : Vector(0, 1, 0);
        const float* colour = node.getColor();
        triangle.colour = {colour[0], colour[1], colour[2]};
        triangle.face = faceOf(triangle.corners, triangle.normal);
        out.push_back(triangle);
    }
    for (const GraphicNode* child : node.getChildren()) {
        flatten(*child, placement, out);
    }
}

double along(const Vector& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// A triangle that is half of an axis-aligned rectangle in the face plane:
// the rectangle, and which of its corners the triangle leaves out (bit 1:
// high along the first axis, bit 0: high along the second).
struct RectangleHalf {
    BlockFaces::Rectangle rectangle;
    int missingCorner;
};

bool halfOfRectangle(const BlockTriangle& triangle, const std::array<int, 2>& axes, RectangleHalf& half)
{
    BlockFaces::Rectangle& box = half.rectangle;
    for (std::size_t k = 0; k < 2; ++k) {
        box.low[k] = box.high[k] = along(triangle.corners[0], axes[k]);
        for (const Vector& corner : triangle.corners) {
            box.low[k] = std::min(box.low[k], along(corner, axes[k]));
            box.high[k] = std::max(box.high[k], along(corner, axes[k]));
        }
        if (box.high[k] - box.low[k] <= FACE_TOLERANCE) {
            return false;
        }
    }
    box.colour = triangle.colour;
    int covered = 0;
    for (const Vector& corner : triangle.corners) {
        int index = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            const double value = along(corner, axes[k]);
            if (std::fabs(value - box.high[k]) <= FACE_TOLERANCE) {
                index |= k == 0 ? 2 : 1;
            } else if (std::fabs(value - box.low[k]) > FACE_TOLERANCE) {
                return false;
            }
        }
        covered |= 1 << index;
    }
    // Three distinct corners of the four.
    const int missing[] = {-1, -1, -1, -1, -1, -1, -1, 3, -1, -1, -1, 2, -1, 1, 0, -1};
    half.missingCorner = missing[covered];
    return half.missingCorner >= 0;
}

bool sameRectangle(const BlockFaces::Rectangle& a, const BlockFaces::Rectangle& b)
{
    for (std::size_t k = 0; k < 2; ++k) {
        if (std::fabs(a.low[k] - b.low[k]) > FACE_TOLERANCE || std::fabs(a.high[k] - b.high[k]) > FACE_TOLERANCE) {
            return false;
        }
    }
    return a.colour == b.colour;
}

// The face's triangles paired into whole rectangles: two halves of one
// rectangle and colour that leave out opposite corners. Empty when any
// triangle has no such partner.
std::vector<BlockFaces::Rectangle> rectanglesOf(const std::vector<BlockTriangle>& onFace,
                                                const std::array<int, 2>& axes)
{
    std::vector<RectangleHalf> halves(onFace.size());
    for (std::size_t i = 0; i < onFace.size(); ++i) {
        if (!halfOfRectangle(onFace[i], axes, halves[i])) {
            return {};
        }
    }
    std::vector<bool> paired(onFace.size(), false);
    std::vector<BlockFaces::Rectangle> rectangles;
    for (std::size_t i = 0; i < halves.size(); ++i) {
        for (std::size_t j = i + 1; j < halves.size() && !paired[i]; ++j) {
            if (!paired[j] && halves[i].missingCorner + halves[j].missingCorner == 3
                && sameRectangle(halves[i].rectangle, halves[j].rectangle)) {
                paired[i] = paired[j] = true;
                rectangles.push_back(halves[i].rectangle);
            }
        }
        if (!paired[i]) {
            return {};
        }
    }
    return rectangles;
}

} // namespace

BlockFaces::BlockFaces(const GraphicNode& mesh)
{
    flatten(mesh, Placement(), triangles);
    for (const BlockTriangle& triangle : triangles) {
        if (triangle.face == NO_FACE) {
            looseTriangles.push_back(triangle);
        } else {
            layouts[static_cast<std::size_t>(triangle.face)].triangles.push_back(triangle);
        }
    }
    for (int face = 0; face < FACE_COUNT; ++face) {
        Layout& layout = layouts[static_cast<std::size_t>(face)];
        const std::array<int, 2> axes = planeAxes(face);
        layout.rectangles = rectanglesOf(layout.triangles, axes);
        for (std::size_t k = 0; k < 2; ++k) {
            layout.stretches[k] = !layout.rectangles.empty();
            for (const Rectangle& rectangle : layout.rectangles) {
                layout.stretches[k] = layout.stretches[k] && rectangle.low[k] <= FACE_TOLERANCE
                                   && rectangle.high[k] >= 1.0 - FACE_TOLERANCE;
            }
        }
    }
}

std::array<int, 2> BlockFaces::planeAxes(int face)
{
    const int normalAxis = face / 2;
    return {normalAxis == 0 ? 1 : 0, normalAxis == 2 ? 1 : 2};
}

const BlockFaces::Layout& BlockFaces::getLayout(int face) const
{
    return layouts[static_cast<std::size_t>(face)];
}

const std::vector<BlockTriangle>& BlockFaces::getLooseTriangles() const
{
    return looseTriangles;
}

const std::vector<BlockTriangle>& BlockFaces::getTriangles() const
{
    return triangles;
}

void BlockFaces::appendVisible(const Vector& cell, const std::array<bool, FACE_COUNT>& solidNeighbour,
                               std::vector<BlockTriangle>& out) const
{
    for (const BlockTriangle& triangle : triangles) {
        if (triangle.face != NO_FACE && solidNeighbour[static_cast<std::size_t>(triangle.face)]) {
            continue;
        }
        BlockTriangle placed = triangle;
        for (Vector& corner : placed.corners) {
            corner = corner + cell;
        }
        out.push_back(placed);
    }
}
