// SPDX-License-Identifier: GPL-3.0-or-later
// Animations played together from one start, such as the debris of every block
// a spell destroyed. It lasts as long as its longest child.
#pragma once

#include <vector>

#include "animation/Animation.h"

class ParralelAnimation : public Animation {
public:
    explicit ParralelAnimation(TimeSystem& ts);
    ~ParralelAnimation() override;
    ParralelAnimation(const ParralelAnimation&) = delete;
    ParralelAnimation& operator=(const ParralelAnimation&) = delete;

    // Takes ownership of a and starts it at this composite's start. A null a is
    // ignored.
    void addAnimation(Animation* a);

    // Every child in the order added, each at its own progress.
    void render() override;
    // Moves this composite and every child (and theirs) to tick.
    void setStart(long tick) override;

private:
    std::vector<Animation*> animations; // owned: deleted in the destructor
};
