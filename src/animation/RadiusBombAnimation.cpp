// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a fireball's blast: a blue sphere that swells past the blast radius
// while it fades over the last quarter of the effect.
#include "animation/RadiusBombAnimation.h"

#include <GL/freeglut.h>

namespace {

// The sphere reaches the blast radius here and starts to fade.
constexpr double FULL_SIZE_PROGRESS = 0.75;

} // namespace

RadiusBombAnimation::RadiusBombAnimation(long length, TimeSystem& ts, double radius, Vector center)
    : Animation(length, ts, false), radius(radius), center(center)
{
}

RadiusBombAnimation::~RadiusBombAnimation() = default;

double RadiusBombAnimation::getSize() const
{
    return getProgress() / FULL_SIZE_PROGRESS * radius;
}

double RadiusBombAnimation::getAlpha() const
{
    double progress = getProgress();
    if (progress > FULL_SIZE_PROGRESS) {
        return 1.0 - (progress - FULL_SIZE_PROGRESS) / (1.0 - FULL_SIZE_PROGRESS);
    }
    return 1.0;
}

void RadiusBombAnimation::render()
{
    glPushMatrix();
    // The view mirrors the model's z axis.
    glTranslatef(static_cast<GLfloat>(center.x), static_cast<GLfloat>(center.y), static_cast<GLfloat>(-center.z));
    glColor4f(0.0f, 0.0f, 1.0f, static_cast<GLfloat>(getAlpha()));
    glutSolidSphere(getSize(), 10, 10);
    glPopMatrix();
}
