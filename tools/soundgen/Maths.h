// SPDX-License-Identifier: GPL-3.0-or-later
// The few functions the sound recipes need, made of + and * alone: the C
// library's sin, exp and log may differ in the last bit from one version to
// the next, and the files must come out the same wherever they are made.
#pragma once

#include <algorithm>
#include <cmath>

namespace soundgen {

constexpr int RATE = 22050; // frames per second
constexpr double PI = 3.14159265358979323846;
constexpr double LN2 = 0.69314718055994530942;

// Frames in a length of time.
inline int frames(double seconds)
{
    return static_cast<int>(seconds * RATE + 0.5);
}

// sin(2 pi turns), to within 1e-9: the angle folded into [-pi/2, pi/2], then
// the Taylor series to the 13th power.
inline double sine(double turns)
{
    double x = turns - std::floor(turns);
    if (x > 0.5) {
        x -= 1;
    }
    if (x > 0.25) {
        x = 0.5 - x;
    } else if (x < -0.25) {
        x = -0.5 - x;
    }
    const double a = 2 * PI * x;
    const double a2 = a * a;
    return a * (1 - a2 / 6 * (1 - a2 / 20 * (1 - a2 / 42 * (1 - a2 / 72 * (1 - a2 / 110 * (1 - a2 / 156))))));
}

inline double cosine(double turns)
{
    return sine(turns + 0.25);
}

// 2 to the power x: the fraction by its Taylor series, the whole part exactly.
inline double power2(double x)
{
    if (x < -1000) {
        return 0;
    }
    const double whole = std::floor(x);
    const double y = (x - whole) * LN2;
    double sum = 1;
    for (int n = 13; n >= 1; --n) {
        sum = 1 + y / n * sum;
    }
    return std::ldexp(sum, static_cast<int>(whole));
}

// log2 of a positive x: the mantissa near 1 through atanh's series.
inline double binaryLog(double x)
{
    int exponent = 0;
    double mantissa = std::frexp(x, &exponent);
    if (mantissa < 0.70710678118654752440) {
        mantissa *= 2;
        --exponent;
    }
    const double y = (mantissa - 1) / (mantissa + 1);
    const double y2 = y * y;
    double sum = 0;
    for (int n = 17; n >= 1; n -= 2) {
        sum = 1.0 / n + y2 * sum;
    }
    return exponent + 2 * y * sum / LN2;
}

// From `from` at x = 0 to `to` at x = 1 in equal ratios, as pitch and
// cut-off frequencies are heard.
inline double glide(double from, double to, double x)
{
    return from * power2(x * binaryLog(to / from));
}

// 1 at t = 0, halving every halfLife seconds.
inline double halving(double t, double halfLife)
{
    return power2(-t / halfLife);
}

// 0 below edge0, 1 above edge1, a smooth S between.
inline double sCurve(double edge0, double edge1, double x)
{
    const double u = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return u * u * (3 - 2 * u);
}

// A gentle saturation close to tanh, for warmth without hard corners.
inline double saturate(double x)
{
    const double u = std::clamp(x, -3.0, 3.0);
    return u * (27 + u * u) / (27 + 9 * u * u);
}

// A note's frequency from its distance in semitones to A4 (440 Hz).
inline double note(int semitones)
{
    return 440 * power2(semitones / 12.0);
}

} // namespace soundgen
