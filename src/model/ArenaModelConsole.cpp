// SPDX-License-Identifier: GPL-3.0-or-later
// The model's console commands: players, grid, gravity and wind. Values the
// battlefield cannot hold are refused with a line saying why. In a game the
// commands go to the game to be applied; a model of its own applies them.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>
#include <string>

#include <boost/regex.hpp>

#include "console/ConsoleTable.h"
#include "game/CommandSink.h"
#include "model/ArenaModel.h"
#include "settings/GameSetup.h"

namespace {

// Starts the model's echo and every one of its refusals.
const char* const MODEL_PREFIX = "Model: ";

// A whole number as atoi reads it, saturating instead of overflowing.
long readWhole(const std::string& text)
{
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return value;
}

double readReal(const std::string& text)
{
    return std::atof(text.c_str());
}

bool finite(const Vector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

std::string ArenaModel::crowdingProblem(long gridWidth, long gridDepth, long gridHeight,
                                        long count, double newPlayerWidth)
{
    // Every column leaves its top layers empty, except on a grid one layer
    // high, where the floor is the top.
    const long freeColumns = gridHeight >= 2 ? gridWidth * gridDepth : 0;
    // A box wider than a cell covers several columns.
    const double sideCells = std::fmin(std::ceil(std::fmax(newPlayerWidth, 1.0)), MAX_GRID_SIDE + 1.0);
    const long side = static_cast<long>(sideCells);
    const long needed = count * side * side;
    if (freeColumns >= needed) {
        return "";
    }
    std::ostringstream why;
    why << "a " << gridWidth << " x " << gridDepth << " x " << gridHeight << " grid has "
        << freeColumns << " free columns, too few for " << count << " players of width "
        << newPlayerWidth << " (" << needed << " needed)";
    return why.str();
}

std::string ArenaModel::gridProblem(long gridWidth, long gridDepth, long gridHeight, long count,
                                    double newPlayerWidth)
{
    if (gridWidth < 1 || gridDepth < 1 || gridHeight < 1) {
        return "every side needs at least one cell";
    }
    if (gridWidth > MAX_GRID_SIDE || gridDepth > MAX_GRID_SIDE || gridHeight > MAX_GRID_SIDE
        || gridWidth * gridDepth * gridHeight > MAX_GRID_CELLS) {
        std::ostringstream why;
        why << "at most " << MAX_GRID_SIDE << " cells a side and " << MAX_GRID_CELLS << " cells in all";
        return why.str();
    }
    return crowdingProblem(gridWidth, gridDepth, gridHeight, count, newPlayerWidth);
}

std::string ArenaModel::playersProblem(long count, double newWidth, double newHeight,
                                       const Vector& newCannonOffset, double newCannonLength) const
{
    if (count < 1 || count > MAX_PLAYERS) {
        std::ostringstream why;
        why << count << " players refused: from 1 to " << MAX_PLAYERS << " players can play";
        return why.str();
    }
    if (!std::isfinite(newWidth) || !std::isfinite(newHeight) || !finite(newCannonOffset)
        || !std::isfinite(newCannonLength)) {
        return "player sizes refused: every value must be a finite number";
    }
    if (newWidth <= 0.0 || newHeight <= 0.0) {
        return "player sizes refused: a player needs a width and a height above 0";
    }
    if (newCannonLength == 0.0) {
        return "player sizes refused: a cannon of length 0 cannot aim";
    }
    std::string crowding = crowdingProblem(width, depth, height, count, newWidth);
    if (!crowding.empty()) {
        return "players refused: " + crowding;
    }
    return "";
}

std::string ArenaModel::gridSizeProblem(long newWidth, long newDepth, long newHeight) const
{
    const std::string problem = gridProblem(newWidth, newDepth, newHeight, numberOfPlayers, playerWidth);
    if (problem.empty()) {
        return "";
    }
    std::ostringstream size;
    size << newWidth << " x " << newDepth << " x " << newHeight;
    return "grid " + size.str() + " refused: " + problem;
}

std::string ArenaModel::renameProblem(long id, const std::string& name) const
{
    if (id < 0 || id >= getNumberOfPlayers()) {
        std::ostringstream why;
        why << "no player " << id << " to rename: ids run from 0 to " << getNumberOfPlayers() - 1;
        return why.str();
    }
    const std::string problem = nameProblem(name);
    return problem.empty() ? "" : "name refused: " + problem;
}

void ArenaModel::setPlayers(long count, double newWidth, double newHeight,
                            const Vector& newCannonOffset, double newCannonLength)
{
    if (const std::string problem = playersProblem(count, newWidth, newHeight, newCannonOffset, newCannonLength);
        !problem.empty()) {
        refuse(problem);
        return;
    }
    setNumberOfPlayers(static_cast<int>(count));
    setPlayerSizes(newWidth, newHeight, newCannonOffset, newCannonLength);
    initPlayers();
    reset();
}

void ArenaModel::setGrid(long newWidth, long newDepth, long newHeight)
{
    if (const std::string problem = gridSizeProblem(newWidth, newDepth, newHeight); !problem.empty()) {
        refuse(problem);
        return;
    }
    setGridSize(static_cast<int>(newWidth), static_cast<int>(newDepth), static_cast<int>(newHeight));
    reset();
}

void ArenaModel::renamePlayer(long id, const std::string& name)
{
    if (const std::string problem = renameProblem(id, name); !problem.empty()) {
        refuse(problem);
        return;
    }
    players[static_cast<std::size_t>(id)].setName(name);
}

void ArenaModel::setNumberOfPlayers(int count)
{
    numberOfPlayers = count;
}

void ArenaModel::setPlayerSizes(double newWidth, double newHeight, const Vector& newCannonOffset,
                                double newCannonLength)
{
    playerWidth = newWidth;
    playerHeight = newHeight;
    cannonOffset = newCannonOffset;
    cannonLength = newCannonLength;
}

void ArenaModel::setGridSize(int newWidth, int newDepth, int newHeight)
{
    freeTerrain();
    width = newWidth;
    depth = newDepth;
    height = newHeight;
}

void ArenaModel::refuse(const std::string& why) const
{
    ConsolePatterns::refuse(MODEL_PREFIX, why, *output);
}

void ArenaModel::request(const GameCommand& command)
{
    if (commandSink != nullptr) {
        if (const std::string problem = commandSink->submit(command); !problem.empty()) {
            refuse(problem);
        }
        return;
    }
    // A model of its own: the console acts here.
    if (const auto* players = std::get_if<Command::Players>(&command)) {
        setPlayers(players->count, players->width, players->height, players->cannonOffset, players->cannonLength);
    } else if (const auto* grid = std::get_if<Command::Grid>(&command)) {
        setGrid(grid->width, grid->depth, grid->height);
    } else if (const auto* name = std::get_if<Command::Name>(&command)) {
        renamePlayer(name->player, name->name);
    } else if (const auto* newGravity = std::get_if<Command::Gravity>(&command)) {
        gravity = newGravity->value;
    } else if (const auto* newWind = std::get_if<Command::Wind>(&command)) {
        wind = newWind->value;
    } else if (const auto* enabled = std::get_if<Command::WindEnabled>(&command)) {
        windEnabled = enabled->enabled;
        reset();
    }
}

// The rows of the model's console table, in the order they are tried. A
// friend of the model: the actions reach its requests and refusals.
struct ArenaModelConsoleRows {
    using Groups = boost::smatch;
    using Rows = std::vector<ConsoleTable<ArenaModel>::Row>;

    // The players: their number and sizes, and their names.
    static Rows players()
    {
        return {
            {"set players (\\d+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+)",
             {"set players numberOfPlayers width height cannon-dx cannon-dy cannon-dz cannon-length",
              "  set players 4 1 1 .5 1 0 1"},
             [](ArenaModel& model, const Groups& g) {
                 model.request(Command::Players{readWhole(g[1]), readReal(g[2]), readReal(g[3]),
                                                Vector(readReal(g[4]), readReal(g[5]), readReal(g[6])),
                                                readReal(g[7]), {}});
             }},
            {"set players (\\d+)",
             {},
             [](ArenaModel& model, const Groups& g) {
                 model.request(Command::Players{readWhole(g[1]), model.playerWidth, model.playerHeight,
                                                model.cannonOffset, model.cannonLength, {}});
             }},
            {"set players (\\d+) (\\S+)",
             {"set players numberOfPlayers scale"},
             [](ArenaModel& model, const Groups& g) {
                 double scale = readReal(g[2]);
                 model.request(Command::Players{readWhole(g[1]), scale, scale * 1.8, Vector(scale * 0.5, scale, 0),
                                                scale, {}});
             }},
            {"set player (\\d+) (.+)",
             {"set player id name"},
             [](ArenaModel& model, const Groups& g) { model.request(Command::Name{readWhole(g[1]), g[2]}); }},
        };
    }

    // The grid, gravity and wind.
    static Rows battlefield()
    {
        return {
            {"set grid (\\d+) (\\d+) (\\d+)",
             {"set grid width depth height"},
             [](ArenaModel& model, const Groups& g) {
                 model.request(Command::Grid{readWhole(g[1]), readWhole(g[2]), readWhole(g[3]), {}});
             }},
            {"set gravity (\\S+) (\\S+) (\\S+)",
             {"set gravity x y z", "  set gravity  0 0.98 0"},
             [](ArenaModel& model, const Groups& g) {
                 Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
                 if (!finite(value)) {
                     model.refuse("gravity refused: x, y and z must be finite numbers");
                     return;
                 }
                 model.request(Command::Gravity{value});
             }},
            {"set wind (\\S+) (\\S+) (\\S+)",
             {"set wind x y z"},
             [](ArenaModel& model, const Groups& g) {
                 Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
                 if (!finite(value)) {
                     model.refuse("wind refused: x, y and z must be finite numbers");
                     return;
                 }
                 model.request(Command::Wind{value});
             }},
            {"enable (\\w+)",
             {"enable/disable wind"},
             [](ArenaModel& model, const Groups& g) {
                 if (g[1] == "wind") {
                     model.request(Command::WindEnabled{true, {}});
                 }
             }},
            {"disable (\\w+)",
             {},
             [](ArenaModel& model, const Groups& g) {
                 if (g[1] == "wind") {
                     model.request(Command::WindEnabled{false, {}});
                 }
             }},
        };
    }
};

bool ArenaModel::handleConsoleCommand(std::string line)
{
    // Tried in order; the first whole-line match acts. Built once and shared
    // by every model: a row acts on the model it is handed, so a copy of a
    // model acts on the copy.
    static const ConsoleTable<ArenaModel> commands(MODEL_PREFIX, [] {
        ArenaModelConsoleRows::Rows rows = ArenaModelConsoleRows::players();
        for (ConsoleTable<ArenaModel>::Row& row : ArenaModelConsoleRows::battlefield()) {
            rows.push_back(std::move(row));
        }
        return rows;
    }());
    return commands.handle(*this, line, *output);
}
