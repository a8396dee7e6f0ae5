// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a nova sweeping one layer of the battlefield: a flattened sphere whose
// horizontal radii grow to the field's width and depth.
#include "animation/HorizontalNovaAnimation.h"

#include <GL/freeglut.h>

namespace {

// Height of the disc, in grid units.
constexpr double DISC_THICKNESS = 0.3;

} // namespace

HorizontalNovaAnimation::HorizontalNovaAnimation(long length, TimeSystem& ts, Vector center, int width, int depth)
    : Animation(length, ts, false), width(width), depth(depth), center(center)
{
}

HorizontalNovaAnimation::~HorizontalNovaAnimation() = default;

Vector HorizontalNovaAnimation::getScale() const
{
    double progress = getProgress();
    return Vector(width * progress, DISC_THICKNESS, depth * progress);
}

void HorizontalNovaAnimation::render()
{
    Vector scale = getScale();
    glColor4f(0.8f, 1.0f, 1.0f, 0.5f);
    glPushMatrix();
    // The view mirrors the model's z axis.
    glTranslatef(static_cast<GLfloat>(center.x), static_cast<GLfloat>(center.y), static_cast<GLfloat>(-center.z));
    glScalef(static_cast<GLfloat>(scale.x), static_cast<GLfloat>(scale.y), static_cast<GLfloat>(scale.z));
    glutSolidSphere(1.0, 10, 10);
    glPopMatrix();
}
