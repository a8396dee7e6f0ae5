// SPDX-License-Identifier: GPL-3.0-or-later
// A sequence of animations played one after another, such as one shot from the
// cast to the last falling block. Its length is the sum of its children's.
#pragma once

#include <list>
#include <map>

#include "animation/Animation.h"

class AnimationManager : public Animation {
public:
    explicit AnimationManager(TimeSystem& ts);
    ~AnimationManager() override;
    AnimationManager(const AnimationManager&) = delete;
    AnimationManager& operator=(const AnimationManager&) = delete;

    // Takes ownership of a and starts it when everything added before it has
    // ended, counted from this sequence's start plus delay as they are now: set
    // those first. before: draw a while its turn is still to come; after: draw
    // it once its turn has passed. A null a is ignored.
    void addAnimation(Animation* a, bool before, bool after);

    // Draws the children whose flags ask for it, then the one whose turn it is
    // on top (not while the sequence is at progress 0).
    void render() override;

private:
    std::list<Animation*> animations; // owned: deleted in the destructor
    std::map<Animation*, bool> renderBefore;
    std::map<Animation*, bool> renderAfter;
    std::map<Animation*, long> lengths; // each child's length when it was added, in ticks
};
