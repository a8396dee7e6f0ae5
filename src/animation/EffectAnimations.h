// SPDX-License-Identifier: GPL-3.0-or-later
// The spells' effect animations as the view plays them: the blast sphere, the
// whirl of the cyclone and the nova's disc. The view hands one of these to the
// game, which gives it to the spells it casts.
#pragma once

#include "model/SpellEffects.h"

class EffectAnimations : public SpellEffects {
public:
    Animation* blast(long length, TimeSystem& clock, double radius, const Vector& at) const override;
    Animation* cyclone(long length, TimeSystem& clock, const Vector& at, int particles,
                       int height) const override;
    Animation* nova(long length, TimeSystem& clock, const Vector& at, int width, int depth) const override;
};
