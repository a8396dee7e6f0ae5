// SPDX-License-Identifier: GPL-3.0-or-later
// Where the camera stands and what it looks at, in the scene's frame (the
// model's z mirrored).
#pragma once

#include "math/Vector.h"

struct CameraPose {
    Vector eye;
    Vector target;
};
