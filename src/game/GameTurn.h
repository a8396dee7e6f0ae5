// SPDX-License-Identifier: GPL-3.0-or-later
// The turn a game keeps beside its battlefield, as one plain value: every
// caster's aim, whose turn it is, the spell, the fireball's radius, the
// winner's flag, who plays as a computer, the casts so far and the seed the
// battlefield came from. Game::getTurn and Game::adoptState.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ai/ComputerLevel.h"

struct GameTurn {
    // Per player id, one each.
    std::vector<double> yaws;    // degrees
    std::vector<double> pitches; // degrees
    std::vector<double> powers;  // 0 to 100
    int currentPlayer = 0;
    std::string weapon = "fireball";
    double radiusBombSize = 3.0;
    bool lastManStanding = false;
    // Per id, MAX_PLAYERS of them: a computer player's level, nothing for a human.
    std::vector<std::optional<ComputerLevel>> computerLevels;
    int shotCount = 0;
    std::uint32_t battlefieldSeed = 0;
};
