// SPDX-License-Identifier: GPL-3.0-or-later
// Small geometry for the asset generator: vectors, quaternions, rigid poses and
// triangle meshes built from a few primitives (boxes, frusta, cones, spheres).
#pragma once

#include <array>
#include <cmath>
#include <vector>

namespace assetgen {

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }

// A rotation as a unit quaternion.
struct Quat {
    double w = 1;
    double x = 0;
    double y = 0;
    double z = 0;

    // angle in radians about a unit axis.
    static Quat axisAngle(Vec3 axis, double angle);
    static Quat aboutX(double angle) { return axisAngle({1, 0, 0}, angle); }
    static Quat aboutY(double angle) { return axisAngle({0, 1, 0}, angle); }
    static Quat aboutZ(double angle) { return axisAngle({0, 0, 1}, angle); }

    // The shortest turn that takes the unit vector from onto the unit vector to.
    static Quat fromTo(Vec3 from, Vec3 to);

    Vec3 rotate(Vec3 v) const;
    // Unit axis and angle in radians, the angle in [0, pi]; the identity
    // comes out as (0, 1, 0) and 0.
    void toAxisAngle(Vec3& axis, double& angle) const;
};

// a then b applied to a vector is (a * b).rotate(v) = a.rotate(b.rotate(v)).
Quat operator*(const Quat& a, const Quat& b);

// Translation and rotation of a part relative to its parent.
struct Pose {
    Vec3 translation;
    Quat rotation;

    Vec3 apply(Vec3 v) const { return rotation.rotate(v) + translation; }
    // This pose followed by a child pose inside it.
    Pose then(const Pose& child) const
    {
        return {apply(child.translation), rotation * child.rotation};
    }
};

struct Mesh {
    std::vector<Vec3> points;
    std::vector<std::array<int, 3>> faces; // counter-clockwise seen from outside

    void append(const Mesh& other);
    // Moves every point.
    Mesh moved(Vec3 offset) const;
    Mesh turned(const Quat& rotation) const;
    Mesh scaled(Vec3 factors) const;
};

// An axis-aligned box; open faces can be left out to save hidden triangles.
Mesh box(Vec3 min, Vec3 max, bool bottom = true, bool top = true);
// A frustum about the y axis from y0 (radius r0) to y1 (radius r1).
Mesh frustum(double r0, double r1, double y0, double y1, int sides, bool bottom = true,
             bool top = true);
// A cone from a base circle at y0 to an apex, which may lean.
Mesh cone(double radius, double y0, Vec3 apex, int sides, bool base = true);
// A sphere of rings x sectors quads (poles as fans).
Mesh sphere(double radius, int rings, int sectors);
// A sphere with a wedge cut away around +Z, from -open/2 to +open/2 radians:
// a hood around a face.
Mesh cowl(double radius, int rings, int sectors, double open);
// An octahedron stretched along y: a gem.
Mesh gem(double radius, double halfHeight);

} // namespace assetgen
