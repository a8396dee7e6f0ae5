// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a character's key frames on its model tree as a stand-alone animation,
// leaving the shared model without a sensor once each frame is drawn.
#include "animation/ModelAnimation.h"

#include <GL/freeglut.h>

#include <iostream>

#include "scene/graphicnode.h"
#include "scene/timesensor.h"

ModelAnimation::ModelAnimation(long length, TimeSystem& ts, TimeSensor* sensor, GraphicNode* node)
    : Animation(length, ts, false), sensor(sensor), node(node), continuation(nullptr)
{
}

ModelAnimation::~ModelAnimation()
{
    if (continuation != nullptr && node != nullptr) {
        continuation->addGraphicNode(node);
    }
}

void ModelAnimation::setContinuation(GraphicNode* target)
{
    continuation = target;
}

void ModelAnimation::render()
{
    double progress = getProgress();
    node->setTimeSensor(sensor);
    sensor->setProgress(static_cast<float>(progress));
    std::cout << progress << std::endl;
    glPushMatrix();
    node->draw();
    glPopMatrix();
    node->setTimeSensor(nullptr);
}
