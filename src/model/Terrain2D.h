// SPDX-License-Identifier: GPL-3.0-or-later
// A one-dimensional random height profile by midpoint displacement. The model
// crosses two of them, one along x and one along z, to raise its landscape.
#pragma once

class RandomStream;

class Terrain2D {
public:
    // 2^n + 1 points, generated at once from random, which generateTerrain
    // draws from too: it must outlive the profile.
    Terrain2D(int n, RandomStream& random);
    ~Terrain2D();
    Terrain2D(const Terrain2D&) = delete;
    Terrain2D& operator=(const Terrain2D&) = delete;

    int getLength() const;
    // Linear interpolation between neighbouring points; the caller keeps
    // 0 <= x < getLength().
    double getY(double x) const;

    // Fills the n points from values: random ends unless fixedEnds, then the
    // midpoint displaced by up to +-roughness/2 and the two halves in turn.
    // The roughness stays the same at every level. Values stay below 1.
    void generateTerrain(double* values, int n, bool fixedEnds, double roughness);

private:
    int length;
    double* values; // owned: length points, deleted in the destructor
    RandomStream* random; // not owned
};
