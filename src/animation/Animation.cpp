// SPDX-License-Identifier: GPL-3.0-or-later
// The timer behind every animation of the view: turns the view clock's tick
// into a progress between 0 and 1 that drawing code reads.
#include "animation/Animation.h"

#include <cmath>

Animation::Animation(long length, TimeSystem& ts, bool looping)
    : length(length), start(ts.getTick()), timeSystem(ts), looping(looping), delay(0)
{
}

Animation::~Animation() = default;

double Animation::getProgress() const
{
    long elapsed = timeSystem.getTick() - (start + delay);
    if (length <= 0) {
        // No duration to divide by: an empty phase is done as soon as it begins,
        // and an empty loop never gets anywhere.
        if (looping || elapsed < 0) {
            return 0.0;
        }
        return 1.0;
    }
    double progress = static_cast<double>(elapsed) / static_cast<double>(length);
    if (progress < 0.0) {
        progress = 0.0;
    }
    if (looping) {
        progress -= std::trunc(progress);
    }
    if (progress > 1.0) {
        progress = 1.0;
    }
    return progress;
}

bool Animation::over() const
{
    return getProgress() == 1.0;
}

bool Animation::isLooping() const
{
    return looping;
}

long Animation::getLength() const
{
    return length;
}

void Animation::setStart(long tick)
{
    start = tick;
}

long Animation::getStart() const
{
    return start;
}

void Animation::setDelay(long ticks)
{
    delay = ticks;
}

void Animation::render()
{
}
