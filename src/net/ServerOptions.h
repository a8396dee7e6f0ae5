// SPDX-License-Identifier: GPL-3.0-or-later
// The headless server's command line: the port, the battlefield and its
// seats, the seed, the turn clock, a password and a replay file. Unlike the
// game's, it refuses what it does not understand: a server started with a
// typo should not serve a game nobody asked for.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "net/GameServer.h"

struct ServerOptions {
    ServerSettings settings;
    bool help = false;
    bool version = false;
};

// The options, or nothing after one line on err saying which word is wrong.
std::optional<ServerOptions> parseServerOptions(int argc, const char* const* argv, std::ostream& err);

// Every option with its help.
void printServerUsage(std::ostream& out);
