// SPDX-License-Identifier: GPL-3.0-or-later
// The game's art, as code: the two blocks, the arrow, the fireball, the
// meteor, and the wizard and the sorcerer with their idle, cast, hurt and
// death animations.
#pragma once

#include <vector>

#include "Model.h"

namespace assetgen {

struct Character {
    Model model;
    Animation idle;
    Animation cast;
    Animation hurt;
    Animation death;
};

Model grassBlock();
Model dirtBlock();
Model arrow();
Model fireball();
Model meteor();
Character wizard();
Character sorcerer();

} // namespace assetgen
