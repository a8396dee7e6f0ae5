// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's console commands as one table, each row's action a command
// to the game.
#include "controller/ControllerCommands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "ai/ComputerLevel.h"
#include "controller/TurnClock.h"
#include "game/CommandSink.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "net/ChatText.h"

namespace {

// The console's keys come as Latin-1 bytes (the window system's encoding of a
// key's character); a line said goes on as UTF-8.
std::string latin1ToUtf8(const std::string& text)
{
    std::string utf8;
    for (unsigned char byte : text) {
        if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
        } else {
            utf8 += static_cast<char>(0xc0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    return utf8;
}

} // namespace

ControllerCommands::ControllerCommands(Game& game, CommandSink& sink, TurnClock& turnClock, Say say)
    : game(game), model(game.getModel()), sink(sink), turnClock(turnClock), sayLine(std::move(say))
{
}

const ConsoleTable<ControllerCommands>& ControllerCommands::commands()
{
    // Tried in order; the first whole-line match acts.
    static const ConsoleTable<ControllerCommands> table("Controller: ", {
        {"set radius_bomb_size (\\S+)",
         {"set radius_bomb_size size"},
         [](ControllerCommands& owner, const boost::smatch& g) { owner.setRadius(g[1]); }},
        {"set computer (\\S+) (\\S+)",
         {"set computer id/all easy/normal/hard"},
         [](ControllerCommands& owner, const boost::smatch& g) { owner.setKind(g[1], g[2].str()); }},
        {"set human (\\S+)",
         {"set human id/all"},
         [](ControllerCommands& owner, const boost::smatch& g) { owner.setKind(g[1], std::nullopt); }},
        {"set turntime (\\S+)",
         {"set turntime seconds (0: no limit)"},
         [](ControllerCommands& owner, const boost::smatch& g) { owner.setTurnTime(g[1]); }},
        {"say(\\s.*)?",
         {"say text"},
         [](ControllerCommands& owner, const boost::smatch&) { owner.say(); }},
    });
    return table;
}

bool ControllerCommands::handle(const std::string& line)
{
    typed = line;
    return commands().handle(*this, line);
}

void ControllerCommands::setRadius(const std::string& word)
{
    const double size = std::atof(word.c_str());
    // A radius that is not a finite number, or below zero, would make every
    // damage of the blast meaningless.
    if (!std::isfinite(size) || size < 0.0) {
        commands().refuse("radius bomb size " + word + " refused: it must be a number of 0 or more");
        return;
    }
    if (const std::string why = sink.submit(Command::Radius{size}); !why.empty()) {
        commands().refuse(why);
        return;
    }
    std::cout << "Radius Bomb Size Setted to " << game.getRadiusBombSize() << std::endl;
}

void ControllerCommands::setKind(const std::string& ids, const std::optional<std::string>& levelWord)
{
    std::optional<ComputerLevel> level;
    if (levelWord) {
        level = parseLevel(*levelWord);
        if (!level) {
            commands().refuse("level " + *levelWord + " refused: easy, normal or hard");
            return;
        }
    }
    std::optional<int> id;
    if (const std::string why = readPlayerIds(ids, id); !why.empty()) {
        commands().refuse(why);
        return;
    }
    if (const std::string why = sink.submit(Command::Kind{id, level}); !why.empty()) {
        commands().refuse(why);
        return;
    }
    const std::string who = id ? "Player " + std::to_string(*id) + " is" : std::string("Every player is");
    const std::string kind = level ? " a computer player (" + std::string(levelName(*level)) + ")" : " a human player";
    std::cout << who << kind << std::endl;
}

std::string ControllerCommands::readPlayerIds(const std::string& word, std::optional<int>& id) const
{
    if (word == "all") {
        id.reset();
        return "";
    }
    const int count = model.getNumberOfPlayers();
    const bool digits = !word.empty() && word.size() <= 9
                     && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int number = digits ? std::atoi(word.c_str()) : -1;
    if (number < 0 || number >= count) {
        if (count == 0) {
            return "player " + word + " refused: there are no players on this battlefield";
        }
        return "player " + word + " refused: ids run from 0 to " + std::to_string(count - 1) + ", or all";
    }
    id = number;
    return "";
}

void ControllerCommands::setTurnTime(const std::string& word)
{
    char* end = nullptr;
    const double seconds = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !TurnClock::isUsableTurnTime(seconds)) {
        commands().refuse("turn time " + word + " refused: it must be a number of seconds from 0 (no limit) to "
                          + std::to_string(static_cast<int>(TurnClock::MAX_TURN_TIME)));
        return;
    }
    turnClock.setTurnTime(seconds);
    if (seconds == 0.0) {
        std::cout << "Turn time off: a turn lasts until its cast" << std::endl;
    } else {
        std::cout << "Turn time set to " << seconds << " seconds" << std::endl;
    }
}

void ControllerCommands::say()
{
    // The word "say" in any case, after any blanks; what follows, as typed.
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto word = std::find_if_not(typed.begin(), typed.end(), blank);
    const std::string text = cleanChatText(latin1ToUtf8(std::string(word + 3, typed.end())));
    if (text.empty()) {
        commands().refuse("say refused: there is nothing to say");
        return;
    }
    sayLine(text);
}
