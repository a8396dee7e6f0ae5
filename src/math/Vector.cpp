// SPDX-License-Identifier: GPL-3.0-or-later
// Vector arithmetic, the tolerant ordering used by the model's point sets, and
// the axis rotations that turn cannon angles into directions.
#include "math/Vector.h"

#include <cmath>
#include <cstdint>
#include <ostream>

#include "math/Matrix3x3.h"
#include "math/util.h"

namespace {

// Degrees to radians as the game has always converted them: every cannon
// direction and trajectory depends on this exact constant.
constexpr double DEGREES_TO_RADIANS = 3.1416 / 180.0;

// Truncation towards zero to a 32-bit int. Values beyond the int range
// saturate and NaN gives 0 instead of undefined behaviour.
double truncateToInt32(double value)
{
    if (std::isnan(value)) {
        return 0.0;
    }
    if (value >= 2147483647.0) {
        return 2147483647.0;
    }
    if (value <= -2147483648.0) {
        return -2147483648.0;
    }
    return static_cast<std::int32_t>(value);
}

// Only a flag of exactly 1.0 selects an axis.
bool axisSelected(double flag)
{
    return flag == 1.0;
}

} // namespace

Vector Vector::operator-() const
{
    return Vector(-x, -y, -z);
}

bool Vector::operator==(const Vector& other) const
{
    return kindaEquals(x, other.x) && kindaEquals(y, other.y) && kindaEquals(z, other.z);
}

bool Vector::operator!=(const Vector& other) const
{
    return !(*this == other);
}

bool Vector::operator<(const Vector& other) const
{
    if (kindaLower(x, other.x)) {
        return true;
    }
    if (kindaGreater(x, other.x)) {
        return false;
    }
    if (kindaLower(y, other.y)) {
        return true;
    }
    if (kindaGreater(y, other.y)) {
        return false;
    }
    return kindaLower(z, other.z);
}

bool Vector::operator>(const Vector& other) const
{
    if (kindaGreater(x, other.x)) {
        return true;
    }
    if (kindaLower(x, other.x)) {
        return false;
    }
    if (kindaGreater(y, other.y)) {
        return true;
    }
    if (kindaLower(y, other.y)) {
        return false;
    }
    return kindaGreater(z, other.z);
}

double Vector::getLength() const
{
    return std::sqrt(x * x + y * y + z * z);
}

Vector Vector::getNormalizedCopy() const
{
    double length = getLength();
    return Vector(x / length, y / length, z / length);
}

Vector Vector::toInt() const
{
    return Vector(truncateToInt32(x), truncateToInt32(y), truncateToInt32(z));
}

void Vector::rotate(double angle, double xFlag, double yFlag, double zFlag)
{
    double radians = angle * DEGREES_TO_RADIANS;
    double c = std::cos(radians);
    double s = std::sin(radians);
    if (axisSelected(xFlag)) {
        double rx[3][3] = {{1.0, 0.0, 0.0}, {0.0, c, -s}, {0.0, s, c}};
        *this = Matrix3x3(rx) * *this;
    }
    if (axisSelected(yFlag)) {
        double ry[3][3] = {{c, 0.0, s}, {0.0, 1.0, 0.0}, {-s, 0.0, c}};
        *this = Matrix3x3(ry) * *this;
    }
    if (axisSelected(zFlag)) {
        double rz[3][3] = {{c, -s, 0.0}, {s, c, 0.0}, {0.0, 0.0, 1.0}};
        *this = Matrix3x3(rz) * *this;
    }
}

double Vector::dot(const Vector& other) const
{
    return x * other.x + y * other.y + z * other.z;
}

void Vector::add(const Vector& other)
{
    x += other.x;
    y += other.y;
    z += other.z;
}

void Vector::sub(const Vector& other)
{
    x -= other.x;
    y -= other.y;
    z -= other.z;
}

void Vector::add(float dx, float dy, float dz)
{
    x += dx;
    y += dy;
    z += dz;
}

void Vector::multiply(float factor)
{
    x *= factor;
    y *= factor;
    z *= factor;
}

void Vector::divide(float divisor)
{
    x /= divisor;
    y /= divisor;
    z /= divisor;
}

void Vector::setValue(float newX, float newY, float newZ)
{
    x = newX;
    y = newY;
    z = newZ;
}

void Vector::makeUnitVector()
{
    float norme = getNorme();
    x /= norme;
    y /= norme;
    z /= norme;
}

float Vector::getNorme() const
{
    return static_cast<float>(getLength());
}

float Vector::getX() const
{
    return static_cast<float>(x);
}

float Vector::getY() const
{
    return static_cast<float>(y);
}

float Vector::getZ() const
{
    return static_cast<float>(z);
}

void Vector::setX(float value)
{
    x = value;
}

void Vector::setY(float value)
{
    y = value;
}

void Vector::setZ(float value)
{
    z = value;
}

Vector operator+(const Vector& a, const Vector& b)
{
    return Vector(a.x + b.x, a.y + b.y, a.z + b.z);
}

Vector operator-(const Vector& a, const Vector& b)
{
    return a + (-b);
}

Vector operator*(const Vector& v, double s)
{
    return Vector(v.x * s, v.y * s, v.z * s);
}

Vector operator*(double s, const Vector& v)
{
    return v * s;
}

Vector operator*(const Vector& a, const Vector& b)
{
    return Vector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

std::ostream& operator<<(std::ostream& out, const Vector& v)
{
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
