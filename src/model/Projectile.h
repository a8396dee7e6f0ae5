// SPDX-License-Identifier: GPL-3.0-or-later
// A spell: decides what a shot does where it lands, and makes the effect
// animation the view plays there. One object lives for one shot.
#pragma once

#include <list>
#include <map>
#include <set>
#include <vector>

#include "math/Vector.h"
#include "model/SpellFragment.h"

class Animation;
class ArenaModel;
class SpellEffects;
class TimeSystem;

class Projectile {
public:
    virtual ~Projectile() = default;

    // The path of the shot from start with the given velocity and
    // acceleration (units per step): the model's ballistic path, which ends
    // where it hits something. A spell that changes in flight ends the path
    // where it does and keeps what it became (getFragments). Called by the
    // model before onImpact, with the battlefield as it is before the shot.
    virtual std::list<Vector> fly(const ArenaModel& model, const Vector& start, const Vector& velocity,
                                  const Vector& acceleration);

    // What the spell broke into at the end of its path, each part with its
    // own path (from that end to the part's impact) and its own spell, which
    // makes the part's effect animation like any spell (getAnimation at the
    // last point of its path). Empty for a spell that stays whole, which is
    // every spell but a meteor that reached the top of its arc. Valid while
    // the spell lives: a listener reads them during onProjectile.
    virtual const std::vector<SpellFragment>& getFragments() const;

    // Adds the cells to destroy to affectedCells (they may be empty or
    // outside the grid: the model keeps the solid ones inside) and sets the
    // direct damage per player id. Changes nothing in the model.
    virtual void onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                          std::map<int, double>& damages) = 0;

    // A new effect animation of length ticks of clock, played at position,
    // made by the effects set (the rules draw nothing): null without them.
    // Owned by the caller. Called after onImpact.
    virtual Animation* getAnimation(long length, TimeSystem& clock, Vector position) = 0;

    // What getAnimation makes its animation with: the view's, handed to the
    // spell as it shows the shot. Not owned; outlives the spell.
    // A spell that broke apart hands them on to its parts.
    virtual void setEffects(const SpellEffects* makers) { effects = makers; }

protected:
    const SpellEffects* effects = nullptr; // not owned
};
