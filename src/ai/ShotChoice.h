// SPDX-License-Identifier: GPL-3.0-or-later
// One computer player's decision: where to aim, with what power, and which
// spell to cast.
#pragma once

#include <string>

struct ShotChoice {
    double yaw = 0.0;   // degrees
    double pitch = 0.0; // degrees
    double power = 4.0;
    std::string spell = "fireball"; // a name from the spell table
    // The score of the chosen shot as simulated before the level's aim error,
    // and the best score among all the shots tried. A score above 0 means the
    // shot hurts the opponents more than the shooter.
    double score = 0.0;
    double bestScore = 0.0;
};
