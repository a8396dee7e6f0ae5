// SPDX-License-Identifier: GPL-3.0-or-later
// Program-wide state of the game shell: the window id, the input clock, the
// full-screen flag and the random streams: the game's, from which the
// battlefield, the players and everything a player can see follow, the
// effects', which only decorates what is drawn, and the computer players'.
#pragma once

#include <functional>

#include "game/RandomStream.h"
#include "math/TimeSystem.h"

namespace Main {

// The GLUT window; stays 0 in full-screen game mode, which is how quitting
// tells the two modes apart.
extern int windowId;
// The input clock: key repeats and joystick polls. Never sped up or paused.
extern TimeSystem timer;
// Set once the generators have been seeded.
extern bool seeded;
// Set by -f.
extern bool fullscreen;

// The game's stream: terrain, wind, names, places and the casters' looks. A
// uniform double in [0, 1) with 15 bits of resolution, drawn from the stream
// of the game attached with attachGameRandom (the game owns it; the model
// draws from it directly), or from a stream of Main's own while no game is
// attached. The first call seeds the streams from the time of day unless
// seedRandom came first. Nothing that runs once per frame may draw from it,
// or a seeded game would depend on the frame rate.
double random();

// The stream random(), seedRandom and setRandomSource work on from now on;
// not owned, it must outlive its attachment. Null: Main's own again.
void attachGameRandom(RandomStream* stream);

// The effects' stream: particles, debris arcs and anything else that only
// decorates a frame. Same range and resolution as random(), independent of it.
double effectsRandom();

// The computer players' stream: a fresh seed for each choice of a shot, so
// that the levels' aim errors replay with the game. Independent of the other
// two streams and of their scripts.
unsigned int computerSeed();

// Seeds the three streams from one value (--seed), so that a battlefield and
// a whole game can be replayed.
void seedRandom(unsigned int seed);

// Feeds random() (the attached game's stream) from a script for tests;
// effectsRandom() draws from it too unless it has a script of its own. An
// empty function restores the real generator.
void setRandomSource(std::function<double()> source);

// Feeds effectsRandom() alone from a script; an empty function hands it back
// to setRandomSource's script, or to its generator.
void setEffectsRandomSource(std::function<double()> source);

} // namespace Main
