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
    castMeteor,
    splitMeteor, // where a meteor breaks in three
};

constexpr int SOUND_COUNT = static_cast<int>(Sound::splitMeteor) + 1;

// The file's name without its folder and ".wav": "cast_fireball".
const char* soundName(Sound sound);

// The cast and the effect of a spell by its name, as the spell table names
// their files; a fireball's for a name that is no spell's (the game refuses
// those before anything is cast or heard).
Sound castSound(const char* spell);
Sound effectSound(const char* spell);
// Where a spell breaks apart: the meteor's split.
Sound splitSound(const char* spell);
