// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "math/Matrix3x3.h"
#include "math/Vector.h"

namespace {

void expectNear(const Vector& actual, const Vector& expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

std::string text(const Vector& v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

} // namespace

TEST(VectorOrder, EqualXAndYLetZDecide)
{
    EXPECT_TRUE(Vector(1, 2, 3) < Vector(1.0005, 2, 3.5));
    EXPECT_FALSE(Vector(1.0005, 2, 3.5) < Vector(1, 2, 3));
    EXPECT_TRUE(Vector(1.0005, 2, 3.5) > Vector(1, 2, 3));
}

TEST(VectorOrder, NearlyEqualVectorsAreEquivalent)
{
    Vector a(1, 2, 3);
    Vector b(1.0004, 1.9996, 3.0002);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_FALSE(a > b);
    EXPECT_FALSE(b > a);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
}

TEST(VectorOrder, EarlierComponentWinsOverLaterOnes)
{
    EXPECT_TRUE(Vector(0, 9, 9) < Vector(1, 0, 0));
    EXPECT_FALSE(Vector(1, 0, 0) < Vector(0, 9, 9));
    EXPECT_TRUE(Vector(5, 1, 9) < Vector(5, 2, 0));
    EXPECT_TRUE(Vector(5, 2, 0) > Vector(5, 1, 9));
    EXPECT_FALSE(Vector(5, 1, 9) > Vector(5, 2, 0));
}

TEST(VectorOrder, AnOrderedSetKeepsOneOfNearlyEqualPoints)
{
    std::set<Vector> cells;
    cells.insert(Vector(3, 4, 5));
    cells.insert(Vector(3.0003, 4, 5));
    cells.insert(Vector(3, 4.0009, 4.9992));
    cells.insert(Vector(3, 4, 6));
    EXPECT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells.count(Vector(2.9995, 4, 5)), 1u);

    std::map<Vector, int> hits;
    ++hits[Vector(1, 1, 1)];
    ++hits[Vector(1.0001, 0.9999, 1)];
    EXPECT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits.begin()->second, 2);
}

TEST(VectorArithmetic, OperatorsWorkComponentWise)
{
    Vector a(1, 2, 3);
    Vector b(-4, 0.5, 2);
    expectNear(a + b, Vector(-3, 2.5, 5));
    expectNear(a - b, Vector(5, 1.5, 1));
    expectNear(-a, Vector(-1, -2, -3));
    expectNear(a * 2.0, Vector(2, 4, 6));
    expectNear(0.5 * a, Vector(0.5, 1, 1.5));
    EXPECT_DOUBLE_EQ(a.dot(b), -4 + 1 + 6);
}

TEST(VectorArithmetic, CrossProductFollowsTheRightHand)
{
    expectNear(Vector(1, 0, 0) * Vector(0, 1, 0), Vector(0, 0, 1));
    expectNear(Vector(0, 1, 0) * Vector(1, 0, 0), Vector(0, 0, -1));
    expectNear(Vector(1, 2, 3) * Vector(4, 5, 6), Vector(-3, 6, -3));
}

TEST(VectorArithmetic, InPlaceOperationsChangeTheVector)
{
    Vector v(1, 2, 3);
    v.add(Vector(1, 1, 1));
    expectNear(v, Vector(2, 3, 4));
    v.sub(Vector(2, 2, 2));
    expectNear(v, Vector(0, 1, 2));
    v.add(1.0f, -1.0f, 0.5f);
    expectNear(v, Vector(1, 0, 2.5));
    v.multiply(2.0f);
    expectNear(v, Vector(2, 0, 5));
    v.divide(4.0f);
    expectNear(v, Vector(0.5, 0, 1.25));
    v.setValue(7.0f, 8.0f, 9.0f);
    expectNear(v, Vector(7, 8, 9));
    v.setX(1.5f);
    v.setY(-2.5f);
    v.setZ(0.25f);
    expectNear(v, Vector(1.5, -2.5, 0.25));
    EXPECT_FLOAT_EQ(v.getX(), 1.5f);
    EXPECT_FLOAT_EQ(v.getY(), -2.5f);
    EXPECT_FLOAT_EQ(v.getZ(), 0.25f);
}

TEST(VectorArithmetic, LengthAndNormalisation)
{
    Vector v(3, 4, 12);
    EXPECT_DOUBLE_EQ(v.getLength(), 13.0);
    EXPECT_FLOAT_EQ(v.getNorme(), 13.0f);
    expectNear(v.getNormalizedCopy(), Vector(3.0 / 13, 4.0 / 13, 12.0 / 13));
    expectNear(v, Vector(3, 4, 12));
    v.makeUnitVector();
    EXPECT_NEAR(v.getLength(), 1.0, 1e-6);
}

