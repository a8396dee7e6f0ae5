// Where the camera stands and what it looks at, in the scene's frame (the
// model's z mirrored).
#pragma once

#include "math/Vector.h"

struct CameraPose {
    Vector eye;
    Vector target;
};
