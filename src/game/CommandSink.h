// SPDX-License-Identifier: GPL-3.0-or-later
// Where a command goes to be applied: the game itself, or whatever stands in
// front of it (the controller, which holds the game while a replay plays).
#pragma once

#include <string>

#include "game/GameCommand.h"

class CommandSink {
public:
    virtual ~CommandSink() = default;

    // Applies the command, or says why it was not (nothing changed then); the
    // caller writes the refusal, with its own prefix.
    virtual std::string submit(const GameCommand& command) = 0;
};
