// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds: one WAV file each in the data folder's sounds/.
#pragma once

enum class Sound {
    castFireball,
    castCyclone,
    castNova,
    flight, // a loop, for as long as a shot flies
    blastFireball,
    roarCyclone,
    ringNova,
    blockFall,
    blockLand,
    hurt,
    death,
    turnChime,
    fanfare,
    keyClick,
};

constexpr int SOUND_COUNT = static_cast<int>(Sound::keyClick) + 1;

// The file's name without its folder and ".wav": "cast_fireball".
const char* soundName(Sound sound);

// The cast and the effect of a spell by its name; a fireball's for any name
// but "cyclone" and "nova", as with the spells themselves.
Sound castSound(const char* spell);
Sound effectSound(const char* spell);
