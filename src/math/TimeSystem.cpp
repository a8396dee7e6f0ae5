// SPDX-License-Identifier: GPL-3.0-or-later
// The tick clock that times key repeats, joystick polls and everything the view
// animates; "now" comes from a steady clock or from a test's clock source.
#include "math/TimeSystem.h"

#include <chrono>
#include <cmath>
#include <iostream>
#include <utility>

namespace {

// Ticks and clock readings stay well inside the range of a long.
constexpr double TICK_LIMIT = 4.0e18;

long toTicks(double value)
{
    if (!(value > -TICK_LIMIT)) {
        return static_cast<long>(-TICK_LIMIT);
    }
    if (value > TICK_LIMIT) {
        return static_cast<long>(TICK_LIMIT);
    }
    return static_cast<long>(value);
}

// Taken during static initialisation, before main runs.
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();

std::function<long()>& clockSource()
{
    static std::function<long()> source;
    return source;
}

} // namespace

TimeSystem::TimeSystem()
    : startTime(0), pauseTime(0), ticking(false), speed(1.0)
{
}

void TimeSystem::play()
{
    if (ticking) {
        return;
    }
    long now = getTimeMiliseconds();
    if (isStopped()) {
        startTime = now;
    } else {
        // Paused: shift the start so that the time spent paused is not counted.
        startTime = now - pauseTime + startTime;
    }
    ticking = true;
}

void TimeSystem::pause()
{
    pauseTime = getTimeMiliseconds();
    ticking = false;
}

void TimeSystem::stop()
{
    pauseTime = 0;
    ticking = false;
}

long TimeSystem::getTick() const
{
    if (isStopped()) {
        return 0;
    }
    if (isPaused()) {
        return toTicks(static_cast<double>(pauseTime - startTime) * speed);
    }
    return toTicks(static_cast<double>(getTimeMiliseconds() - startTime) * speed);
}

bool TimeSystem::isTicking() const
{
    return ticking;
}

bool TimeSystem::isPaused() const
{
    return !ticking && pauseTime != 0;
}

bool TimeSystem::isStopped() const
{
    return !ticking && pauseTime == 0;
}

double TimeSystem::getSpeed() const
{
    return speed;
}

void TimeSystem::setSpeed(double s)
{
    const long tick = getTick();
    const double shift = s == 0.0 ? INFINITY : static_cast<double>(tick) / s;
    if (!std::isfinite(s) || !(std::fabs(shift) < TICK_LIMIT)) {
        std::cerr << "Clock speed " << s << " refused: it must be a finite number other than 0"
                  << " and not so small that the clock would leave its range" << std::endl;
        return;
    }
    speed = s;
    // A paused clock keeps its tick: anchor the start on the pause moment, not
    // on "now", or the tick would jump by the time spent paused.
    long anchor = isPaused() ? pauseTime : getTimeMiliseconds();
    startTime = anchor - static_cast<long>(shift);
}

long TimeSystem::getTimeMiliseconds()
{
    const std::function<long()>& source = clockSource();
    if (source) {
        return source();
    }
    auto elapsed = std::chrono::steady_clock::now() - programStart;
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void TimeSystem::setClockSource(std::function<long()> source)
{
    clockSource() = std::move(source);
}
