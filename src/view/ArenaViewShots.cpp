// Shots as the view plays them: the cast, the flight, the spell's effect, the
// debris and the falls, as one timed sequence; and the running animations.
#include <GL/freeglut.h>

#include <list>

#include "animation/Animation.h"
#include "animation/PathAnimation.h"
#include "view/ArenaView.h"

void ArenaView::onProjectile(int, Projectile*, std::list<Vector>&, std::set<Vector>&, std::map<Vector, int>&,
                             std::map<int, int>&, std::map<int, double>&, std::set<int>&)
{
}

std::list<Vector> ArenaView::createExplosionPath(Vector)
{
    return {};
}

void ArenaView::renderTrajectory()
{
}

void ArenaView::renderAnimations()
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

bool ArenaView::isAnimating() const
{
    for (const Animation* animation : animations) {
        if (!animation->isLooping()) {
            return true;
        }
    }
    return false;
}
