// SPDX-License-Identifier: GPL-3.0-or-later
// The observer interface through which the model reports the battlefield: a new
// map, each player, and each resolved shot. The view and the controller
// implement it; the model holds them as plain pointers and never deletes them.
#pragma once

#include <list>
#include <map>
#include <set>

#include "math/Vector.h"

class Player;
class Projectile;

class ArenaModelListener {
public:
    virtual ~ArenaModelListener() = default;

    // A new battlefield. terrain is indexed [x][z][y], true for a solid block,
    // and is valid only during the call: copy what you need. Extents come in
    // the order width (x), depth (z), height (y).
    virtual void onNewMap(int width, int depth, int height, bool*** terrain,
                          const Vector& wind) = 0;

    // One player of the new battlefield, placed and at full hit points (or
    // as they stand, when the model adopts another machine's state). The
    // reference stays valid until the model rebuilds its players, which is
    // always followed by a new onNewMap.
    virtual void onPlayer(int id, Player& player) = 0;

    // A shot, fully applied to the model. Everything passed is valid only
    // during the call. trajectory: cannon nose first, impact last.
    // removedBlocks: cells the spell destroyed. fallingBlocks: cell before the
    // fall -> cells fallen. playerFalls: id -> cells fallen. damages: id ->
    // damage dealt, fall damage included (dead players keep their entry).
    // killedPlayers: alive before the shot, dead after it.
    virtual void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                              std::set<Vector>& removedBlocks,
                              std::map<Vector, int>& fallingBlocks,
                              std::map<int, int>& playerFalls, std::map<int, double>& damages,
                              std::set<int>& killedPlayers) = 0;
};
