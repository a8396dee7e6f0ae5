// SPDX-License-Identifier: GPL-3.0-or-later
// The makers of the spells' effect animations. The rules know no drawing: the
// view hands the game one of these, and the spells of its casts make their
// effects through it. Each returns a new animation owned by the caller.
#pragma once

#include "math/Vector.h"

class Animation;
class TimeSystem;

class SpellEffects {
public:
    virtual ~SpellEffects() = default;

    // length: ticks of clock. at: the impact, in model coordinates.
    virtual Animation* blast(long length, TimeSystem& clock, double radius, const Vector& at) const = 0;
    virtual Animation* cyclone(long length, TimeSystem& clock, const Vector& at, int particles,
                               int height) const = 0;
    virtual Animation* nova(long length, TimeSystem& clock, const Vector& at, int width,
                            int depth) const = 0;
};
