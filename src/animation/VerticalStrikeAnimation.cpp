// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a cyclone tearing out a column: particles that circle its axis three
// times while the cloud climbs, each fading until it is reborn elsewhere.
#include "animation/VerticalStrikeAnimation.h"

#include <GL/freeglut.h>

#include <cmath>

#include "app/Main.h"

namespace {

constexpr double TURNS = 3.0;
// The game's degrees-to-radians factor.
constexpr double DEGREES_TO_RADIANS = 3.1416 / 180.0;

} // namespace

VerticalStrikeAnimation::Particle::Particle()
    : distance(0.0), angle(0.0), height(0.0), red(0.0), green(0.0), expiry(-1.0)
{
}

VerticalStrikeAnimation::Particle::Particle(double distance, double angle, double height, double red,
                                            double green, double expiry)
    : distance(distance), angle(angle), height(height), red(red), green(green), expiry(expiry)
{
}

VerticalStrikeAnimation::VerticalStrikeAnimation(long length, TimeSystem& ts, Vector position, int particleCount,
                                                 int height)
    : Animation(length, ts, false),
      center(position.toInt() + Vector(0.5, 0.5, 0.5)),
      particleCount(particleCount > 0 ? particleCount : 0),
      particles(new Particle[particleCount > 0 ? particleCount : 0]),
      height(height)
{
}

VerticalStrikeAnimation::~VerticalStrikeAnimation()
{
    delete[] particles;
}

const Vector& VerticalStrikeAnimation::getCenter() const
{
    return center;
}

int VerticalStrikeAnimation::getParticleCount() const
{
    return particleCount;
}

const VerticalStrikeAnimation::Particle& VerticalStrikeAnimation::getParticle(int index) const
{
    return particles[index];
}

void VerticalStrikeAnimation::respawn(Particle& particle, double progress) const
{
    // One statement per field: the random draws happen in field order.
    particle.distance = Main::effectsRandom();
    particle.angle = Main::effectsRandom() * 360.0;
    particle.height = Main::effectsRandom() * height;
    particle.red = 0.5 + 0.5 * Main::effectsRandom();
    particle.green = Main::effectsRandom();
    particle.expiry = progress + Main::effectsRandom();
}

void VerticalStrikeAnimation::render()
{
    double progress = getProgress();
    int used = static_cast<int>(particleCount * progress);
    for (int i = 0; i < used; ++i) {
        Particle& particle = particles[i];
        if (progress > particle.expiry) {
            respawn(particle, progress);
        }
        // The cloud climbs half the column's height over the animation.
        double y = height * progress / 2.0 + particle.height;
        double angle = particle.angle + progress * 360.0 * TURNS; // degrees
        double radians = angle * DEGREES_TO_RADIANS;
        double x = center.x + particle.distance * std::cos(radians);
        // The view mirrors the model's z axis.
        double z = particle.distance * std::sin(radians) - center.z;

        glColor4f(static_cast<GLfloat>(particle.red), static_cast<GLfloat>(particle.green), 0.0f,
                  static_cast<GLfloat>(particle.expiry - progress));
        glPushMatrix();
        glTranslatef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
        glRotated(angle, 1.0, 0.0, 1.0);
        glBegin(GL_TRIANGLES);
        glVertex3d(-0.1, 0.0, -0.1);
        glVertex3d(0.1, 0.0, -0.1);
        glVertex3d(0.0, 0.0, 0.1);
        glEnd();
        glPopMatrix();
    }
}
