// SPDX-License-Identifier: GPL-3.0-or-later
// A battlefield as one plain value: the grid, the players as they stand, the
// settings of the next battlefield and the random stream. What one model hands
// another that must become equal to it (a client that fell out of step with
// its server); ArenaModel::getState and ArenaModel::adoptState.
#pragma once

#include <cstdint>
#include <vector>

#include "game/RandomStream.h"
#include "math/Vector.h"
#include "model/Player.h"

struct ArenaState {
    int width = 0;
    int depth = 0;
    int height = 0;
    // One bit a cell, eight cells a byte from the lowest bit, in the grid's
    // own order: x, then z, then y fastest. Empty: no grid yet (before the
    // first battlefield); else (width * depth * height + 7) / 8 bytes.
    std::vector<std::uint8_t> cells;
    // In id order, with their names, places, sizes, hit points and looks.
    std::vector<Player> players;
    // The settings of the next battlefield: its number of players and the
    // sizes they are given.
    int numberOfPlayers = 0;
    double playerWidth = 1.0;
    double playerHeight = 1.8;
    Vector cannonOffset{0.5, 0.9, 0.5};
    double cannonLength = 1.15;
    Vector gravity{0, -0.98, 0};
    Vector wind;
    bool windEnabled = false;
    // Where the stream stands: the next battlefield drawn without a seed
    // draws it from here.
    RandomStream random{0};
};
