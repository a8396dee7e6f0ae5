// SPDX-License-Identifier: GPL-3.0-or-later
// Shows where the current game's wind blows: a pole with a flag turned along the
// wind, drawn every frame at a fixed place beside the battlefield.
#include "animation/WindAnimation.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

// The game's value of pi for radians to degrees: a quarter turn reads 89.99979.
constexpr double GAME_PI = 3.1416;

} // namespace

WindAnimation::WindAnimation(long length, TimeSystem& ts)
    : Animation(length, ts, true), angle(0.0), strength(0.0)
{
    setDirection(Vector(0, 0, 0));
}

WindAnimation::~WindAnimation() = default;

void WindAnimation::setDirection(const Vector& wind)
{
    strength = std::hypot(wind.x, wind.z);
    if (strength > 0.0) {
        // Rounding may push the cosine just past 1 in magnitude.
        double cosine = std::clamp(wind.x / strength, -1.0, 1.0);
        angle = 180.0 * std::acos(cosine) / GAME_PI;
        if (wind.z < 0.0) {
            angle = -angle;
        }
    } else {
        angle = 0.0;
    }
    std::cout << "set wind direction" << wind << " " << angle << " " << strength << std::endl;
}

double WindAnimation::getAngle() const
{
    return angle;
}

double WindAnimation::getStrength() const
{
    return strength;
}

void WindAnimation::render()
{
    // Pole: 0.2 x 10 x 0.2 around (1, 1, 1), from y = -4 up to y = 6.
    glColor4f(0.5f, 0.33f, 0.0f, 1.0f);
    glPushMatrix();
    glTranslatef(1.0f, 1.0f, 1.0f);
    glScalef(0.2f, 10.0f, 0.2f);
    glutSolidCube(1.0);
    glPopMatrix();

    // Flag: 2 x 1 x 0.2 at the top of the pole. The half turn and the shift
    // by -1 put its inner edge on the pole's axis, reaching out along
    // (cos angle, 0, -sin angle): the wind with z mirrored into the scene.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(1.0f, 5.5f, 1.0f);
    glRotatef(static_cast<GLfloat>(180.0 + angle), 0.0f, 1.0f, 0.0f);
    glTranslatef(-1.0f, 0.0f, 0.0f);
    glScalef(2.0f, 1.0f, 0.2f);
    glutSolidCube(1.0);
    glPopMatrix();
}
