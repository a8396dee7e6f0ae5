// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/Sound.h"

#include <cstring>

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
    }
    return "";
}

Sound castSound(const char* spell)
{
    if (std::strcmp(spell, "cyclone") == 0) {
        return Sound::castCyclone;
    }
    if (std::strcmp(spell, "nova") == 0) {
        return Sound::castNova;
    }
    return Sound::castFireball;
}

Sound effectSound(const char* spell)
{
    if (std::strcmp(spell, "cyclone") == 0) {
        return Sound::roarCyclone;
    }
    if (std::strcmp(spell, "nova") == 0) {
        return Sound::ringNova;
    }
    return Sound::blastFireball;
}
