// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds Main::random() from a fixed list of values for the length of a test;
// after the list runs out the last value repeats. The real generator comes back
// when the object goes away.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "app/Main.h"

class ScriptedRandom {
public:
    explicit ScriptedRandom(std::vector<double> values)
        : values(std::move(values))
    {
        Main::setRandomSource([this] { return next(); });
    }
    ~ScriptedRandom() { Main::setRandomSource({}); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    // How many values have been drawn so far.
    std::size_t drawn() const { return count; }

private:
    double next()
    {
        double value = values.empty() ? 0.0 : values[std::min(count, values.size() - 1)];
        ++count;
        return value;
    }

    std::vector<double> values;
    std::size_t count = 0;
};
