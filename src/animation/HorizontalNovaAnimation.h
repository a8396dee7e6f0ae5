// SPDX-License-Identifier: GPL-3.0-or-later
// The nova's impact: a flat, pale disc that spreads from the impact point over
// the battlefield's width and depth.
#pragma once

#include "animation/Animation.h"
#include "math/Vector.h"

class HorizontalNovaAnimation : public Animation {
public:
    // center is the impact point in model coordinates; width and depth are the
    // battlefield's, in cells.
    HorizontalNovaAnimation(long length, TimeSystem& ts, Vector center, int width, int depth);
    ~HorizontalNovaAnimation() override;

    // The scale of the unit sphere now: (width × progress, 0.3, depth × progress).
    Vector getScale() const;

    void render() override;

private:
    int width; // cells
    int depth; // cells
    Vector center;
};
