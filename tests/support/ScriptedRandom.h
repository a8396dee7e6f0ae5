// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds random draws from a fixed list of values for the length of a test;
// after the list runs out the last value repeats. It scripts Main::random()
// while it lives, and stream() gives a stream for a model or a profile that
// draws from the same list (it must not outlive the script).
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "game/RandomStream.h"

class ScriptedRandom {
public:
    explicit ScriptedRandom(std::vector<double> values)
        : values(std::move(values)), scripted(0)
    {
        Main::setRandomSource([this] { return next(); });
        scripted.setScript([this] { return next(); });
    }
    ~ScriptedRandom() { Main::setRandomSource({}); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    // How many values have been drawn so far.
    std::size_t drawn() const { return count; }

    // A stream drawing from the list; copies draw from it too.
    RandomStream& stream() { return scripted; }

private:
    double next()
    {
        double value = values.empty() ? 0.0 : values[std::min(count, values.size() - 1)];
        ++count;
        return value;
    }

    std::vector<double> values;
    std::size_t count = 0;
    RandomStream scripted;
};
