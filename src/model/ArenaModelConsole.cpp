// The model's console commands: players, grid, gravity and wind. Values the
// battlefield cannot hold are refused with a line saying why.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include <boost/algorithm/string.hpp>
#include <boost/regex.hpp>

#include "model/ArenaModel.h"

namespace {

const char* const MODEL_HELP[] = {
    "set players numberOfPlayers width height cannon-dx cannon-dy cannon-dz cannon-length",
    "  set players 4 1 1 .5 1 0 1",
    "set players numberOfPlayers scale",
    "set player id name",
    "set grid width depth height",
    "set gravity x y z",
    "  set gravity  0 0.98 0",
    "set wind x y z",
    "enable/disable wind",
};

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
    std::cout << "Model: " << why << std::endl;
}

// Whole-line match; a line too hostile for the matcher counts as no match.
bool matches(const std::string& line, const boost::regex& pattern, boost::smatch& groups)
{
    try {
        return boost::regex_match(line, groups, pattern);
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace

std::string ArenaModel::crowdingProblem(long gridWidth, long gridDepth, long gridHeight,
                                        long count, double newPlayerWidth) const
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
    std::ostringstream size;
    size << newWidth << " x " << newDepth << " x " << newHeight;
    if (newWidth < 1 || newDepth < 1 || newHeight < 1) {
        refuse("grid " + size.str() + " refused: every side needs at least one cell");
        return;
    }
    if (newWidth > MAX_GRID_SIDE || newDepth > MAX_GRID_SIDE || newHeight > MAX_GRID_SIDE
        || newWidth * newDepth * newHeight > MAX_GRID_CELLS) {
        std::ostringstream why;
        why << "grid " << size.str() << " refused: at most " << MAX_GRID_SIDE
            << " cells a side and " << MAX_GRID_CELLS << " cells in all";
        refuse(why.str());
        return;
    }
    std::string crowding =
        crowdingProblem(newWidth, newDepth, newHeight, numberOfPlayers, playerWidth);
    if (!crowding.empty()) {
        refuse("grid " + size.str() + " refused: " + crowding);
        return;
    }
    freeTerrain();
    width = static_cast<int>(newWidth);
    depth = static_cast<int>(newDepth);
    height = static_cast<int>(newHeight);
    reset();
}

void ArenaModel::handleConsoleCommand(std::string line)
{
    std::cout << "Model: " << line << std::endl;
    boost::algorithm::to_lower(line);
    boost::algorithm::trim(line);

    if (line == "help") {
        for (const char* help : MODEL_HELP) {
            std::cout << help << std::endl;
        }
        return;
    }

    using Groups = boost::smatch;
    struct Command {
        boost::regex pattern;
        std::function<void(const Groups&)> action;
    };
    // Tried in order; the first whole-line match acts.
    const std::vector<Command> commands = {
        {boost::regex("set players (\\d+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+)"),
         [this](const Groups& g) {
             setPlayers(readWhole(g[1]), readReal(g[2]), readReal(g[3]),
                        Vector(readReal(g[4]), readReal(g[5]), readReal(g[6])), readReal(g[7]));
         }},
        {boost::regex("set players (\\d+)"),
         [this](const Groups& g) {
             setPlayers(readWhole(g[1]), playerWidth, playerHeight, cannonOffset, cannonLength);
         }},
        {boost::regex("set players (\\d+) (\\S+)"),
         [this](const Groups& g) {
             double scale = readReal(g[2]);
             setPlayers(readWhole(g[1]), scale, scale * 1.8, Vector(scale * 0.5, scale, 0),
                        scale);
         }},
        {boost::regex("set grid (\\d+) (\\d+) (\\d+)"),
         [this](const Groups& g) { setGrid(readWhole(g[1]), readWhole(g[2]), readWhole(g[3])); }},
        {boost::regex("set player (\\d+) (.+)"),
         [this](const Groups& g) {
             long id = readWhole(g[1]);
             if (id < 0 || id >= getNumberOfPlayers()) {
                 std::ostringstream why;
                 why << "no player " << id << " to rename: ids run from 0 to "
                     << getNumberOfPlayers() - 1;
                 refuse(why.str());
                 return;
             }
             players[static_cast<std::size_t>(id)].setName(g[2]);
         }},
        {boost::regex("set gravity (\\S+) (\\S+) (\\S+)"),
         [this](const Groups& g) {
             Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
             if (!finite(value)) {
                 refuse("gravity refused: x, y and z must be finite numbers");
                 return;
             }
             gravity = value;
         }},
        {boost::regex("set wind (\\S+) (\\S+) (\\S+)"),
         [this](const Groups& g) {
             Vector value(readReal(g[1]), readReal(g[2]), readReal(g[3]));
             if (!finite(value)) {
                 refuse("wind refused: x, y and z must be finite numbers");
                 return;
             }
             wind = value;
         }},
        {boost::regex("enable (\\w+)"),
         [this](const Groups& g) {
             if (g[1] == "wind") {
                 windEnabled = true;
                 reset();
             }
         }},
        {boost::regex("disable (\\w+)"),
         [this](const Groups& g) {
             if (g[1] == "wind") {
                 windEnabled = false;
                 reset();
             }
         }},
    };

    Groups groups;
    for (const Command& command : commands) {
        if (matches(line, command.pattern, groups)) {
            command.action(groups);
            return;
        }
    }
}
