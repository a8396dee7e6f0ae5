// SPDX-License-Identifier: GPL-3.0-or-later
// The view's running animations: drawn once per frame, in order, and deleted
// after the loop that finds them over.
#include "view/ViewAnimations.h"

#include "animation/Animation.h"
#include "animation/PathAnimation.h"
#include "animation/WindAnimation.h"
#include "scene/TransformNode.h"

namespace {

// Ticks of the view clock.
constexpr long ARROW_PERIOD = 500;
constexpr long WIND_PERIOD = 1000;

} // namespace

ViewAnimations::ViewAnimations(TimeSystem& clock, GraphicNode* arrowMesh)
{
    // The arrow gets its path when a player's turn comes.
    arrowAnimation = new PathAnimation(ARROW_PERIOD, clock, true, {}, new TransformNode(arrowMesh), false);
    animations.push_back(arrowAnimation);
    windAnimation = new WindAnimation(WIND_PERIOD, clock);
    animations.push_back(windAnimation);
}

ViewAnimations::~ViewAnimations()
{
    for (Animation* animation : animations) {
        delete animation;
    }
}

void ViewAnimations::add(std::unique_ptr<Animation> animation)
{
    animations.push_back(animation.release());
}

void ViewAnimations::clearShots()
{
    for (auto animation = animations.begin(); animation != animations.end();) {
        if (!(*animation)->isLooping()) {
            delete *animation;
            animation = animations.erase(animation);
        } else {
            ++animation;
        }
    }
}

void ViewAnimations::render()
{
    std::list<Animation*> finished;
    const bool animating = isAnimating();
    for (Animation* animation : animations) {
        // The arrow hides while a shot plays.
        if (animation != arrowAnimation || !animating) {
            animation->render();
        }
        if (animation->over()) {
            finished.push_back(animation);
        }
    }
    for (Animation* animation : finished) {
        animations.remove(animation);
        delete animation;
    }
}

bool ViewAnimations::isAnimating() const
{
    for (const Animation* animation : animations) {
        if (!animation->isLooping()) {
            return true;
        }
    }
    return false;
}

const std::list<Animation*>& ViewAnimations::getAnimations() const
{
    return animations;
}

PathAnimation* ViewAnimations::getArrowAnimation() const
{
    return arrowAnimation;
}

WindAnimation* ViewAnimations::getWindAnimation() const
{
    return windAnimation;
}
