// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's own console commands: the radius bomb's size and who plays
// as a computer player. Each becomes a command to the game; a value the game
// or the command refuses is one line saying why, and nothing changes.
#pragma once

#include <optional>
#include <string>

#include "console/ConsoleTable.h"

class ArenaModel;
class CommandSink;
class Game;

class ControllerCommands {
public:
    // game, sink: not owned; both outlive the commands.
    ControllerCommands(Game& game, CommandSink& sink);

    // Echoes the line with "Controller: " and acts if it is one of ours;
    // true when it was (help included).
    bool handle(const std::string& line);

private:
    // Shared by every instance: rows of pattern, help and action.
    static const ConsoleTable<ControllerCommands>& commands();
    void setRadius(const std::string& size);
    void setKind(const std::string& ids, const std::optional<std::string>& level);
    // Reads a console word naming one player of this battlefield (id set) or
    // "all" (id left empty); for anything else, why it is refused.
    std::string readPlayerIds(const std::string& word, std::optional<int>& id) const;

    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    CommandSink& sink; // not owned
};
