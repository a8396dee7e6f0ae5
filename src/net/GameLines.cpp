// SPDX-License-Identifier: GPL-3.0-or-later
// A window's lines of a battlefield and its shots, without the window.
#include "net/GameLines.h"

#include <ostream>

#include "model/Player.h"

GameLines::GameLines(std::ostream& out)
    : out(out)
{
}

void GameLines::onNewMap(int width, int depth, int height, bool***, const Vector&)
{
    out << "New Map: " << width << " " << depth << " " << height << std::endl;
}

void GameLines::onPlayer(int id, Player& player)
{
    out << "On player " << id << ": " << player << std::endl;
}

void GameLines::onProjectile(int, Projectile*, std::list<Vector>&, std::set<Vector>&, std::map<Vector, int>&,
                             std::map<int, int>&, std::map<int, double>&, std::set<int>& killedPlayers)
{
    out << "Dead Players: " << killedPlayers.size() << std::endl;
    for (int id : killedPlayers) {
        out << id << std::endl;
    }
}

void GameLines::onLastManStanding(int id)
{
    out << "Last man standing " << id << std::endl;
}
