// SPDX-License-Identifier: GPL-3.0-or-later
// A spell: decides what a shot does where it lands, and makes the effect
// animation the view plays there. One object lives for one shot.
#pragma once

#include <map>
#include <set>

#include "math/Vector.h"

class Animation;
class ArenaModel;
class SpellEffects;
class TimeSystem;

class Projectile {
public:
    virtual ~Projectile() = default;

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
    void setEffects(const SpellEffects* makers) { effects = makers; }

protected:
    const SpellEffects* effects = nullptr; // not owned
};
