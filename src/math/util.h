// SPDX-License-Identifier: GPL-3.0-or-later
// Tolerant comparisons of doubles: every geometric comparison of the game goes
// through these, so that points computed along different paths still meet.
#pragma once

// Two values closer than this count as equal.
constexpr double KINDA_EPSILON = 0.001;

// b - eps < a < b + eps. False when either value is NaN.
bool kindaEquals(double a, double b);

// a < b - eps: lower by more than the tolerance.
bool kindaLower(double a, double b);

// a > b + eps: greater by more than the tolerance.
bool kindaGreater(double a, double b);
