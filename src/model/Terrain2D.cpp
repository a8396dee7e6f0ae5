// SPDX-License-Identifier: GPL-3.0-or-later
// Midpoint-displacement profiles for the battlefield's ridges and valleys.
#include "model/Terrain2D.h"

#include <cmath>

#include "game/RandomStream.h"

namespace {

constexpr double PROFILE_ROUGHNESS = 0.5;
// Profiles stay strictly below 1 so a column never reaches the grid's top
// layers.
constexpr double PROFILE_CEILING = 0.9999;

} // namespace

Terrain2D::Terrain2D(int n, RandomStream& random)
    : length(static_cast<int>(std::pow(2.0, n) + 1.0)), values(new double[length]), random(&random)
{
    generateTerrain(values, length, false, PROFILE_ROUGHNESS);
}

Terrain2D::~Terrain2D()
{
    delete[] values;
}

int Terrain2D::getLength() const
{
    return length;
}

double Terrain2D::getY(double x) const
{
    int i = static_cast<int>(x);
    int j = i + 1;
    if (j > length - 1) {
        j = length - 1;
    }
    return values[i] + (x - i) * (values[j] - values[i]);
}

void Terrain2D::generateTerrain(double* points, int n, bool fixedEnds, double roughness)
{
    if (n <= 1) {
        return;
    }
    if (!fixedEnds) {
        points[0] = random->next();
        points[n - 1] = random->next();
    }
    if (n <= 2) {
        return;
    }
    int mid = (n - 1) / 2;
    points[mid] = (points[0] + points[n - 1]) / 2.0 + random->next() * roughness - roughness / 2.0;
    if (points[mid] >= 1.0) {
        points[mid] = PROFILE_CEILING;
    }
    generateTerrain(points, mid + 1, true, roughness);
    generateTerrain(points + mid, n - mid, true, roughness);
}