TEST(VectorArithmetic, FloatAccessorsRoundButStorageStaysDouble)
{
    Vector v(0.1, 1.0 / 3.0, 2.0);
    EXPECT_EQ(v.getY(), static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(v.y, 1.0 / 3.0);
}

TEST(VectorToInt, TruncatesTowardsZero)
{
    expectNear(Vector(-0.5, 0.5, 14.999).toInt(), Vector(0, 0, 14));
    expectNear(Vector(2.7, -2.7, -14.0).toInt(), Vector(2, -2, -14));
}

TEST(VectorToInt, OutOfRangeValuesSaturateInsteadOfOverflowing)
{
    Vector huge(1e12, -1e12, std::numeric_limits<double>::quiet_NaN());
    Vector cell = huge.toInt();
    EXPECT_EQ(cell.x, 2147483647.0);
    EXPECT_EQ(cell.y, -2147483648.0);
    EXPECT_EQ(cell.z, 0.0);
}

TEST(VectorRotate, QuarterTurnAboutZUsesTheGamesDegreeConversion)
{
    Vector v(1, 0, 0);
    v.rotate(90, 0, 0, 1);
    // 3.1416 is a little more than pi: the turn overshoots by a few millionths.
    EXPECT_NEAR(v.x, -3.67e-6, 0.01e-6);
    EXPECT_NEAR(v.y, 1.0, 1e-9);
    EXPECT_EQ(v.z, 0.0);
    EXPECT_NEAR(v.x, std::cos(90 * 3.1416 / 180.0), 1e-15);
}

TEST(VectorRotate, OnlyFlagsOfExactlyOneCount)
{
    Vector v(1, 2, 3);
    v.rotate(90, 0.5, 0, 0);
    expectNear(v, Vector(1, 2, 3), 0);
    v.rotate(90, 0, 0, 0);
    expectNear(v, Vector(1, 2, 3), 0);
    v.rotate(90, 2.0, -1.0, 0.999999);
    expectNear(v, Vector(1, 2, 3), 0);
}

TEST(VectorRotate, EachAxisTurnsCounterClockwise)
{
    Vector aboutX(0, 1, 0);
    aboutX.rotate(90, 1, 0, 0);
    expectNear(aboutX, Vector(0, 0, 1), 1e-5);

    Vector aboutY(0, 0, 1);
    aboutY.rotate(90, 0, 1, 0);
    expectNear(aboutY, Vector(1, 0, 0), 1e-5);

    Vector aboutZ(1, 0, 0);
    aboutZ.rotate(90, 0, 0, 1);
    expectNear(aboutZ, Vector(0, 1, 0), 1e-5);
}

TEST(VectorRotate, SeveralFlagsRotateXThenYThenZ)
{
    Vector v(0, 1, 0);
    v.rotate(90, 1, 1, 1);
    // X: (0,1,0) -> (0,0,1); Y: -> (1,0,0); Z: -> (0,1,0).
    expectNear(v, Vector(0, 1, 0), 1e-5);

    Vector w(1, 0, 0);
    w.rotate(90, 1, 1, 0);
    // X leaves it; Y: (1,0,0) -> (0,0,-1).
    expectNear(w, Vector(0, 0, -1), 1e-5);
}

TEST(VectorRotate, KeepsTheLength)
{
    Vector v(3, -4, 5);
    double length = v.getLength();
    v.rotate(37.5, 1, 1, 1);
    EXPECT_NEAR(v.getLength(), length, 1e-12);
}

TEST(VectorOutput, WritesParenthesisedComponents)
{
    EXPECT_EQ(text(Vector(0.5, -1, 2)), "(0.5, -1, 2)");
    EXPECT_EQ(text(Vector()), "(0, 0, 0)");
}

TEST(VectorOutput, UsesTheStreamsFormatting)
{
    std::ostringstream out;
    out.precision(3);
    out << std::fixed << Vector(1, 2.5, 0);
    EXPECT_EQ(out.str(), "(1.000, 2.500, 0.000)");
}

TEST(Matrix3x3, DefaultIsTheIdentity)
{
    Matrix3x3 identity;
    expectNear(identity * Vector(1.5, -2, 7), Vector(1.5, -2, 7), 0);
}

TEST(Matrix3x3, MultipliesRowByRow)
{
    double values[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    Matrix3x3 m(values);
    values[0][0] = 100; // copied, not referenced
    expectNear(m * Vector(1, 0, -1), Vector(-2, -2, -2));
    expectNear(m * Vector(0, 1, 0), Vector(2, 5, 8));
}
