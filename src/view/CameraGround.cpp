// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic camera's view of the battlefield: where the blocks are, where
// the eye may stand, and how much of a picture the battlefield fills.
#include "view/CameraGround.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The rays a picture share is estimated from, across and down.
constexpr int RAYS_ACROSS = 20;
constexpr int RAYS_DOWN = 15;
// Cells between two looks along a ray: small enough not to step over a
// block's corner that would show as more than a few pixels.
constexpr double RAY_STEP = 0.4;
constexpr double RISE_STEP = 0.25;

} // namespace

CameraGround::CameraGround(int width, int depth, int height, CellTest solid)
    : width(width), depth(depth), height(height), solid(std::move(solid))
{
}

bool CameraGround::isSolid(const Vector& point) const
{
    if (!solid) {
        return false;
    }
    // The scene mirrors the model's z: cell z spans scene z from -z - 1 to -z.
    const int x = static_cast<int>(std::floor(point.x));
    const int y = static_cast<int>(std::floor(point.y));
    const int z = static_cast<int>(std::floor(-point.z));
    if (x < 0 || x >= width || z < 0 || z >= depth || y >= height) {
        return false;
    }
    return y < 0 || solid(x, y, z);
}

bool CameraGround::isClear(const Vector& point, double room) const
{
    const Vector steps[] = {{0, 0, 0},     {room, 0, 0}, {-room, 0, 0}, {0, room, 0},
                            {0, -room, 0}, {0, 0, room}, {0, 0, -room}};
    return std::none_of(std::begin(steps), std::end(steps),
                        [&](const Vector& step) { return isSolid(point + step); });
}

Vector CameraGround::riseAbove(const Vector& point, double room) const
{
    Vector raised = point;
    while (raised.y < height + room && !isClear(raised, room)) {
        raised.y += RISE_STEP;
    }
    return raised;
}

Vector CameraGround::getCentre() const
{
    return Vector(width / 2.0, 0.0, -depth / 2.0);
}

double CameraGround::getTop() const
{
    return height;
}

double CameraGround::pictureShare(const CameraPose& pose, double fieldOfView, double aspect) const
{
    const Vector view = pose.target - pose.eye;
    if (view.getLength() <= 0.0) {
        return 0.0;
    }
    const Vector forward = view.getNormalizedCopy();
    Vector right = forward * Vector(0, 1, 0);
    if (right.getLength() <= 0.0) {
        right = Vector(1, 0, 0);
    }
    right = right.getNormalizedCopy();
    const Vector up = right * forward;
    const double halfHeight = std::tan(fieldOfView * M_PI / 360.0);
    int met = 0;
    for (int row = 0; row < RAYS_DOWN; ++row) {
        const double down = (1.0 - 2.0 * (row + 0.5) / RAYS_DOWN) * halfHeight;
        for (int column = 0; column < RAYS_ACROSS; ++column) {
            const double across = (2.0 * (column + 0.5) / RAYS_ACROSS - 1.0) * halfHeight * aspect;
            const Vector ray = (forward + right * across + up * down).getNormalizedCopy();
            met += meets(pose.eye, ray) ? 1 : 0;
        }
    }
    return static_cast<double>(met) / (RAYS_ACROSS * RAYS_DOWN);
}

bool CameraGround::meets(const Vector& point, const Vector& direction) const
{
    // Where the ray is inside the grid's box, scene x 0 to width, y 0 to
    // height, z -depth to 0.
    double enter = 0.0;
    double leave = 1e9;
    const double from[] = {point.x, point.y, point.z};
    const double along[] = {direction.x, direction.y, direction.z};
    const double low[] = {0.0, 0.0, -static_cast<double>(depth)};
    const double high[] = {static_cast<double>(width), static_cast<double>(height), 0.0};
    for (int axis = 0; axis < 3; ++axis) {
        if (std::abs(along[axis]) < 1e-12) {
            if (from[axis] < low[axis] || from[axis] > high[axis]) {
                return false;
            }
            continue;
        }
        double near = (low[axis] - from[axis]) / along[axis];
        double far = (high[axis] - from[axis]) / along[axis];
        if (near > far) {
            std::swap(near, far);
        }
        enter = std::max(enter, near);
        leave = std::min(leave, far);
    }
    for (double t = enter; t <= leave; t += RAY_STEP) {
        if (isSolid(point + direction * t)) {
            return true;
        }
    }
    return false;
}
