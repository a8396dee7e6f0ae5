// SPDX-License-Identifier: GPL-3.0-or-later
// Every spell in one table: its key, its name, the spell object one shot of it
// casts, what the view flies and plays for it (by resource and sound file
// names: the rules know no drawing and no sound), and how the computer
// players score it. A new spell is a new row here and its own Projectile.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Projectile.h"
#include "model/SpellId.h"

class SpellTable {
public:
    // What a computer player's trial shot with the spell depends on, so that
    // trials that agree on it share one simulation.
    enum class Scoring {
        impactPoint,  // the exact impact
        impactColumn, // the impact's column (x, z)
        impactLayer,  // the impact's layer (y)
        wholeFlight,  // the flight itself: every trial is simulated
    };

    struct Entry {
        SpellId id;
        char key;         // '1' ... '4'
        const char* name; // "fireball", "cyclone", "nova", "meteor"
        // A new spell for one shot; radiusBombSize: the fireball's radius,
        // which the spells made of fireballs scale.
        std::unique_ptr<Projectile> (*create)(double radiusBombSize);
        const char* flightMesh;  // the mesh key that flies: "fireball" or "meteor"
        const char* castSound;   // sound file name without ".wav"
        const char* effectSound; // heard where the shot (or each of its fragments) lands
        const char* splitSound;  // heard where it breaks apart; "" for a spell that stays whole
        Scoring scoring;
    };

    // Every spell, in the order of their keys.
    static const std::vector<Entry>& all();
    // Null for a name, a key that is no spell's.
    static const Entry* byName(const std::string& name);
    static const Entry* byKey(char key);
    static const Entry& byId(SpellId id);
    // The names for a refusal: "fireball, cyclone, nova or meteor".
    static const std::string& describeNames();
};
