// SPDX-License-Identifier: GPL-3.0-or-later
// Places a shared model in the scene and chooses, at every draw, which
// key-frame animation the model shows for this instance: a one-shot model
// animation (with a queue of further ones) or a looping idle animation.
// Characters, blocks, the arrow and the fireball are all drawn through these.
#pragma once

#include <list>

#include "scene/graphicnode.h"

class Animation;
class TimeSensor;

class TransformNode : public GraphicNode {
public:
    // model: not owned; shared with other transform nodes, it outlives them.
    explicit TransformNode(GraphicNode* model);
    ~TransformNode() override;

    // Forgets the wrapped model without deleting it.
    void clearChildren() override;

    // Plays s driven by the timer a (owned from here on; the previous timer is
    // deleted). With hold the model keeps the final pose for good.
    void setModelAnimation(TimeSensor* s, Animation* a, bool hold);
    // Plays it now when nothing is playing yet, else queues it; a queued timer
    // keeps its own start, so give it a delay that lets the others finish.
    void addModelAnimation(TimeSensor* s, Animation* a, bool hold);
    // The animation shown when no model animation is in force; a owned.
    void setIdleModelAnimation(TimeSensor* s, Animation* a);

    // Static transform, then each child with the animation in force attached
    // around its draw; afterwards a finished model animation gives way to the
    // next queued one.
    void draw() override;

    bool hasModelAnimation() const;
    std::size_t queuedAnimationCount() const;

private:
    TimeSensor* modelSensor;       // not owned: the view's resource table
    Animation* modelAnimation;     // owned
    TimeSensor* idleSensor;        // not owned
    Animation* idleAnimation;      // owned
    bool holdLast;
    std::list<TimeSensor*> queuedSensors;   // not owned
    std::list<Animation*> queuedAnimations; // owned
    std::list<bool> queuedHolds;
};
