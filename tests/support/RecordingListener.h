// SPDX-License-Identifier: GPL-3.0-or-later
// A model listener for tests: records every event as a line of text and keeps
// copies of what it was told, so that order and contents can be checked.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ArenaModelListener.h"
#include "model/Player.h"

class RecordingListener : public ArenaModelListener {
public:
    explicit RecordingListener(std::string name = "listener")
        : name(std::move(name))
    {
    }

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override
    {
        events.push_back(name + ".onNewMap(" + std::to_string(width) + ", " + std::to_string(depth)
                         + ", " + std::to_string(height) + ")");
        lastWind = wind;
        // Copy the grid while it is valid, indexed [x][z][y] like the model's.
        grid.assign(width, std::vector<std::vector<bool>>(depth, std::vector<bool>(height)));
        for (int x = 0; x < width; ++x) {
            for (int z = 0; z < depth; ++z) {
                for (int y = 0; y < height; ++y) {
                    grid[x][z][y] = terrain[x][z][y];
                }
            }
        }
    }

    void onPlayer(int id, Player& player) override
    {
        events.push_back(name + ".onPlayer(" + std::to_string(id) + ")");
        playerPointers.push_back(&player);
    }

    void onProjectile(int playerId, Projectile*, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override
    {
        events.push_back(name + ".onProjectile(" + std::to_string(playerId) + ")");
        lastTrajectory = trajectory;
        lastRemovedBlocks = removedBlocks;
        lastFallingBlocks = fallingBlocks;
        lastPlayerFalls = playerFalls;
        lastDamages = damages;
        lastKilledPlayers = killedPlayers;
    }

    std::string name;
    std::vector<std::string> events;
    Vector lastWind;
    std::vector<std::vector<std::vector<bool>>> grid;
    std::vector<Player*> playerPointers;
    std::list<Vector> lastTrajectory;
    std::set<Vector> lastRemovedBlocks;
    std::map<Vector, int> lastFallingBlocks;
    std::map<int, int> lastPlayerFalls;
    std::map<int, double> lastDamages;
    std::set<int> lastKilledPlayers;
};
