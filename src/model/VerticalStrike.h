// SPDX-License-Identifier: GPL-3.0-or-later
// The cyclone: destroys the whole column of blocks under the impact and kills
// every player standing in that column.
#pragma once

#include "model/Projectile.h"

class VerticalStrike : public Projectile {
public:
    VerticalStrike();

    void onImpact(ArenaModel& model, const Vector& impact, std::set<Vector>& affectedCells,
                  std::map<int, double>& damages) override;
    Animation* getAnimation(long length, TimeSystem& clock, Vector position) override;

    int getHeight() const;

private:
    // The battlefield's height, taken at impact; it sizes the whirl.
    int height;
};
