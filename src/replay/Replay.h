// SPDX-License-Identifier: GPL-3.0-or-later
// A replay as read from its file: the game version that wrote it, and every
// command with the tick of the game clock it was applied at, each cast with the
// digest of the battlefield and the players that followed it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/GameCommand.h"

// The version of the file's format that this game writes and reads.
constexpr int REPLAY_FORMAT_VERSION = 1;
// The first word of every replay file, and its name's ending in the folder.
constexpr const char* REPLAY_MAGIC = "kestrune-replay";
constexpr const char* REPLAY_EXTENSION = ".replay";

struct ReplayStep {
    int line = 0;      // of the file, from 1
    long tick = 0;     // of the game clock (milliseconds at speed 1), from the file's start
    GameCommand command;
    // A cast's: the shot's number on its battlefield and the digest after it,
    // from the digest line that followed it (none when the file ends first).
    std::optional<std::uint64_t> digest;
    int digestLine = 0;
};

struct Replay {
    std::string name;        // the file as the user named it
    std::string gameVersion; // of the game that wrote it
    std::vector<ReplayStep> steps; // the first starts a battlefield
    // The casts in all.
    int countShots() const;
};
