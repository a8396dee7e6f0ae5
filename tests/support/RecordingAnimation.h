// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for tests of animations: a view clock driven by the scripted time,
// and an animation that logs when it is drawn and counts its destruction.
#pragma once

#include <string>
#include <vector>

#include "animation/Animation.h"
#include "support/ScriptedClock.h"

// A ticking clock that reads tick t when the scripted time is t.
struct Clocks {
    Clocks() { time.play(); }
    ScriptedClock clock{0};
    TimeSystem time;
};

using Log = std::vector<std::string>;

class RecordingAnimation : public Animation {
public:
    RecordingAnimation(std::string name, long length, TimeSystem& ts, Log& log,
                       int* destroyed = nullptr)
        : Animation(length, ts, false), name(std::move(name)), log(log), destroyed(destroyed)
    {
    }
    ~RecordingAnimation() override
    {
        if (destroyed != nullptr) {
            ++*destroyed;
        }
    }
    void render() override { log.push_back(name); }

private:
    std::string name;
    Log& log;
    int* destroyed; // not owned; the test's counter
};
