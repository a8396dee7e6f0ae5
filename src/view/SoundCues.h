// SPDX-License-Identifier: GPL-3.0-or-later
// The sounds of what the view shows, each due at the tick of the view clock
// its event shows at. A shot queues its sounds when it is shown; the frame
// that reaches a sound's tick plays it, so the sounds keep to the pictures at
// any speed of the view clock. The flight loop rides along the shot's path
// and stops at the impact.
#pragma once

#include <vector>

#include "audio/Sound.h"
#include "math/Vector.h"
#include "view/ShotPath.h"

class SoundPlayer;

class SoundCues {
public:
    SoundCues();

    // player: not owned, outlives the cues; null is silence.
    void setPlayer(SoundPlayer* player);
    SoundPlayer* getPlayer() const;

    // A sound from place, in the scene's frame, at tick.
    void add(long tick, Sound sound, const Vector& place);
    // The flight loop along path (the scene's frame) from start to end.
    void addFlight(const std::vector<Vector>& path, long start, long end);
    // An interface sound at the listener, now.
    void playNear(Sound sound);
    // Forgets every cue and stops the flight loop.
    void clear();

    // A cue this late, in milliseconds of real time, is dropped: the frames
    // that should have played it never came (a hidden window, a stall), and
    // the picture has moved on without it.
    static constexpr double MOST_LATE = 500.0;

    // Plays the cues due by now, in their order, and moves the flight loop;
    // speed: the clock's ticks per millisecond, to tell how late a cue is.
    void update(long now, double speed = 1.0);
    // Cues still to play, the flight counted while it is due or flies.
    std::size_t getPendingCount() const;

private:
    struct Cue {
        long tick;
        Sound sound;
        Vector place;
    };

    SoundPlayer* player; // not owned
    std::vector<Cue> cues; // in the order of their ticks
    ShotPath flightPath;
    long flightStart;
    long flightEnd;
    bool flightDue;
    bool flightPlaying;
};
