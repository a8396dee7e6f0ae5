// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a replay file, one line at a time: the two header lines, a
// command with its tick, and a shot's digest. Writing gives exactly the values
// back on reading (numbers in their shortest exact form, names with every byte
// outside letters, digits and . _ ' - as %XX). Reading checks every word: kinds,
// counts, ranges and sizes, and says what is wrong with a line that is not
// right; it never trusts a number it has not bounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/GameCommand.h"

// The longest line a replay may hold, in bytes; the longest a game writes (a
// battlefield of 64 casters with the longest names) is far shorter.
constexpr std::size_t MAX_REPLAY_LINE = 8192;
// The largest tick a line may carry: about 31 years of milliseconds.
constexpr long MAX_REPLAY_TICK = 1000000000000L;

namespace ReplayFormat {

// "kestrune-replay 1", "game 0.2.0".
std::string formatHeader();
std::string formatGameVersion(const std::string& version);

// "1520 aim 0 30 15 4.5": the tick, then the command. Only the commands a
// game tells its listeners are written (a new battlefield of any kind is a
// whole battlefield with its seed); the others give "".
std::string formatStep(long tick, const GameCommand& command);
// "digest 3 9f2c4a1b00e3d571"
std::string formatDigest(int shot, std::uint64_t digest);

// The format version of a first line, or nothing (problem says why).
std::optional<int> parseHeader(std::string_view line, std::string& problem);
// The game version of a second line.
std::optional<std::string> parseGameVersion(std::string_view line, std::string& problem);
// A step line: its tick and command.
struct Step {
    long tick = 0;
    GameCommand command;
};
std::optional<Step> parseStep(std::string_view line, std::string& problem);
// A digest line: the shot's number and the digest.
struct Digest {
    int shot = 0;
    std::uint64_t value = 0;
};
std::optional<Digest> parseDigest(std::string_view line, std::string& problem);
// True when the line is a digest line rather than a step.
bool isDigestLine(std::string_view line);

// A name as one word and back; nothing for a word that is not one.
std::string encodeName(const std::string& name);
std::optional<std::string> decodeName(std::string_view word);

} // namespace ReplayFormat
