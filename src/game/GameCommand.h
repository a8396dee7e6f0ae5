// SPDX-License-Identifier: GPL-3.0-or-later
// What can change a game, as one value: a new battlefield, an aim, a spell, a
// cast, a pass, and each setting of the rules the console can change. Keys,
// the joystick, the console, the new-game screen, computer players and replays
// all make these; Game::apply is the one place that carries them out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ai/ComputerLevel.h"
#include "math/Vector.h"
#include "settings/GameSetup.h"

// Everything a battlefield starts from: the rules' settings, the casters and
// who plays them. With a seed, it gives the same battlefield every time.
struct BattlefieldSetup {
    int width = 15;
    int depth = 15;
    int height = 20;
    int players = 4;
    // Of every caster's box and cannon.
    double playerWidth = 1.0;
    double playerHeight = 1.8;
    Vector cannonOffset{0.5, 0.9, 0.5};
    double cannonLength = 1.15;
    bool windEnabled = false;
    Vector gravity{0, -0.98, 0};
    double radius = 3.0;          // of the fireball
    std::string spell = "fireball"; // the chosen spell
    // Per player id; "" for a name drawn at random when the battlefield starts.
    std::vector<std::string> names;
    // Per player id, MAX_PLAYERS of them or fewer (the rest human): the level
    // of a computer player, nothing for a human.
    std::vector<std::optional<ComputerLevel>> kinds;

    bool operator==(const BattlefieldSetup& other) const;
    bool operator!=(const BattlefieldSetup& other) const { return !(*this == other); }
};

namespace Command {

// A battlefield from a whole set-up: what every other new battlefield comes
// down to, and what a replay or another machine is told.
struct Battlefield {
    BattlefieldSetup setup;
    std::optional<std::uint32_t> seed; // drawn by the game when missing
};
// "r": a new battlefield of the same set-up, the casters keeping their names.
struct NewBattlefield {
    std::optional<std::uint32_t> seed;
};
// The new-game screen's start.
struct StartSetup {
    GameSetup setup;
    std::optional<std::uint32_t> seed;
};
// "set players": count new casters of this size, with new names.
struct Players {
    long count = 0;
    double width = 0.0;
    double height = 0.0;
    Vector cannonOffset;
    double cannonLength = 0.0;
    std::optional<std::uint32_t> seed;
};
// "set grid": width, depth, height.
struct Grid {
    long width = 0;
    long depth = 0;
    long height = 0;
    std::optional<std::uint32_t> seed;
};
// "enable/disable wind".
struct WindEnabled {
    bool enabled = false;
    std::optional<std::uint32_t> seed;
};
struct Aim {
    int player = 0;
    double yaw = 0.0;   // degrees
    double pitch = 0.0; // degrees
    double power = 0.0; // 0 to 100
};
struct Spell {
    std::string name;
};
struct Cast {
    int player = 0;
};
// The turn passes to the next living caster without a cast.
struct Pass {
    int player = 0;
};
struct Gravity {
    Vector value;
};
// Lasts until the next battlefield.
struct Wind {
    Vector value;
};
struct Radius {
    double value = 0.0;
};
struct Name {
    long player = 0;
    std::string name;
};
// A player, or every one, becomes a computer player of a level or a human.
struct Kind {
    std::optional<int> player;          // nothing: every id
    std::optional<ComputerLevel> level; // nothing: human
};

} // namespace Command

using GameCommand =
    std::variant<Command::Battlefield, Command::NewBattlefield, Command::StartSetup, Command::Players,
                 Command::Grid, Command::WindEnabled, Command::Aim, Command::Spell, Command::Cast,
                 Command::Pass, Command::Gravity, Command::Wind, Command::Radius, Command::Name,
                 Command::Kind>;

// True for the commands that start a new battlefield.
bool startsBattlefield(const GameCommand& command);
