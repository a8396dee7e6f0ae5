// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of the spell table and the lookups into it.
#include "model/SpellTable.h"

#include "model/HorizontalNova.h"
#include "model/Meteor.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"

namespace {

std::unique_ptr<Projectile> makeFireball(double radiusBombSize)
{
    return std::make_unique<RadiusBomb>(radiusBombSize);
}

std::unique_ptr<Projectile> makeCyclone(double)
{
    return std::make_unique<VerticalStrike>();
}

std::unique_ptr<Projectile> makeNova(double)
{
    return std::make_unique<HorizontalNova>();
}

std::unique_ptr<Projectile> makeMeteor(double radiusBombSize)
{
    return std::make_unique<Meteor>(radiusBombSize);
}

} // namespace

const std::vector<SpellTable::Entry>& SpellTable::all()
{
    // Never destroyed: a computer player's search may still read it on its
    // own thread while the program's statics are being torn down at exit.
    static const std::vector<Entry>& spells = *new const std::vector<Entry>{
        {SpellId::fireball, '1', "fireball", makeFireball, "fireball", "cast_fireball", "blast_fireball", "",
         Scoring::impactPoint},
        {SpellId::cyclone, '2', "cyclone", makeCyclone, "fireball", "cast_cyclone", "roar_cyclone", "",
         Scoring::impactColumn},
        {SpellId::nova, '3', "nova", makeNova, "fireball", "cast_nova", "ring_nova", "", Scoring::impactLayer},
        {SpellId::meteor, '4', "meteor", makeMeteor, "meteor", "cast_meteor", "blast_fireball",
         "split_meteor", Scoring::wholeFlight},
    };
    return spells;
}

const SpellTable::Entry* SpellTable::byName(const std::string& name)
{
    for (const Entry& entry : all()) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

const SpellTable::Entry* SpellTable::byKey(char key)
{
    for (const Entry& entry : all()) {
        if (key == entry.key) {
            return &entry;
        }
    }
    return nullptr;
}

const SpellTable::Entry& SpellTable::byId(SpellId id)
{
    return all()[static_cast<std::size_t>(id)];
}

const std::string& SpellTable::describeNames()
{
    // "fireball, cyclone, nova or meteor", from the table itself.
    // Never destroyed, like the table it is made from.
    static const std::string& names = *new const std::string([] {
        std::string list;
        const std::vector<Entry>& entries = all();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            list += i == 0 ? "" : i + 1 == entries.size() ? " or " : ", ";
            list += entries[i].name;
        }
        return list;
    }());
    return names;
}
