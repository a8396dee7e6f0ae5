// SPDX-License-Identifier: GPL-3.0-or-later
// The view's record of one player's aim, for drawing and for the overlay.
#pragma once

#include "math/Vector.h"

struct ViewCannon {
    Vector position;    // cannon base, model coordinates
    double length = 0.0;
    double yaw = 0.0;   // degrees
    double pitch = 0.0; // degrees
    double power = 0.0; // 0 to 100
};
