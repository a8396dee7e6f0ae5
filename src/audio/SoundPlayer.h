// SPDX-License-Identifier: GPL-3.0-or-later
// What the view asks of the sound: effects placed in the scene, the
// interface's own sounds at the listener, one loop that moves (a shot's
// flight), the listener riding with the camera, and the player's controls.
// Places and directions are in the scene's frame.
#pragma once

#include "audio/Sound.h"
#include "math/Vector.h"

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // The listener's ear: where the camera is, the way it looks and its up.
    virtual void setListener(const Vector& position, const Vector& forward, const Vector& up) = 0;
    // The view clock's speed: sounds started from now on play faster or
    // slower with it, within reason.
    virtual void setSpeed(double speed) = 0;

    // Once, from place: nearer is louder, and it comes from its side.
    virtual void play(Sound sound, const Vector& place) = 0;
    // Once, at the listener's ear.
    virtual void playNear(Sound sound) = 0;
    // Over and over from place until stopLoop, moved by moveLoop; a loop
    // started while another plays replaces it.
    virtual void startLoop(Sound sound, const Vector& place) = 0;
    virtual void moveLoop(const Vector& place) = 0;
    virtual void stopLoop() = 0;

    // Off, everything playing stops and nothing new is heard.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // 0 (silent) to 1 (as the files are); other values are clamped.
    virtual void setVolume(double volume) = 0;
    virtual double getVolume() const = 0;
};
