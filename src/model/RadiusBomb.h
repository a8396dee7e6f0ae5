// SPDX-License-Identifier: GPL-3.0-or-later
// The fireball: destroys the blocks within a radius of the impact and hurts
// players with a damage that falls off with distance.
#pragma once

#include "model/Projectile.h"

class RadiusBomb : public Projectile {
public:
    // radius: of the blast, in grid units.
    explicit RadiusBomb(double radius);

    void onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                  std::map<int, double>& damages) override;
    Animation* getAnimation(long length, TimeSystem& clock, Vector position) override;

    double getRadius() const;

private:
    // The damage of a blast at impact to every player it reaches.
    void hurtPlayers(const ArenaModel& model, const Vector& impact, std::map<int, double>& damages) const;
    // The cells within the blast.
    void markCells(const ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells) const;

    double radius;
};
