// SPDX-License-Identifier: GPL-3.0-or-later
// The cyclone's impact: a whirl of small coloured triangles circling and rising
// through the struck column.
#pragma once

#include "animation/Animation.h"
#include "math/Vector.h"

class VerticalStrikeAnimation : public Animation {
public:
    // One triangle of the whirl. It lives until the progress passes expiry and
    // is then drawn anew.
    struct Particle {
        // Not yet alive: respawned the first time it is drawn.
        Particle();
        Particle(double distance, double angle, double height, double red, double green, double expiry);

        double distance; // grid units from the column's axis
        double angle;    // degrees around the axis
        double height;   // grid units above the floor
        double red;
        double green;
        double expiry;   // progress at which the particle dies
    };

    // position is the impact point in model coordinates: the whirl turns about
    // the vertical axis through the centre of its cell. height is the
    // battlefield's, in cells.
    VerticalStrikeAnimation(long length, TimeSystem& ts, Vector position, int particleCount, int height);
    ~VerticalStrikeAnimation() override;
    VerticalStrikeAnimation(const VerticalStrikeAnimation&) = delete;
    VerticalStrikeAnimation& operator=(const VerticalStrikeAnimation&) = delete;

    const Vector& getCenter() const;
    int getParticleCount() const;
    // index in [0, getParticleCount()).
    const Particle& getParticle(int index) const;

    // Draws the first particleCount × progress particles, one triangle each,
    // respawning those whose life has run out.
    void render() override;

private:
    void respawn(Particle& particle, double progress) const;

    Vector center; // centre of the impact cell, model coordinates
    int particleCount;
    Particle* particles; // owned: particleCount of them, deleted in the destructor
    int height; // cells
};
