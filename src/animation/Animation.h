// SPDX-License-Identifier: GPL-3.0-or-later
// Anything the view shows over time: a timer with a start, a delay and a length
// read as a progress from 0 to 1, and a render that draws the current state.
#pragma once

#include "math/TimeSystem.h"

class Animation {
public:
    // length in ticks of ts; the animation starts at ts's current tick.
    Animation(long length, TimeSystem& ts, bool looping);
    virtual ~Animation();

    // 0 until start + delay, then rising to 1 at the end of the length, where a
    // non-looping animation stays; a looping one wraps back to 0 instead.
    // A length of 0 or less jumps straight from 0 to 1 (a looping one stays 0).
    double getProgress() const;
    // True exactly when the progress is 1: a looping animation is never over.
    bool over() const;
    bool isLooping() const;
    long getLength() const;

    // Composites move their children with this, so it is virtual.
    virtual void setStart(long tick);
    long getStart() const;
    void setDelay(long ticks);

    // Draws the state at the current progress; a plain timer draws nothing.
    virtual void render();

protected:
    long length;             // ticks of timeSystem
    long start;              // tick of timeSystem at which the animation begins
    TimeSystem& timeSystem;  // not owned; the view's clock
    bool looping;
    long delay;              // ticks added to start
};
