// SPDX-License-Identifier: GPL-3.0-or-later
// What one shot did to the battlefield, as the model reports it to its
// listeners: the path, the destroyed and fallen blocks, the players' falls,
// the damage dealt and who died of it.
#pragma once

#include <list>
#include <map>
#include <set>

#include "math/Vector.h"

struct ShotOutcome {
    std::list<Vector> trajectory;          // cannon nose first, impact last
    std::set<Vector> removedBlocks;        // cells the spell destroyed
    std::map<Vector, int> fallingBlocks;   // cell before the fall -> cells fallen
    std::map<int, int> playerFalls;        // player id -> cells fallen
    std::map<int, double> damages;         // player id -> damage, fall damage included
    std::set<int> killedPlayers;           // alive before the shot, dead after it
};
