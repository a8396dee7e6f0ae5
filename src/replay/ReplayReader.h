// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a replay file whole, with every bound set before a byte is trusted: a
// regular file only (never a folder, a FIFO or a device), of at most
// MAX_REPLAY_BYTES, lines of printable ASCII of at most MAX_REPLAY_LINE bytes,
// each a step or a digest in order. What is wrong comes back as one line
// naming the file and the line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "replay/Replay.h"

// The largest replay file read: hours of play take a few megabytes.
constexpr std::size_t MAX_REPLAY_BYTES = 32u * 1024u * 1024u;

namespace ReplayReader {

// The replay in the file at path, or nothing and why ("FILE:LINE: what").
std::optional<Replay> read(const std::string& path, std::string& problem);
// The same for a file's text, named name in what it says.
std::optional<Replay> parse(std::string_view text, const std::string& name, std::string& problem);

} // namespace ReplayReader
