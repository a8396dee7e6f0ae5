// SPDX-License-Identifier: GPL-3.0-or-later
// The model's console commands: players, grid, gravity and wind. Values the
// battlefield cannot hold are refused with a line saying why.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include <boost/regex.hpp>

#include "console/ConsoleTable.h"
#include "model/ArenaModel.h"

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

void refuse(const std::string& why)
{
    ConsolePatterns::refuse(MODEL_PREFIX, why);
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

void ArenaModel::setPlayers(long count, double newWidth, double newHeight,
                            const Vector& newCannonOffset, double newCannonLength)
{
    if (count < 1 || count > MAX_PLAYERS) {
        std::ostringstream why;
        why << count << " players refused: from 1 to " << MAX_PLAYERS << " players can play";
        refuse(why.str());
        return;
    }
    if (!std::isfinite(newWidth) || !std::isfinite(newHeight) || !finite(newCannonOffset)
        || !std::isfinite(newCannonLength)) {
        refuse("player sizes refused: every value must be a finite number");
        return;
    }
    if (newWidth <= 0.0 || newHeight <= 0.0) {
        refuse("player sizes refused: a player needs a width and a height above 0");
        return;
    }
    if (newCannonLength == 0.0) {
        refuse("player sizes refused: a cannon of length 0 cannot aim");
        return;
    }
    std::string crowding = crowdingProblem(width, depth, height, count, newWidth);
    if (!crowding.empty()) {
        refuse("players refused: " + crowding);
        return;
    }
    numberOfPlayers = static_cast<int>(count);
    playerWidth = newWidth;
    playerHeight = newHeight;
    cannonOffset = newCannonOffset;
    cannonLength = newCannonLength;
    initPlayers();
    reset();
}

void ArenaModel::setGrid(long newWidth, long newDepth, long newHeight)
{
    const std::string problem = gridProblem(newWidth, newDepth, newHeight, numberOfPlayers, playerWidth);
    if (!problem.empty()) {
        std::ostringstream size;
        size << newWidth << " x " << newDepth << " x " << newHeight;
        refuse("grid " + size.str() + " refused: " + problem);
        return;
    }
    freeTerrain();
    width = static_cast<int>(newWidth);
    depth = static_cast<int>(newDepth);
    height = static_cast<int>(newHeight);
    reset();
}

void ArenaModel::renamePlayer(long id, const std::string& name)
{
    if (id < 0 || id >= getNumberOfPlayers()) {
        std::ostringstream why;
        why << "no player " << id << " to rename: ids run from 0 to " << getNumberOfPlayers() - 1;
        refuse(why.str());
        return;
    }
    players[static_cast<std::size_t>(id)].setName(name);
}

void ArenaModel::handleConsoleCommand(std::string line)
{
    using Groups = boost::smatch;
    // Tried in order; the first whole-line match acts. Built once and shared
    // by every model: a row acts on the model it is handed, so a copy of a
    // model acts on the copy.
    static const ConsoleTable<ArenaModel> commands(MODEL_PREFIX, {
        {"set players (\\d+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+)",
         {"set players numberOfPlayers width height cannon-dx cannon-dy cannon-dz cannon-length",
          "  set players 4 1 1 .5 1 0 1"},
         [](ArenaModel& model, const Groups& g) {
             model.setPlayers(readWhole(g[1]), readReal(g[2]), readReal(g[3]),
                              Vector(readReal(g[4]), readReal(g[5]), readReal(g[6])), readReal(g[7]));
         }},
        {"set players (\\d+)",
         {},
         [](ArenaModel& model, const Groups& g) {
             model.setPlayers(readWhole(g[1]), model.playerWidth, model.playerHeight,
                              model.cannonOffset, model.cannonLength);
         }},
        {"set players (\\d+) (\\S+)",
         {"set players numberOfPlayers scale"},
         [](ArenaModel& model, const Groups& g) {
             double scale = readReal(g[2]);
             model.setPlayers(readWhole(g[1]), scale, scale * 1.8, Vector(scale * 0.5, scale, 0),
                              scale);
         }},
        {"set player (\\d+) (.+)",
         {"set player id name"},
         [](ArenaModel& model, const Groups& g) { model.renamePlayer(readWhole(g[1]), g[2]); }},
        {"set grid (\\d+) (\\d+) (\\d+)",
         {"set grid width depth height"},
         [](ArenaModel& model, const Groups& g) {
             model.setGrid(readWhole(g[1]), readWhole(g[2]), readWhole(g[3]));
         }},
        {"set gravity (\\S+) (\\S+) (\\S+)",
         {"set gravity x y z", "  set gravity  0 0.98 0"},
         [](ArenaModel& model, const Groups& g) {
             Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
             if (!finite(value)) {
                 refuse("gravity refused: x, y and z must be finite numbers");
                 return;
             }
             model.gravity = value;
         }},
        {"set wind (\\S+) (\\S+) (\\S+)",
         {"set wind x y z"},
         [](ArenaModel& model, const Groups& g) {
             Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
             if (!finite(value)) {
                 refuse("wind refused: x, y and z must be finite numbers");
                 return;
             }
             model.wind = value;
         }},
        {"enable (\\w+)",
         {"enable/disable wind"},
         [](ArenaModel& model, const Groups& g) {
             if (g[1] == "wind") {
                 model.windEnabled = true;
                 model.reset();
             }
         }},
        {"disable (\\w+)",
         {},
         [](ArenaModel& model, const Groups& g) {
             if (g[1] == "wind") {
                 model.windEnabled = false;
                 model.reset();
             }
         }},
    });
    commands.handle(*this, line);
}
