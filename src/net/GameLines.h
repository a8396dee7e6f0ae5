// SPDX-License-Identifier: GPL-3.0-or-later
// The lines a game window prints for each battlefield and shot, printed by a
// game without a window: the new map, every player, the dead players of each
// shot, the last one standing. A headless server prints what its players'
// windows print.
#pragma once

#include <iosfwd>

#include "game/GameListener.h"
#include "model/ArenaModelListener.h"

class GameLines : public ArenaModelListener, public GameListener {
public:
    // out: not owned; outlives the lines.
    explicit GameLines(std::ostream& out);

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;
    void onLastManStanding(int id) override;

private:
    std::ostream& out; // not owned
};
