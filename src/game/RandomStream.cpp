// SPDX-License-Identifier: GPL-3.0-or-later
// The game's random stream: a standard Mersenne Twister read 15 bits at a time,
// which tests may replace by a script.
#include "game/RandomStream.h"

#include <algorithm>
#include <ctime>
#include <sstream>
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

std::string RandomStream::getState() const
{
    std::ostringstream text;
    text << generator;
    return text.str();
}

bool RandomStream::setState(const std::string& text)
{
    // The generator's words are wider than 32 bits on some machines and would
    // take a larger number, which draws past 1: each word is checked first.
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (word.size() > 10 || word.find_first_not_of("0123456789") != std::string::npos
            || std::stoull(word) > 0xffffffffull) {
            return false;
        }
    }
    std::istringstream in(text);
    std::mt19937 read;
    in >> read;
    if (in.fail()) {
        return false;
    }
    in >> std::ws;
    if (!in.eof()) {
        return false;
    }
    generator = read;
    return true;
}
