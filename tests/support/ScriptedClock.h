// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the millisecond clock behind every TimeSystem from a test: set the time,
// advance it, and the real clock comes back when the object goes away.
#pragma once

#include "math/TimeSystem.h"

class ScriptedClock {
public:
    explicit ScriptedClock(long start = 1000)
        : now(start)
    {
        TimeSystem::setClockSource([this] { return now; });
    }
    ~ScriptedClock() { TimeSystem::setClockSource({}); }
    ScriptedClock(const ScriptedClock&) = delete;
    ScriptedClock& operator=(const ScriptedClock&) = delete;

    void set(long milliseconds) { now = milliseconds; }
    void advance(long milliseconds) { now += milliseconds; }
    long get() const { return now; }

private:
    long now;
};
