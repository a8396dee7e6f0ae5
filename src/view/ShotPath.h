// SPDX-License-Identifier: GPL-3.0-or-later
// A shot's flight as the view shows it: a polyline flown at constant speed,
// whose points can be found by the share of the flight already flown.
#pragma once

#include <vector>

#include "math/Vector.h"

class ShotPath {
public:
    ShotPath() = default;
    explicit ShotPath(const std::vector<Vector>& points);

    bool empty() const;
    const std::vector<Vector>& getPoints() const;
    // Where the shot is at this share of its length (0 at the first point,
    // 1 at the last, clamped between).
    Vector pointAt(double progress) const;

private:
    std::vector<Vector> points;
    std::vector<double> lengths; // length of the path up to each point
};
