// SPDX-License-Identifier: GPL-3.0-or-later
// The mean of the last N samples of a value; the view averages its frame rate
// over ten seconds with one.
#pragma once

#include <list>

class MovingAverage {
public:
    explicit MovingAverage(int size);

    // Appends v and drops the oldest sample once there are more than size.
    void add(double v);
    // 0.0 while empty.
    double getAverage() const;
    // Oldest first.
    const std::list<double>& getValues() const;

private:
    int size;
    std::list<double> samples;
};
