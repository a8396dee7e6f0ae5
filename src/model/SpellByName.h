// SPDX-License-Identifier: GPL-3.0-or-later
// The spell a name stands for, as the keys and the computer players name them.
#pragma once

#include <memory>
#include <string>

#include "model/Projectile.h"

// "cyclone" and "nova" give their spells; "fireball", and any other name, a
// fireball of the given radius.
std::unique_ptr<Projectile> createSpell(const std::string& name, double radiusBombSize);

// True for the names of the three spells.
bool isSpellName(const std::string& name);
