// SPDX-License-Identifier: GPL-3.0-or-later
// Primitive meshes and rigid-body maths for the asset generator.
#include "Geometry.h"

namespace assetgen {

namespace {

constexpr double PI = 3.14159265358979323846;

void addQuad(Mesh& mesh, int a, int b, int c, int d)
{
    mesh.faces.push_back({a, b, c});
    mesh.faces.push_back({a, c, d});
}

} // namespace

Quat Quat::axisAngle(Vec3 axis, double angle)
{
    double half = angle / 2;
    double s = std::sin(half);
    return {std::cos(half), axis.x * s, axis.y * s, axis.z * s};
}

Quat Quat::fromTo(Vec3 from, Vec3 to)
{
    Vec3 axis = cross(from, to);
    double sine = length(axis);
    double cosine = dot(from, to);
    if (sine < 1e-12) {
        if (cosine > 0) {
            return {};
        }
        // Opposite: half a turn about any axis across from.
        Vec3 across = std::abs(from.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
        Vec3 perpendicular = cross(from, across);
        return axisAngle(perpendicular * (1.0 / length(perpendicular)), PI);
    }
    return axisAngle(axis * (1.0 / sine), std::atan2(sine, cosine));
}

Quat operator*(const Quat& a, const Quat& b)
{
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
            a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Vec3 Quat::rotate(Vec3 v) const
{
    Vec3 u{x, y, z};
    Vec3 t = cross(u, v) * 2.0;
    return v + t * w + cross(u, t);
}

void Quat::toAxisAngle(Vec3& axis, double& angle) const
{
    Quat q = *this;
    if (q.w < 0) {
        q = {-q.w, -q.x, -q.y, -q.z};
    }
    double s = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    if (s < 1e-9) {
        axis = {0, 1, 0};
        angle = 0;
        return;
    }
    axis = {q.x / s, q.y / s, q.z / s};
    angle = 2 * std::atan2(s, q.w);
}

void Mesh::append(const Mesh& other)
{
    int offset = static_cast<int>(points.size());
    points.insert(points.end(), other.points.begin(), other.points.end());
    for (auto face : other.faces) {
        faces.push_back({face[0] + offset, face[1] + offset, face[2] + offset});
    }
}

Mesh Mesh::moved(Vec3 offset) const
{
    Mesh result = *this;
    for (Vec3& point : result.points) {
        point = point + offset;
    }
    return result;
}

Mesh Mesh::turned(const Quat& rotation) const
{
    Mesh result = *this;
    for (Vec3& point : result.points) {
        point = rotation.rotate(point);
    }
    return result;
}

Mesh Mesh::scaled(Vec3 factors) const
{
    Mesh result = *this;
    for (Vec3& point : result.points) {
        point = {point.x * factors.x, point.y * factors.y, point.z * factors.z};
    }
    return result;
}

Mesh box(Vec3 min, Vec3 max, bool bottom, bool top)
{
    Mesh mesh;
    // Corners: bit 0 x, bit 1 y, bit 2 z.
    for (int i = 0; i < 8; ++i) {
        mesh.points.push_back({(i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y,
                               (i & 4) ? max.z : min.z});
    }
    addQuad(mesh, 0, 4, 6, 2); // -x
    addQuad(mesh, 1, 3, 7, 5); // +x
    addQuad(mesh, 4, 5, 7, 6); // +z
    addQuad(mesh, 0, 2, 3, 1); // -z
    if (bottom) {
        addQuad(mesh, 0, 1, 5, 4); // -y
    }
    if (top) {
        addQuad(mesh, 2, 6, 7, 3); // +y
    }
    return mesh;
}

Mesh frustum(double r0, double r1, double y0, double y1, int sides, bool bottom, bool top)
{
    Mesh mesh;
    for (int i = 0; i < sides; ++i) {
        double a = 2 * PI * i / sides;
        mesh.points.push_back({r0 * std::sin(a), y0, r0 * std::cos(a)});
        mesh.points.push_back({r1 * std::sin(a), y1, r1 * std::cos(a)});
    }
    for (int i = 0; i < sides; ++i) {
        int j = (i + 1) % sides;
        addQuad(mesh, 2 * i, 2 * j, 2 * j + 1, 2 * i + 1);
    }
    if (bottom) {
        int centre = static_cast<int>(mesh.points.size());
        mesh.points.push_back({0, y0, 0});
        for (int i = 0; i < sides; ++i) {
            mesh.faces.push_back({centre, 2 * ((i + 1) % sides), 2 * i});
        }
    }
    if (top) {
        int centre = static_cast<int>(mesh.points.size());
        mesh.points.push_back({0, y1, 0});
        for (int i = 0; i < sides; ++i) {
            mesh.faces.push_back({centre, 2 * i + 1, 2 * ((i + 1) % sides) + 1});
        }
    }
    return mesh;
}

Mesh cone(double radius, double y0, Vec3 apex, int sides, bool base)
{
    Mesh mesh;
    for (int i = 0; i < sides; ++i) {
        double a = 2 * PI * i / sides;
        mesh.points.push_back({radius * std::sin(a), y0, radius * std::cos(a)});
    }
    int tip = static_cast<int>(mesh.points.size());
    mesh.points.push_back(apex);
    bool pointsUp = apex.y > y0;
    for (int i = 0; i < sides; ++i) {
        int j = (i + 1) % sides;
        if (pointsUp) {
            mesh.faces.push_back({i, j, tip});
        } else {
            mesh.faces.push_back({j, i, tip});
        }
    }
    if (base) {
        int centre = static_cast<int>(mesh.points.size());
        mesh.points.push_back({0, y0, 0});
        for (int i = 0; i < sides; ++i) {
            int j = (i + 1) % sides;
            if (pointsUp) {
                mesh.faces.push_back({centre, j, i});
            } else {
                mesh.faces.push_back({centre, i, j});
            }
        }
    }
    return mesh;
}

Mesh sphere(double radius, int rings, int sectors)
{
    return cowl(radius, rings, sectors, 0.0);
}

Mesh cowl(double radius, int rings, int sectors, double open)
{
    Mesh mesh;
    // Longitude runs around y starting just past the front (+z), so that a
    // cut-away front is one gap in the ring.
    const double from = open / 2;
    const double span = 2 * PI - open;
    const bool closed = open <= 0.0;
    const int columns = closed ? sectors : sectors + 1;
    mesh.points.push_back({0, radius, 0});  // north pole
    mesh.points.push_back({0, -radius, 0}); // south pole
    for (int ring = 1; ring < rings; ++ring) {
        double theta = PI * ring / rings;
        for (int sector = 0; sector < columns; ++sector) {
            double phi = from + span * sector / sectors;
            mesh.points.push_back({radius * std::sin(theta) * std::sin(phi),
                                   radius * std::cos(theta),
                                   radius * std::sin(theta) * std::cos(phi)});
        }
    }
    auto at = [columns](int ring, int sector) { return 2 + (ring - 1) * columns + sector; };
    for (int sector = 0; sector < sectors; ++sector) {
        int next = closed ? (sector + 1) % sectors : sector + 1;
        mesh.faces.push_back({0, at(1, sector), at(1, next)});
        mesh.faces.push_back({1, at(rings - 1, next), at(rings - 1, sector)});
        for (int ring = 1; ring + 1 < rings; ++ring) {
            addQuad(mesh, at(ring, sector), at(ring + 1, sector), at(ring + 1, next),
                    at(ring, next));
        }
    }
    return mesh;
}

Mesh gem(double radius, double halfHeight)
{
    Mesh mesh;
    mesh.points = {{radius, 0, 0}, {0, 0, radius}, {-radius, 0, 0}, {0, 0, -radius},
                   {0, halfHeight, 0}, {0, -halfHeight, 0}};
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        mesh.faces.push_back({j, i, 4});
        mesh.faces.push_back({i, j, 5});
    }
    return mesh;
}

} // namespace assetgen
