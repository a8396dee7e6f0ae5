// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's own console commands: the radius bomb's size, who plays
// as a computer player, the turn time and a line to say. Each setting of the
// game becomes a command to it; a value the game or the command refuses is one
// line saying why, and nothing changes.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "console/ConsoleTable.h"

class ArenaModel;
class CommandSink;
class Game;
class TurnClock;

class ControllerCommands {
public:
    // What "say" hands on: the line typed, cleaned, as UTF-8.
    using Say = std::function<void(const std::string&)>;

    // game, sink, turnClock: not owned; all outlive the commands. say: where
    // a line said goes.
    ControllerCommands(Game& game, CommandSink& sink, TurnClock& turnClock, Say say);

    // Echoes the line with "Controller: " and acts if it is one of ours;
    // true when it was (help included).
    bool handle(const std::string& line);

private:
    // Shared by every instance: rows of pattern, help and action.
    static const ConsoleTable<ControllerCommands>& commands();
    void setRadius(const std::string& size);
    void setKind(const std::string& ids, const std::optional<std::string>& level);
    void setTurnTime(const std::string& seconds);
    // The line being handled as typed: what is said keeps its case.
    void say();
    // Reads a console word naming one player of this battlefield (id set) or
    // "all" (id left empty); for anything else, why it is refused.
    std::string readPlayerIds(const std::string& word, std::optional<int>& id) const;

    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    CommandSink& sink; // not owned
    TurnClock& turnClock; // not owned
    Say sayLine;
    std::string typed; // the line being handled, as typed
};
