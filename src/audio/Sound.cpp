// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the game's sound files, and which of them a spell's cast and
// effect are heard with.
#include "audio/Sound.h"

#include <string>

#include "model/SpellTable.h"

const char* soundName(Sound sound)
{
    switch (sound) {
    case Sound::castFireball:
        return "cast_fireball";
    case Sound::castCyclone:
        return "cast_cyclone";
    case Sound::castNova:
        return "cast_nova";
    case Sound::flight:
        return "flight";
    case Sound::blastFireball:
        return "blast_fireball";
    case Sound::roarCyclone:
        return "roar_cyclone";
    case Sound::ringNova:
        return "ring_nova";
    case Sound::blockFall:
        return "block_fall";
    case Sound::blockLand:
        return "block_land";
    case Sound::hurt:
        return "hurt";
    case Sound::death:
        return "death";
    case Sound::turnChime:
        return "turn_chime";
    case Sound::fanfare:
        return "fanfare";
    case Sound::keyClick:
        return "key_click";
    case Sound::castMeteor:
        return "cast_meteor";
    case Sound::splitMeteor:
        return "split_meteor";
    }
    return "";
}

namespace {

// The sound whose file is named so, or fallback.
Sound soundNamed(const std::string& name, Sound fallback)
{
    for (int i = 0; i < SOUND_COUNT; ++i) {
        const Sound sound = static_cast<Sound>(i);
        if (name == soundName(sound)) {
            return sound;
        }
    }
    return fallback;
}

} // namespace

Sound castSound(const char* spell)
{
    const SpellTable::Entry* entry = SpellTable::byName(spell);
    return entry != nullptr ? soundNamed(entry->castSound, Sound::castFireball) : Sound::castFireball;
}

Sound effectSound(const char* spell)
{
    const SpellTable::Entry* entry = SpellTable::byName(spell);
    return entry != nullptr ? soundNamed(entry->effectSound, Sound::blastFireball) : Sound::blastFireball;
}

Sound splitSound(const char* spell)
{
    const SpellTable::Entry* entry = SpellTable::byName(spell);
    return entry != nullptr ? soundNamed(entry->splitSound, Sound::blastFireball) : Sound::blastFireball;
}
