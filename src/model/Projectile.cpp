// SPDX-License-Identifier: GPL-3.0-or-later
// What every spell does unless it says otherwise: it flies the model's
// ballistic path whole and never breaks apart.
#include "model/Projectile.h"

#include "model/ArenaModel.h"

std::list<Vector> Projectile::fly(const ArenaModel& model, const Vector& start, const Vector& velocity,
                                  const Vector& acceleration)
{
    return model.createTrajectory(start, velocity, acceleration);
}

const std::vector<SpellFragment>& Projectile::getFragments() const
{
    // Never destroyed, as a search on another thread may ask for it at exit.
    static const std::vector<SpellFragment>& none = *new const std::vector<SpellFragment>();
    return none;
}
