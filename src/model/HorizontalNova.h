// SPDX-License-Identifier: GPL-3.0-or-later
// The nova: destroys the whole layer of blocks at the impact's height and
// halves the hit points of every player reaching into that layer.
#pragma once

#include "model/Projectile.h"

class HorizontalNova : public Projectile {
public:
    HorizontalNova();

    void onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                  std::map<int, double>& damages) override;
    Animation* getAnimation(long length, TimeSystem& clock, Vector position) override;

    int getWidth() const;
    int getDepth() const;

private:
    // The battlefield's extents, taken at impact; they size the effect.
    int width;
    int depth;
};
