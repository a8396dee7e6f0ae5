// SPDX-License-Identifier: GPL-3.0-or-later
// One placed instance of a shared model: its position and orientation, and the
// character animation it shows, attached to the shared model only while it
// draws.
#include "scene/TransformNode.h"

#include <GL/gl.h>

#include "animation/Animation.h"
#include "scene/timesensor.h"

TransformNode::TransformNode(GraphicNode* model)
    : modelSensor(nullptr),
      modelAnimation(nullptr),
      idleSensor(nullptr),
      idleAnimation(nullptr),
      holdLast(false)
{
    addGraphicNode(model);
}

TransformNode::~TransformNode()
{
    TransformNode::clearChildren();
    delete modelAnimation;
    delete idleAnimation;
    for (Animation* queued : queuedAnimations) {
        delete queued;
    }
}

void TransformNode::clearChildren()
{
    children.clear();
}

void TransformNode::setModelAnimation(TimeSensor* s, Animation* a, bool hold)
{
    if (modelAnimation != a) {
        delete modelAnimation;
    }
    modelSensor = s;
    modelAnimation = a;
    holdLast = hold;
}

void TransformNode::addModelAnimation(TimeSensor* s, Animation* a, bool hold)
{
    if (modelSensor == nullptr) {
        setModelAnimation(s, a, hold);
        return;
    }
    queuedSensors.push_back(s);
    queuedAnimations.push_back(a);
    queuedHolds.push_back(hold);
}

void TransformNode::setIdleModelAnimation(TimeSensor* s, Animation* a)
{
    if (idleAnimation != a) {
        delete idleAnimation;
    }
    idleSensor = s;
    idleAnimation = a;
}

bool TransformNode::hasModelAnimation() const
{
    return modelSensor != nullptr;
}

std::size_t TransformNode::queuedAnimationCount() const
{
    return queuedAnimations.size();
}

void TransformNode::draw()
{
    glPushMatrix();
    glTranslatef(translation.getX(), translation.getY(), translation.getZ());
    glRotatef(rotationAngle, rotationAxis.getX(), rotationAxis.getY(), rotationAxis.getZ());
    glScalef(scale.getX(), scale.getY(), scale.getZ());
    for (GraphicNode* child : children) {
        const bool modelInForce = modelSensor != nullptr && modelAnimation != nullptr
                               && (modelAnimation->getProgress() < 1.0 || holdLast);
        if (modelInForce) {
            child->setTimeSensor(modelSensor);
            modelSensor->setProgress(static_cast<float>(modelAnimation->getProgress()));
        } else if (idleSensor != nullptr && idleAnimation != nullptr) {
            child->setTimeSensor(idleSensor);
            idleSensor->setProgress(static_cast<float>(idleAnimation->getProgress()));
        }
        child->draw();
        if (modelSensor != nullptr || idleSensor != nullptr) {
            // The model is shared: leave it without this instance's pose.
            child->setTimeSensor(nullptr);
        }
    }
    glPopMatrix();

    if (modelSensor != nullptr && modelAnimation != nullptr && modelAnimation->getProgress() == 1.0
        && !holdLast && !queuedAnimations.empty()) {
        setModelAnimation(queuedSensors.front(), queuedAnimations.front(), queuedHolds.front());
        queuedSensors.pop_front();
        queuedAnimations.pop_front();
        queuedHolds.pop_front();
    }
}
