// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the sound files in res/sounds, for the tests of the sounds and
// of the install.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string> SOUND_FILES = {
    "cast_fireball.wav", "cast_cyclone.wav", "cast_nova.wav", "flight.wav", "blast_fireball.wav",
    "roar_cyclone.wav", "ring_nova.wav", "block_fall.wav", "block_land.wav", "hurt.wav", "death.wav",
    "turn_chime.wav", "fanfare.wav", "key_click.wav", "cast_meteor.wav", "split_meteor.wav"};
