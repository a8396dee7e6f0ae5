// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's program-wide objects and the random streams: a door to the
// game's own, and the effects' and the computer players'.
#include "app/Main.h"

#include <ctime>
#include <random>
#include <utility>

namespace Main {

int windowId = 0;
TimeSystem timer;
bool seeded = false;
bool fullscreen = false;

namespace {

// Keeps the effects' sequence apart from the game's when both come from one
// seed.
constexpr unsigned int EFFECTS_SEED_OFFSET = 0x9e3779b9u;
constexpr unsigned int COMPUTER_SEED_OFFSET = 0x7f4a7c15u;

// The stream of no game, for random() while none is attached.
RandomStream& ownGameStream()
{
    static RandomStream stream(0);
    return stream;
}

RandomStream*& attachedStream()
{
    static RandomStream* stream = nullptr;
    return stream;
}

RandomStream& gameStream()
{
    RandomStream* attached = attachedStream();
    return attached != nullptr ? *attached : ownGameStream();
}

// The script of the game's stream, kept here too so that the effects'
// stream can fall back on it.
std::function<double()>& randomSource()
{
    static std::function<double()> source;
    return source;
}

std::function<double()>& effectsSource()
{
    static std::function<double()> source;
    return source;
}

// Generators of our own rather than rand(): their sequences are the same on
// every platform and nothing else in the process draws from them.
std::minstd_rand& effectsGenerator()
{
    static std::minstd_rand generator;
    return generator;
}

std::mt19937& computerGenerator()
{
    static std::mt19937 generator;
    return generator;
}

void seedOnFirstUse()
{
    if (!seeded) {
        seedRandom(static_cast<unsigned int>(std::time(nullptr)));
    }
}

} // namespace

double random()
{
    if (!gameStream().isScripted()) {
        seedOnFirstUse();
    }
    return gameStream().next();
}

void attachGameRandom(RandomStream* stream)
{
    attachedStream() = stream;
    if (stream != nullptr && randomSource()) {
        stream->setScript(randomSource());
    }
}

double effectsRandom()
{
    if (const std::function<double()>& source = effectsSource()) {
        return source();
    }
    if (const std::function<double()>& source = randomSource()) {
        return source();
    }
    seedOnFirstUse();
    // minstd yields 1 to 2^31 - 2: its top 15 bits.
    return static_cast<double>(effectsGenerator()() >> 16) / 32768.0;
}

unsigned int computerSeed()
{
    seedOnFirstUse();
    return static_cast<unsigned int>(computerGenerator()());
}

void seedRandom(unsigned int seed)
{
    gameStream().seed(seed);
    effectsGenerator().seed(seed + EFFECTS_SEED_OFFSET);
    computerGenerator().seed(seed + COMPUTER_SEED_OFFSET);
    seeded = true;
}

void setRandomSource(std::function<double()> source)
{
    randomSource() = source;
    gameStream().setScript(std::move(source));
}

void setEffectsRandomSource(std::function<double()> source)
{
    effectsSource() = std::move(source);
}

} // namespace Main
