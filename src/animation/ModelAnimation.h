// SPDX-License-Identifier: GPL-3.0-or-later
// Plays one key-frame sensor tree on one model tree over its own length,
// drawing the model itself: attach, set the progress, draw, detach.
#pragma once

#include "animation/Animation.h"

class GraphicNode;
class TimeSensor;

class ModelAnimation : public Animation {
public:
    // Never looping. sensor and node are not owned and must outlive it.
    ModelAnimation(long length, TimeSystem& ts, TimeSensor* sensor, GraphicNode* node);
    // Hands the node to the continuation, if there is one; deletes nothing.
    ~ModelAnimation() override;
    // A copy would hand the node to the continuation twice.
    ModelAnimation(const ModelAnimation&) = delete;
    ModelAnimation& operator=(const ModelAnimation&) = delete;

    // target (not owned) receives the node when this animation is deleted.
    void setContinuation(GraphicNode* target);

    // Draws the node in the sensor's pose at the current progress and writes the
    // progress as a line on standard output. The sensor is detached again
    // afterwards, so other users of a shared model are unaffected.
    void render() override;

private:
    TimeSensor* sensor;        // not owned; lives in the view's resource table
    GraphicNode* node;         // not owned; the caller's model
    GraphicNode* continuation; // not owned; a node of the scene
};
