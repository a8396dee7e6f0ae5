// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield as the automatic camera sees it: the extent of the grid and
// which of its cells hold a block, asked at points of the scene (the model's
// frame with z mirrored). The view hands it a test of the model's cells; it
// knows no GL.
#pragma once

#include <functional>

#include "math/Vector.h"
#include "view/CameraPose.h"

class CameraGround {
public:
    // Whether the model's cell (x, y, z) holds a block; asked only inside the
    // grid.
    using CellTest = std::function<bool(int x, int y, int z)>;

    // No battlefield: every point is air.
    CameraGround() = default;
    // A grid of these extents, in cells.
    CameraGround(int width, int depth, int height, CellTest solid);

    // Inside a block, or under the battlefield's floor.
    bool isSolid(const Vector& point) const;
    // In air, and at least room (cells) from any block along each axis.
    bool isClear(const Vector& point, double room) const;
    // The lowest point straight above point, or point itself, that is clear
    // by room; above the grid every point is.
    Vector riseAbove(const Vector& point, double room) const;
    // The middle of the battlefield's floor, and the height of its top.
    Vector getCentre() const;
    double getTop() const;

    // The share of a picture taken from pose in which the battlefield shows,
    // by rays through a grid of the picture; fieldOfView in degrees, high.
    double pictureShare(const CameraPose& pose, double fieldOfView, double aspect) const;

private:
    // Whether the ray from point along the unit direction meets a block.
    bool meets(const Vector& point, const Vector& direction) const;

    int width = 0;
    int depth = 0;
    int height = 0;
    CellTest solid;
};
