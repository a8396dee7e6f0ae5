// SPDX-License-Identifier: GPL-3.0-or-later
// One part of a spell that broke apart in flight: where it flew and the spell
// it is on its own.
#pragma once

#include <list>
#include <memory>

#include "math/Vector.h"

class Projectile;

struct SpellFragment {
    // From the point where the spell broke apart to the part's impact; never
    // empty.
    std::list<Vector> path;
    // owned: the part's own spell, which made its blast and makes its
    // effect animation.
    std::unique_ptr<Projectile> projectile;
};
