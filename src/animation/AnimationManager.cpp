// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the phases of a shot one after another: each child starts when the
// previous ones have run out, and finished or coming phases may stay on screen.
#include "animation/AnimationManager.h"

AnimationManager::AnimationManager(TimeSystem& ts)
    : Animation(0, ts, false)
{
}

AnimationManager::~AnimationManager()
{
    for (Animation* animation : animations) {
        delete animation;
    }
}

void AnimationManager::addAnimation(Animation* a, bool before, bool after)
{
    if (a == nullptr) {
        return;
    }
    renderAfter[a] = after;
    renderBefore[a] = before;
    a->setStart(start + delay + length);
    animations.push_back(a);
    lengths[a] = a->getLength();
    length += a->getLength();
}

void AnimationManager::render()
{
    if (animations.empty()) {
        return;
    }
    double progress = getProgress();
    // The children's ticks are summed and divided once per child, so a child's
    // end lands on exactly the progress the sequence reports at that tick.
    long ticksSoFar = 0;
    Animation* current = nullptr;
    for (Animation* animation : animations) {
        ticksSoFar += animation->getLength();
        // A sequence without length gives every child a share of 0.
        double cumulative = length > 0 ? static_cast<double>(ticksSoFar) / static_cast<double>(length) : 0.0;
        if (current == nullptr && cumulative > progress) {
            current = animation;
            continue;
        }
        if (progress >= cumulative && renderAfter[animation]) {
            animation->render();
        }
        if (cumulative >= progress && renderBefore[animation]) {
            animation->render();
        }
    }
    // Drawn last so it lies on top of the phases kept on screen.
    if (current != nullptr && progress != 0.0) {
        current->render();
    }
}
