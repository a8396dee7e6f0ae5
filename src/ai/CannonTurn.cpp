// SPDX-License-Identifier: GPL-3.0-or-later
#include "ai/CannonTurn.h"

#include <cmath>

namespace CannonTurn {

double ease(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

double nearestTurn(double from, double target)
{
    double turn = std::fmod(target - from, 360.0);
    if (turn > 180.0) {
        turn -= 360.0;
    } else if (turn < -180.0) {
        turn += 360.0;
    }
    return from + turn;
}

} // namespace CannonTurn
