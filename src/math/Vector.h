// SPDX-License-Identifier: GPL-3.0-or-later
// The one geometric value of the game: a point, a direction, a grid cell, a
// scale or a colour. Ordered with a tolerance so it can key std::set and std::map.
#pragma once

#include <iosfwd>

class Vector {
public:
    // constexpr, so that constant vectors at namespace scope are ready before
    // any constructor that runs ahead of main reads them.
    constexpr Vector()
        : x(0.0), y(0.0), z(0.0)
    {
    }
    constexpr Vector(double x, double y, double z)
        : x(x), y(y), z(z)
    {
    }

    Vector operator-() const;

    // Component-wise kindaEquals.
    bool operator==(const Vector& other) const;
    bool operator!=(const Vector& other) const;
    // Lexicographic on x, y, z; components within the tolerance count as equal,
    // so nearly equal points are one key of an ordered container.
    bool operator<(const Vector& other) const;
    bool operator>(const Vector& other) const;

    double getLength() const;
    // No guard against a zero length: the caller knows its vector is not null.
    Vector getNormalizedCopy() const;
    // Drops the fraction of each component (truncation towards zero), as a
    // conversion to a 32-bit int does; values beyond that range saturate.
    Vector toInt() const;

    // Rotates in place by angle degrees about the axes whose flag is exactly
    // 1.0, in the order X, Y, Z. The flags are not an axis vector.
    void rotate(double angle, double x, double y, double z);

    double dot(const Vector& other) const;

    void add(const Vector& other);
    void sub(const Vector& other);
    void add(float dx, float dy, float dz);
    void multiply(float factor);
    void divide(float divisor);
    void setValue(float x, float y, float z);
    void makeUnitVector();

    // The length rounded to single precision.
    float getNorme() const;

    float getX() const;
    float getY() const;
    float getZ() const;
    void setX(float x);
    void setY(float y);
    void setZ(float z);

    double x;
    double y;
    double z;
};

Vector operator+(const Vector& a, const Vector& b);
Vector operator-(const Vector& a, const Vector& b);
Vector operator*(const Vector& v, double s);
Vector operator*(double s, const Vector& v);
// Cross product a x b.
Vector operator*(const Vector& a, const Vector& b);

// Writes "(x, y, z)" with the stream's current number formatting.
std::ostream& operator<<(std::ostream& out, const Vector& v);
