// SPDX-License-Identifier: GPL-3.0-or-later
// Tolerant comparisons of doubles, shared by the vector ordering and the model's
// geometric tests.
#include "math/util.h"

bool kindaEquals(double a, double b)
{
    return b - KINDA_EPSILON < a && a < b + KINDA_EPSILON;
}

bool kindaLower(double a, double b)
{
    return a < b - KINDA_EPSILON;
}

bool kindaGreater(double a, double b)
{
    return a > b + KINDA_EPSILON;
}
