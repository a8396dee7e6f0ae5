// SPDX-License-Identifier: GPL-3.0-or-later
// The meteor: flies like the others to the top of its arc, where it splits
// into three fireballs that keep its velocity there, the outer two turned
// 15 degrees one way and the other about the vertical. Each fragment falls
// under gravity and wind and blasts with two thirds of the fireball's radius
// where it lands; the damages of the three blasts add up. A meteor that hits
// something before the top of its arc blasts there once, as a fireball.
//
// For the view: the shot's reported path ends at the split point (or at the
// early impact); during onProjectile getFragments() holds the three fragments
// in the order turned +15 degrees, straight on, turned -15 degrees, each with
// its path from the split point to its impact and its own RadiusBomb, whose
// getAnimation makes its blast. setEffects on the meteor reaches them too.
#pragma once

#include "model/Projectile.h"

class Meteor : public Projectile {
public:
    // radiusBombSize: the fireball's radius, in grid units.
    explicit Meteor(double radiusBombSize);

    std::list<Vector> fly(const ArenaModel& model, const Vector& start, const Vector& velocity,
                          const Vector& acceleration) override;
    const std::vector<SpellFragment>& getFragments() const override;
    void setEffects(const SpellEffects* makers) override;

    // The fragments' blasts, or the early strike's blast when it did not split.
    void onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                  std::map<int, double>& damages) override;
    // A small burst where it split, or the early strike's blast.
    Animation* getAnimation(long length, TimeSystem& clock, Vector position) override;

    // Whether the last flight reached the top of its arc and split there.
    bool hasSplit() const;
    double getRadius() const;

private:
    double radius;
    std::vector<SpellFragment> fragments; // empty unless split
};
