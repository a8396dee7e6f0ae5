// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ShotPath.h"

#include <algorithm>

ShotPath::ShotPath(const std::vector<Vector>& shotPoints) : points(shotPoints), lengths(shotPoints.size(), 0.0)
{
    for (std::size_t i = 1; i < points.size(); ++i) {
        lengths[i] = lengths[i - 1] + (points[i] - points[i - 1]).getLength();
    }
}

bool ShotPath::empty() const
{
    return points.empty();
}

const std::vector<Vector>& ShotPath::getPoints() const
{
    return points;
}

Vector ShotPath::pointAt(double progress) const
{
    if (points.empty()) {
        return Vector();
    }
    if (points.size() < 2 || lengths.back() <= 0.0) {
        return points.front();
    }
    const double along = std::clamp(progress, 0.0, 1.0) * lengths.back();
    std::size_t segment = 1;
    while (segment + 1 < points.size() && lengths[segment] < along) {
        ++segment;
    }
    const double length = lengths[segment] - lengths[segment - 1];
    const double share = length > 0.0 ? std::clamp((along - lengths[segment - 1]) / length, 0.0, 1.0) : 0.0;
    return points[segment - 1] + (points[segment] - points[segment - 1]) * share;
}
