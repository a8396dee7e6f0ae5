// SPDX-License-Identifier: GPL-3.0-or-later
// What a new game is made of: how many casters, each one human or computer
// and how it is called, the battlefield's size, whether the wind blows, and
// how much the aiming sight shows.
// The set-up screen edits one, the settings file remembers one and the
// command line changes one; the controller starts a game from it.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "ai/ComputerLevel.h"
#include "settings/AimingHelp.h"

// The set-up screen offers from 2 to 8 casters.
constexpr int MIN_SETUP_PLAYERS = 2;
constexpr int MAX_SETUP_PLAYERS = 8;
// The longest name a caster may be given.
constexpr std::size_t MAX_NAME_LENGTH = 20;

struct SeatSetup {
    std::optional<ComputerLevel> computer; // nothing for a human
    std::string name;                      // empty: drawn at random
    bool operator==(const SeatSetup& other) const
    {
        return computer == other.computer && name == other.name;
    }
};

struct GameSetup {
    // Today's game: four humans with names drawn at random, on a battlefield
    // 15 wide, 15 deep and 20 high, without wind, with the short sight.
    int players = 4;
    std::array<SeatSetup, MAX_SETUP_PLAYERS> seats{};
    int width = 15;
    int depth = 15;
    int height = 20;
    bool wind = false;
    // The view's, not the rules': a game started from this set-up plays the
    // same whatever it says.
    AimingHelp aimingHelp = AimingHelp::shortPath;
    bool operator==(const GameSetup& other) const
    {
        return players == other.players && seats == other.seats && width == other.width
               && depth == other.depth && height == other.height && wind == other.wind
               && aimingHelp == other.aimingHelp;
    }
    bool operator!=(const GameSetup& other) const { return !(*this == other); }
};

// A character a caster's name may hold: letters, digits, blanks and - ' . _
bool isNameCharacter(char c);
// Why a name cannot be given (empty for a good one): too long, a character
// outside the ones above, nothing but blanks, or a blank at either end.
std::string nameProblem(const std::string& name);
// Why these sides cannot make a battlefield for this many casters (empty when
// they can): the model's own limits on size and room.
std::string battlefieldProblem(long width, long depth, long height, long players);
