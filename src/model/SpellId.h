// SPDX-License-Identifier: GPL-3.0-or-later
// The spells a caster can choose, in the order of their keys '1' to '4'.
#pragma once

enum class SpellId {
    fireball,
    cyclone,
    nova,
    meteor,
};
