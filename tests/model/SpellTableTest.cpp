// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/Meteor.h"
#include "model/RadiusBomb.h"
#include "model/SpellByName.h"
#include "model/SpellTable.h"

// Every spell is found by its name, its key and its id, and casts its own
// kind of spell; any other name or key is refused, never a fireball.
TEST(SpellTable, LooksUpEverySpellAndRefusesTheRest)
{
    struct Case {
        SpellId id;
        char key;
        const char* name;
        const char* mesh;
        const char* cast;
    };
    const Case cases[] = {
        {SpellId::fireball, '1', "fireball", "fireball", "cast_fireball"},
        {SpellId::cyclone, '2', "cyclone", "fireball", "cast_cyclone"},
        {SpellId::nova, '3', "nova", "fireball", "cast_nova"},
        {SpellId::meteor, '4', "meteor", "meteor", "cast_meteor"},
    };
    ASSERT_EQ(SpellTable::all().size(), std::size(cases));
    for (const Case& spell : cases) {
        const SpellTable::Entry* byName = SpellTable::byName(spell.name);
        ASSERT_NE(byName, nullptr) << spell.name;
        EXPECT_EQ(byName, SpellTable::byKey(spell.key));
        EXPECT_EQ(byName, &SpellTable::byId(spell.id));
        EXPECT_STREQ(byName->flightMesh, spell.mesh);
        EXPECT_STREQ(byName->castSound, spell.cast);
        EXPECT_NE(createSpell(spell.name, 2.0), nullptr);
        EXPECT_TRUE(isSpellName(spell.name));
    }
    EXPECT_NE(dynamic_cast<Meteor*>(createSpell("meteor", 2.0).get()), nullptr);
    EXPECT_EQ(dynamic_cast<RadiusBomb*>(createSpell("fireball", 2.5).get())->getRadius(), 2.5);
    for (const char* unknown : {"", "Fireball", "thunderbolt", "meteor "}) {
        EXPECT_EQ(SpellTable::byName(unknown), nullptr) << unknown;
        EXPECT_EQ(createSpell(unknown, 2.0), nullptr) << unknown;
        EXPECT_FALSE(isSpellName(unknown)) << unknown;
    }
    EXPECT_EQ(SpellTable::byKey('5'), nullptr);
    EXPECT_EQ(SpellTable::byKey('0'), nullptr);
}
