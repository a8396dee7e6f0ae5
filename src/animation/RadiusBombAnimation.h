// SPDX-License-Identifier: GPL-3.0-or-later
// The fireball's impact: a translucent blue sphere that grows to the blast
// radius and fades out.
#pragma once

#include "animation/Animation.h"
#include "math/Vector.h"

class RadiusBombAnimation : public Animation {
public:
    // radius in grid units; center is the impact point in model coordinates.
    RadiusBombAnimation(long length, TimeSystem& ts, double radius, Vector center);
    ~RadiusBombAnimation() override;

    // The sphere's radius now, in grid units: the blast radius at progress 0.75,
    // 4/3 of it at the end.
    double getSize() const;
    // 1 until progress 0.75, then down to 0 at the end.
    double getAlpha() const;

    void render() override;

private:
    double radius; // grid units
    Vector center;
};
