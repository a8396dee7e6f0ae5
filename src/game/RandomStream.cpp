// SPDX-License-Identifier: GPL-3.0-or-later
// The game's random stream: a standard Mersenne Twister read 15 bits at a time,
// which tests may replace by a script.
#include "game/RandomStream.h"

#include <algorithm>
#include <ctime>
#include <utility>

RandomStream::RandomStream()
    : RandomStream(timeOfDaySeed())
{
}

RandomStream::RandomStream(std::uint32_t seed)
    : generator(seed)
{
}

void RandomStream::seed(std::uint32_t value)
{
    generator.seed(value);
}

double RandomStream::next()
{
    if (script) {
        return script();
    }
    // 32 bits, of which the top 15: the same resolution as the game always had.
    return static_cast<double>(generator() >> 17) / 32768.0;
}

std::uint32_t RandomStream::nextSeed()
{
    if (script) {
        // A script's draw in [0, 1] read as a fraction of the 32-bit range.
        return static_cast<std::uint32_t>(std::clamp(script(), 0.0, 1.0) * 4294967295.0);
    }
    return static_cast<std::uint32_t>(generator());
}

void RandomStream::setScript(std::function<double()> newScript)
{
    script = std::move(newScript);
}

bool RandomStream::isScripted() const
{
    return static_cast<bool>(script);
}

std::uint32_t RandomStream::timeOfDaySeed()
{
    return static_cast<std::uint32_t>(std::time(nullptr));
}
