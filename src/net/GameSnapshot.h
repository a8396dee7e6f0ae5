// SPDX-License-Identifier: GPL-3.0-or-later
// The whole state of a game as bytes: what a server sends a client that fell
// out of step, and the client's adoption of it. Everything the digest and the
// next commands depend on: the grid, the players, the settings, the random
// stream and the turn. A version byte and the inflated size, then a zlib
// stream of the fields, integers big-endian, numbers as IEEE doubles, the
// grid's cells eight to a byte. Reading trusts nothing: the inflated size is
// bounded by the largest battlefield's state, and every field is checked
// before anything of the game changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ArenaModel.h"
#include "settings/GameSetup.h"

class Game;

// The layout below; a state of another version is refused.
constexpr std::uint8_t GAME_STATE_VERSION = 1;
// The random stream's text, and a spell's name, at most.
constexpr std::size_t MAX_RANDOM_STATE_TEXT = 8192;
constexpr std::size_t MAX_SPELL_NAME_TEXT = 32;
// The largest state once inflated: the largest grid, the most players with
// the longest names, the longest random text and spell name.
constexpr std::size_t MAX_GAME_STATE_BYTES =
    3 * 2 + 1 + (static_cast<std::size_t>(MAX_GRID_CELLS) + 7) / 8 // extents, grid flag, cells
    + 2 + 12 * 8 + 1                                                // next players, gravity, wind
    + 2 + MAX_RANDOM_STATE_TEXT                                     // random stream
    + 2 + static_cast<std::size_t>(MAX_PLAYERS) * (1 + MAX_NAME_LENGTH + 11 * 8) // players
    + 2 + static_cast<std::size_t>(MAX_PLAYERS) * 3 * 8             // aims
    + 2 + 1 + MAX_SPELL_NAME_TEXT + 8 + 1                           // turn, spell, radius, winner flag
    + static_cast<std::size_t>(MAX_PLAYERS) + 4 + 4;                // levels, shots, seed

// The whole state of the game and its model, compressed.
std::vector<std::uint8_t> saveGameState(const Game& game);

// Makes game equal to the one the bytes were saved from, told to its
// listeners as a new battlefield and its turn are (Game::adoptState); not a
// command. Returns "" or one line saying why not, the game then unchanged.
std::string adoptGameState(Game& game, const std::uint8_t* data, std::size_t size);
