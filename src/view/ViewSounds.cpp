// SPDX-License-Identifier: GPL-3.0-or-later
// The view's sounds: the listener riding with the camera, the shots' sounds
// as they come due, and the chime of a turn that waits for its cast.
#include "view/ViewSounds.h"

#include "audio/SoundPlayer.h"
#include "math/TimeSystem.h"

ViewSounds::ViewSounds(TimeSystem& clock) : clock(clock), chimedTurn(-1)
{
}

void ViewSounds::setSoundPlayer(SoundPlayer* player)
{
    cues.setPlayer(player);
}

SoundPlayer* ViewSounds::getSoundPlayer() const
{
    return cues.getPlayer();
}

const SoundCues& ViewSounds::getSoundCues() const
{
    return cues;
}

SoundCues& ViewSounds::getSoundCues()
{
    return cues;
}

void ViewSounds::playNear(Sound sound)
{
    cues.playNear(sound);
}

void ViewSounds::clear()
{
    cues.clear();
    chimedTurn = -1;
}

void ViewSounds::play(const Vector& eye, const Vector& target, const Vector& up, int waitingTurn)
{
    SoundPlayer* player = cues.getPlayer();
    if (player == nullptr) {
        return;
    }
    player->setListener(eye, target - eye, up);
    player->setSpeed(clock.getSpeed());
    cues.update(clock.getTick(), clock.getSpeed());
    if (waitingTurn < 0) {
        chimedTurn = -1;
    } else if (chimedTurn != waitingTurn) {
        chimedTurn = waitingTurn;
        player->playNear(Sound::turnChime);
    }
}
