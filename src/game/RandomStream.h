// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own random stream: everything that decides a battlefield (its
// terrain, the wind, the casters' names, places and looks) is drawn from one of
// these, owned by the game. It is the 32-bit Mersenne Twister of the C++
// standard (std::mt19937, whose sequence the standard fixes), so a seed gives
// the same game on every platform and C library, and nothing else in the
// process (a library calling rand(), say) can move it.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

class RandomStream {
public:
    // Seeded from the time of day.
    RandomStream();
    explicit RandomStream(std::uint32_t seed);

    // Starts the sequence of this seed again.
    void seed(std::uint32_t seed);
    // A uniform double in [0, 1) with 15 bits of resolution: the top 15 bits
    // of the generator's next number, divided by 32768.
    double next();
    // The generator's next number whole: the seed of a further battlefield.
    std::uint32_t nextSeed();

    // The generator's whole state as the standard's text of it, and back
    // (the script, if any, stays as it is). Text that is not such a state,
    // or holds a number over 32 bits, is refused: false, the stream unchanged.
    std::string getState() const;
    bool setState(const std::string& text);

    // Draws come from script instead until an empty function is set; a
    // script's value is taken as it is. For tests.
    void setScript(std::function<double()> script);
    bool isScripted() const;

    // The seed of today's time, as a new game without --seed takes it.
    static std::uint32_t timeOfDaySeed();

private:
    std::mt19937 generator;
    std::function<double()> script;
};
