// SPDX-License-Identifier: GPL-3.0-or-later
// The spell a name stands for, as the keys and the computer players name them:
// shorthands for the spell table.
#pragma once

#include <memory>
#include <string>

#include "model/Projectile.h"

// A new spell of that name for one shot, with the fireball's radius given;
// null for a name that is no spell's.
std::unique_ptr<Projectile> createSpell(const std::string& name, double radiusBombSize);

// True for the names in the spell table.
bool isSpellName(const std::string& name);
