// SPDX-License-Identifier: GPL-3.0-or-later
// Groups animations that run side by side under one start, so a shot's sequence
// can treat all the debris or all the falls as one phase.
#include "animation/ParralelAnimation.h"

ParralelAnimation::ParralelAnimation(TimeSystem& ts)
    : Animation(0, ts, false)
{
}

ParralelAnimation::~ParralelAnimation()
{
    for (Animation* animation : animations) {
        delete animation;
    }
}

void ParralelAnimation::addAnimation(Animation* a)
{
    if (a == nullptr) {
        return;
    }
    a->setStart(start);
    animations.push_back(a);
    if (a->getLength() > length) {
        length = a->getLength();
    }
}

void ParralelAnimation::render()
{
    for (Animation* animation : animations) {
        animation->render();
    }
}

void ParralelAnimation::setStart(long tick)
{
    Animation::setStart(tick);
    for (Animation* animation : animations) {
        animation->setStart(tick);
    }
}
