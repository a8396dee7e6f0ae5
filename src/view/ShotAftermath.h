// SPDX-License-Identifier: GPL-3.0-or-later
// What followed a shot's impact, as the model reports it, for the view to show: the blocks
// it destroyed, the blocks and players that fall and by how many cells, the
// damage each player took and who died. Not owned: the report's own lists.
#pragma once

#include <map>
#include <set>

#include "math/Vector.h"

struct ShotAftermath {
    const std::set<Vector>& removedBlocks;
    const std::map<Vector, int>& fallingBlocks; // cell -> cells it falls
    const std::map<int, int>& playerFalls;      // player id -> cells it falls
    const std::map<int, double>& damages;       // player id -> hit points lost
    const std::set<int>& killedPlayers;
};
