// SPDX-License-Identifier: GPL-3.0-or-later
// White noise from a 32-bit xorshift generator: every sound seeds its own, so
// that the same seed gives the same samples with any compiler and library.
#pragma once

#include <cstdint>

namespace soundgen {

class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed != 0 ? seed : 1) {}

    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // In [0, 1).
    double uniform() { return next() / 4294967296.0; }
    // In [-1, 1).
    double white() { return 2 * uniform() - 1; }

private:
    std::uint32_t state;
};

} // namespace soundgen
