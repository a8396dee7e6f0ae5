// SPDX-License-Identifier: GPL-3.0-or-later
// A number that rises and fades above a hurt caster: the hit points lost, and
// "KO" for a death.
#pragma once

#include <string>

#include "math/Vector.h"

struct DamageNumber {
    Vector position; // where it starts, above the caster's head, model coordinates
    std::string text;
    long start = 0;  // ticks of the view clock: when the hurt is shown
};
