// Program-wide state of the game shell: the window id, the input clock, the
// full-screen flag and the one random source that terrain, players, wind and
// effects draw from.
#pragma once

#include <functional>

#include "math/TimeSystem.h"

namespace Main {

// The GLUT window; stays 0 in full-screen game mode, which is how quitting
// tells the two modes apart.
extern int windowId;
// The input clock: key repeats and joystick polls. Never sped up or paused.
extern TimeSystem timer;
// Set once the generator has been seeded.
extern bool seeded;
// Set by -f.
extern bool fullscreen;

// A uniform double in [0, 1) with 15 bits of resolution. The first call seeds
// the generator from the time of day unless seedRandom came first.
double random();

// Seeds the generator with a fixed value (--seed), so that a battlefield and a
// whole game can be replayed.
void seedRandom(unsigned int seed);

// Feeds random() from a script for tests; an empty function restores the
// real generator.
void setRandomSource(std::function<double()> source);

} // namespace Main
