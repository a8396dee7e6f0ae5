// SPDX-License-Identifier: GPL-3.0-or-later
// A 3 x 3 matrix of doubles, row-major; it exists to rotate a Vector about a
// coordinate axis.
#pragma once

#include "math/Vector.h"

class Matrix3x3 {
public:
    // The identity.
    Matrix3x3();
    // Copies a 3 x 3 table row by row.
    explicit Matrix3x3(const double values[][3]);

    double m[3][3]; // [row][column]
};

// The product m . v.
Vector operator*(const Matrix3x3& m, const Vector& v);
