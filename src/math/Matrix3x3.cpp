// SPDX-License-Identifier: GPL-3.0-or-later
// Rotation matrices for Vector::rotate: construction and the matrix-vector
// product.
#include "math/Matrix3x3.h"

Matrix3x3::Matrix3x3()
    : m{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}
{
}

Matrix3x3::Matrix3x3(const double values[][3])
{
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            m[row][column] = values[row][column];
        }
    }
}

Vector operator*(const Matrix3x3& m, const Vector& v)
{
    return Vector(m.m[0][0] * v.x + m.m[0][1] * v.y + m.m[0][2] * v.z,
                  m.m[1][0] * v.x + m.m[1][1] * v.y + m.m[1][2] * v.z,
                  m.m[2][0] * v.x + m.m[2][1] * v.y + m.m[2][2] * v.z);
}
