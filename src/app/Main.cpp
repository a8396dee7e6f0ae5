// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's program-wide objects and the random streams: the game's, shared
// by the model and the view's event handlers, the effects' and the computer
// players'.
#include "app/Main.h"

#include <cstdlib>
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

// A generator of our own rather than rand(): its sequence is the same on every
// platform and nothing else in the process draws from it.
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
    const std::function<double()>& source = randomSource();
    if (source) {
        return source();
    }
    seedOnFirstUse();
    // glibc's rand() reaches 2^31 - 1: keep 15 bits so the result stays below 1
    // and has the same resolution everywhere.
    return (std::rand() % 32768) / 32768.0;
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
    std::srand(seed);
    effectsGenerator().seed(seed + EFFECTS_SEED_OFFSET);
    computerGenerator().seed(seed + COMPUTER_SEED_OFFSET);
    seeded = true;
}

void setRandomSource(std::function<double()> source)
{
    randomSource() = std::move(source);
}

void setEffectsRandomSource(std::function<double()> source)
{
    effectsSource() = std::move(source);
}

} // namespace Main
