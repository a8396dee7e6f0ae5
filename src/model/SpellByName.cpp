// SPDX-License-Identifier: GPL-3.0-or-later
// One place that turns a spell's name into a new spell for one shot.
#include "model/SpellByName.h"

#include "model/HorizontalNova.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"

std::unique_ptr<Projectile> createSpell(const std::string& name, double radiusBombSize)
{
    if (name == "cyclone") {
        return std::make_unique<VerticalStrike>();
    }
    if (name == "nova") {
        return std::make_unique<HorizontalNova>();
    }
    return std::make_unique<RadiusBomb>(radiusBombSize);
}

bool isSpellName(const std::string& name)
{
    return name == "fireball" || name == "cyclone" || name == "nova";
}
