// SPDX-License-Identifier: GPL-3.0-or-later
// The game's millisecond tick clock: play, pause, stop and a speed factor.
// The input clock and the view clock are two of these.
#pragma once

#include <functional>

class TimeSystem {
public:
    // A stopped clock at speed 1.
    TimeSystem();

    // Starts a stopped clock at tick 0 or resumes a paused one where it stood.
    // A clock that is already ticking is left as it is.
    void play();
    void pause();
    void stop();

    long getTick() const;
    bool isTicking() const;
    bool isPaused() const;
    bool isStopped() const;

    double getSpeed() const;
    // Changes the rate without a jump in the tick. A speed of 0 or one that is
    // not a finite number is refused (a line on standard error, nothing changes).
    void setSpeed(double s);

    // "Now": milliseconds of steady wall-clock time since the program started,
    // or whatever the clock source set for tests says.
    static long getTimeMiliseconds();

    // Replaces the millisecond clock behind every TimeSystem; an empty
    // function restores the real one. For tests and tools only.
    static void setClockSource(std::function<long()> source);

private:
    long startTime; // "now" value that corresponds to tick 0
    long pauseTime; // "now" at the last pause; 0 once stopped
    bool ticking;
    double speed; // ticks per millisecond of real time
};
