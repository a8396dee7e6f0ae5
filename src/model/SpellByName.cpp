// SPDX-License-Identifier: GPL-3.0-or-later
// A spell's name turned into a new spell for one shot, through the table.
#include "model/SpellByName.h"

#include "model/SpellTable.h"

std::unique_ptr<Projectile> createSpell(const std::string& name, double radiusBombSize)
{
    const SpellTable::Entry* entry = SpellTable::byName(name);
    return entry != nullptr ? entry->create(radiusBombSize) : nullptr;
}

bool isSpellName(const std::string& name)
{
    return SpellTable::byName(name) != nullptr;
}
