// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the three spells' effect animations for the spells of a game with a
// view.
#include "animation/EffectAnimations.h"

#include "animation/HorizontalNovaAnimation.h"
#include "animation/RadiusBombAnimation.h"
#include "animation/VerticalStrikeAnimation.h"

Animation* EffectAnimations::blast(long length, TimeSystem& clock, double radius, const Vector& at) const
{
    return new RadiusBombAnimation(length, clock, radius, at);
}

Animation* EffectAnimations::cyclone(long length, TimeSystem& clock, const Vector& at, int particles,
                                     int height) const
{
    return new VerticalStrikeAnimation(length, clock, at, particles, height);
}

Animation* EffectAnimations::nova(long length, TimeSystem& clock, const Vector& at, int width, int depth) const
{
    return new HorizontalNovaAnimation(length, clock, at, width, depth);
}
