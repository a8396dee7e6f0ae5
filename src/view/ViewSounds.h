// SPDX-License-Identifier: GPL-3.0-or-later
// What the view makes heard: the shots' cues as their pictures come due, the
// listener riding with the camera, the chime of a turn that waits for its
// cast and the interface's own sounds.
#pragma once

#include "audio/Sound.h"
#include "math/Vector.h"
#include "view/SoundCues.h"

class SoundPlayer;
class TimeSystem;

class ViewSounds {
public:
    // clock: not owned; the view clock, which outlives the sounds.
    explicit ViewSounds(TimeSystem& clock);

    // What the sounds are heard through; not owned, outlives the view (or is
    // replaced before it goes). Null: silence.
    void setSoundPlayer(SoundPlayer* player);
    SoundPlayer* getSoundPlayer() const;
    // The shots' sounds still to come; shots add theirs here.
    const SoundCues& getSoundCues() const;
    SoundCues& getSoundCues();
    // An interface sound at the listener, now.
    void playNear(Sound sound);
    // Forgets the cues and the chimed turn, as a new map begins.
    void clear();

    // The frame's sounds: the listener at the camera (eye, looking at target,
    // up), the cues due by now, and the chime when waitingTurn, the player
    // whose turn waits for its cast (-1 for none), starts to wait.
    void play(const Vector& eye, const Vector& target, const Vector& up, int waitingTurn);

private:
    TimeSystem& clock; // not owned
    SoundCues cues;
    int chimedTurn; // the player whose waiting turn was chimed, or -1
};
