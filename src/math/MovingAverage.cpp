// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a sliding window of samples and their mean, for the frame-rate display.
#include "math/MovingAverage.h"

MovingAverage::MovingAverage(int size)
    : size(size)
{
}

void MovingAverage::add(double v)
{
    samples.push_back(v);
    // A window of 0 or less keeps nothing.
    while (!samples.empty() && static_cast<long>(samples.size()) > size) {
        samples.pop_front();
    }
}

double MovingAverage::getAverage() const
{
    if (samples.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (double sample : samples) {
        sum += sample;
    }
    return sum / static_cast<double>(samples.size());
}

const std::list<double>& MovingAverage::getValues() const
{
    return samples;
}
