// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield's wind indicator: a brown pole beside the grid's origin corner
// with a white flag that points where the current game's wind blows.
#pragma once

#include "animation/Animation.h"
#include "math/Vector.h"

class WindAnimation : public Animation {
public:
    // Looping, so it is never over; starts with no wind.
    WindAnimation(long length, TimeSystem& ts);
    ~WindAnimation() override;

    // Turns the flag along the wind's horizontal part (model coordinates; the
    // vertical part is ignored) and writes the "set wind direction" line.
    void setDirection(const Vector& wind);
    // Degrees about the vertical axis, 0 along +X, positive towards model +z.
    double getAngle() const;
    // Length of the wind's horizontal part.
    double getStrength() const;

    // The pole and the flag; the same at every progress.
    void render() override;

private:
    double angle;    // degrees
    double strength; // length of the horizontal wind, not shown by the flag
};
