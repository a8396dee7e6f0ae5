// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds, one recipe each, before their finish. Each recipe seeds
// its own noise, so that changing one sound leaves the others as they were.
#pragma once

#include <string>
#include <vector>

#include "Sound.h"

namespace soundgen {

// The spells (Spells.cpp).
Samples castFireball();
Samples castCyclone();
Samples castNova();
Samples flight();  // one second that loops
Samples blastFireball();
Samples roarCyclone();
Samples ringNova();

// The meteor (Meteor.cpp).
Samples castMeteor();
Samples splitMeteor(); // where it breaks in three

// Everything else that happens in a game (Play.cpp).
Samples blockFall();
Samples blockLand();
Samples hurt();
Samples death();
Samples turnChime();
Samples fanfare();
Samples keyClick();

struct SoundFile {
    std::string name;  // file name in res/sounds
    Samples samples;   // finished
};

// Every sound, made and finished, in a fixed order.
std::vector<SoundFile> allSounds();

} // namespace soundgen
