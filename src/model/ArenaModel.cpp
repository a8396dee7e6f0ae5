// SPDX-License-Identifier: GPL-3.0-or-later
// The battlefield model: grid storage and queries, landscape generation,
// players and their placement, and the reset that starts a new game.
#include "model/ArenaModel.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "model/ArenaModelListener.h"
#include "model/ArenaState.h"
#include "model/Terrain2D.h"

namespace {

// Free layers kept above the tallest column of the landscape, counted in the
// height factor of the column formula.
constexpr int TERRAIN_HEADROOM = 4;

// Random draws of a standing place before placement falls back to scanning
// the grid for free columns.
constexpr int MAX_PLACEMENT_DRAWS = 4096;

// trunc(size * r): an index drawn from a table, kept inside it even for a
// scripted random source that reaches 1.
std::size_t drawIndex(std::size_t size, double r)
{
    auto index = static_cast<std::size_t>(static_cast<double>(size) * std::max(r, 0.0));
    return std::min(index, size - 1);
}

} // namespace

ArenaModel::ArenaModel(int numberOfPlayers, int width, int depth, int height)
    : ArenaModel(numberOfPlayers, width, depth, height, RandomStream())
{
}

ArenaModel::ArenaModel(int numberOfPlayers, int width, int depth, int height, RandomStream random)
    : random(std::move(random)),
      output(&std::cout),
      errors(&std::cerr),
      commandSink(nullptr),
      blockFallsReported(true),
      terrain(nullptr),
      width(width),
      height(height),
      depth(depth),
      gravity(0, -0.98, 0),
      wind(0, 0, 0),
      windEnabled(false),
      firstNames{"Torva", "Osri", "Faelin", "Morwick", "Quennith", "Brum", "Nox",
                 "Harn", "Vendel", "Tesk", "Grim", "Tam", "Corvin", "Rudlow",
                 "Anwel", "Fenn", "Odil", "Kalem", "Rho"},
      lastNames{"Vaskel", "Murk", "Pell", "Oak", "Dunmoore", "Brine", "Emberfall", "Quay",
                "Tolvar", "Rooke", "Silt", "the Pale", "Stonehelm", "Wick", "Vane",
                "Ruinous", "Mildew"},
      numberOfPlayers(numberOfPlayers),
      playerWidth(DEFAULT_PLAYER_WIDTH),
      playerHeight(1.8),
      cannonOffset(0.5, 0.9, 0.5),
      cannonLength(1.15)
{
    initPlayers();
}

ArenaModel::ArenaModel(const ArenaModel& other)
    : random(other.random),
      output(other.output),
      errors(other.errors),
      commandSink(nullptr),
      blockFallsReported(true),
      terrain(nullptr),
      width(other.width),
      height(other.height),
      depth(other.depth),
      players(other.players),
      gravity(other.gravity),
      wind(other.wind),
      windEnabled(other.windEnabled),
      firstNames(other.firstNames),
      lastNames(other.lastNames),
      numberOfPlayers(other.numberOfPlayers),
      playerWidth(other.playerWidth),
      playerHeight(other.playerHeight),
      cannonOffset(other.cannonOffset),
      cannonLength(other.cannonLength)
{
    if (other.terrain != nullptr) {
        allocateTerrain();
        std::copy_n(other.cells.get(), cellCount(), cells.get());
    }
}

ArenaModel::~ArenaModel()
{
    freeTerrain();
}

void ArenaModel::addListener(ArenaModelListener* listener)
{
    listeners.push_back(listener);
}

void ArenaModel::removeListener(ArenaModelListener* listener)
{
    listeners.remove(listener);
}

RandomStream& ArenaModel::getRandom()
{
    return random;
}

void ArenaModel::setOutput(std::ostream& out, std::ostream& err)
{
    output = &out;
    errors = &err;
}

std::ostream& ArenaModel::getOutput() const
{
    return *output;
}

void ArenaModel::setCommandSink(CommandSink* sink)
{
    commandSink = sink;
}

CommandSink* ArenaModel::getCommandSink() const
{
    return commandSink;
}

// --- Grid storage -----------------------------------------------------------

void ArenaModel::allocateTerrain()
{
    if (terrain != nullptr) {
        clearTerrain();
        return;
    }
    const int w = std::max(width, 0);
    const int d = std::max(depth, 0);
    const int h = std::max(height, 0);
    cells.reset(new bool[cellCount()]());
    columns.reset(new bool*[static_cast<std::size_t>(w) * d]);
    rows.reset(new bool**[w]);
    for (int x = 0; x < w; ++x) {
        rows[x] = columns.get() + static_cast<std::size_t>(x) * d;
        for (int z = 0; z < d; ++z) {
            rows[x][z] = cells.get() + (static_cast<std::size_t>(x) * d + z) * h;
        }
    }
    terrain = rows.get();
}

void ArenaModel::clearTerrain()
{
    if (terrain == nullptr) {
        return;
    }
    std::fill_n(cells.get(), cellCount(), false);
}

std::size_t ArenaModel::cellCount() const
{
    return static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(depth, 0))
         * static_cast<std::size_t>(std::max(height, 0));
}

void ArenaModel::freeTerrain()
{
    terrain = nullptr;
    rows.reset();
    columns.reset();
    cells.reset();
}

// --- Queries ----------------------------------------------------------------

int ArenaModel::getWidth() const
{
    return width;
}

int ArenaModel::getHeight() const
{
    return height;
}

int ArenaModel::getDepth() const
{
    return depth;
}

int ArenaModel::getNumberOfPlayers() const
{
    return static_cast<int>(players.size());
}

std::vector<Player> ArenaModel::getPlayers() const
{
    return players;
}

const Player& ArenaModel::getPlayer(int id) const
{
    return players.at(static_cast<std::size_t>(id));
}

const Vector& ArenaModel::getGravity() const
{
    return gravity;
}

void ArenaModel::setGravity(const Vector& newGravity)
{
    gravity = newGravity;
}

const Vector& ArenaModel::getWind() const
{
    return wind;
}

void ArenaModel::setWind(const Vector& newWind)
{
    wind = newWind;
}

bool ArenaModel::isWindEnabled() const
{
    return windEnabled;
}

void ArenaModel::setWindEnabled(bool enabled)
{
    windEnabled = enabled;
}

bool ArenaModel::isInsideGrid(const Vector& point) const
{
    return 0.0 <= point.x && point.x < static_cast<double>(width)
        && 0.0 <= point.y && point.y < static_cast<double>(height)
        && 0.0 <= point.z && point.z < static_cast<double>(depth);
}

bool ArenaModel::cellAt(int x, int y, int z) const
{
    return terrain != nullptr && terrain[x][z][y];
}

bool ArenaModel::testGround(double x, double y, double z) const
{
    // The inside test comes first: truncation of a negative coordinate would
    // land on cell 0.
    if (!isInsideGrid(Vector(x, y, z))) {
        return true;
    }
    return cellAt(static_cast<int>(x), static_cast<int>(y), static_cast<int>(z));
}

bool ArenaModel::testGround(const Vector& point) const
{
    return testGround(point.x, point.y, point.z);
}

bool ArenaModel::testPlayer(double x, double y, double z) const
{
    const Vector point(x, y, z);
    for (const Player& player : players) {
        if (!player.isDead() && player.isInside(point)) {
            return true;
        }
    }
    return false;
}

bool ArenaModel::testPlayer(const Vector& point) const
{
    return testPlayer(point.x, point.y, point.z);
}

bool ArenaModel::testPlayerDeadOrAlive(double x, double y, double z) const
{
    const Vector point(x, y, z);
    for (const Player& player : players) {
        if (player.isInside(point)) {
            return true;
        }
    }
    return false;
}

bool ArenaModel::testPlayerDeadOrAlive(const Vector& point) const
{
    return testPlayerDeadOrAlive(point.x, point.y, point.z);
}

bool ArenaModel::testAny(double x, double y, double z) const
{
    return testGround(x, y, z) || testPlayer(x, y, z);
}

bool ArenaModel::testAny(const Vector& point) const
{
    return testAny(point.x, point.y, point.z);
}

const Player& ArenaModel::getPlayerAt(const Vector& point) const
{
    for (const Player& player : players) {
        if (player.isInside(point)) {
            return player;
        }
    }
    throw std::runtime_error("ArenaModel::getPlayerAt called but couldn't find any player");
}

int ArenaModel::getPlayerIndexAt(const Vector& point) const
{
    for (std::size_t id = 0; id < players.size(); ++id) {
        if (players[id].isInside(point)) {
            return static_cast<int>(id);
        }
    }
    return -1;
}

int ArenaModel::getPlayerId(const Player& player) const
{
    for (std::size_t id = 0; id < players.size(); ++id) {
        if (players[id] == player) {
            return static_cast<int>(id);
        }
    }
    return -1;
}

void ArenaModel::removeGround(const Vector& point) const
{
    if (terrain != nullptr && isInsideGrid(point)) {
        terrain[static_cast<int>(point.x)][static_cast<int>(point.z)][static_cast<int>(point.y)] =
            false;
    }
}

// --- A new game -------------------------------------------------------------

void ArenaModel::generateTerrain()
{
    Terrain2D alongX(2, random);
    Terrain2D alongZ(2, random);
    const int heightFactor = height - TERRAIN_HEADROOM;
    for (int x = 0; x < width; ++x) {
        for (int z = 0; z < depth; ++z) {
            double ax = alongX.getY(static_cast<double>(alongX.getLength() * x) / width);
            double az = alongZ.getY(static_cast<double>(alongZ.getLength() * z) / depth);
            int columnHeight = static_cast<int>((ax + az) / 2.0 * heightFactor);
            if (columnHeight <= 0) {
                columnHeight = 1;
            }
            // A grid without layers has no room even for the floor.
            columnHeight = std::min(columnHeight, height);
            for (int y = 0; y < columnHeight; ++y) {
                terrain[x][z][y] = true;
            }
        }
    }
}

void ArenaModel::initPlayers()
{
    initPlayers({});
}

void ArenaModel::initPlayers(const std::vector<std::string>& names)
{
    players.clear();
    for (int i = 0; i < numberOfPlayers; ++i) {
        std::string name = static_cast<std::size_t>(i) < names.size() ? names[static_cast<std::size_t>(i)] : "";
        if (name.empty()) {
            const std::string& first = firstNames[drawIndex(firstNames.size(), random.next())];
            const std::string& last = lastNames[drawIndex(lastNames.size(), random.next())];
            name = first + " " + last;
        }
        players.emplace_back(name, Vector(0, 0, 0), playerWidth, playerHeight, cannonOffset, cannonLength);
    }
}

bool ArenaModel::findStandingPlace(int x, int z, Vector& place, int mover) const
{
    int y = 0;
    while (testGround(x, y, z) && y < height) {
        ++y;
    }
    if (y == height) {
        // Solid to the top: the floor cell is taken, so the spot is refused.
        y = 0;
    }
    if (testGround(x, y, z)) {
        return false;
    }
    const Vector spot(x, y, z);
    for (std::size_t id = 0; id < players.size(); ++id) {
        if (static_cast<int>(id) != mover && !players[id].isDead() && players[id].isInside(spot)) {
            return false;
        }
    }
    place = spot;
    return true;
}

void ArenaModel::placePlayers()
{
    for (std::size_t id = 0; id < players.size(); ++id) {
        Vector place;
        bool placed = false;
        for (int draw = 0; draw < MAX_PLACEMENT_DRAWS && !placed; ++draw) {
            int x = static_cast<int>(random.next() * width);
            int z = static_cast<int>(random.next() * depth);
            placed = findStandingPlace(x, z, place);
        }
        if (!placed) {
            // Random draws keep missing: take one of the free columns, if any.
            // The player's own old place no longer counts as taken here, so a
            // battlefield with a column per player always has room.
            std::vector<Vector> freePlaces;
            for (int x = 0; x < width; ++x) {
                for (int z = 0; z < depth; ++z) {
                    if (findStandingPlace(x, z, place, static_cast<int>(id))) {
                        freePlaces.push_back(place);
                    }
                }
            }
            if (freePlaces.empty()) {
                *errors << "No free place on the battlefield for player " << id << " ("
                          << players[id].getName() << "); it stays at "
                          << players[id].getPosition() << std::endl;
                continue;
            }
            place = freePlaces[drawIndex(freePlaces.size(), random.next())];
        }
        players[id].setPosition(place);
    }
}

void ArenaModel::drawLooks()
{
    for (Player& player : players) {
        player.setLook(random.next());
    }
}

void ArenaModel::reset()
{
    allocateTerrain();
    generateTerrain();
    if (windEnabled) {
        double strength = random.next();
        wind = Vector(strength, 0, 0);
        double turn = random.next();
        wind.rotate(turn * 360.0, 0, 1, 0);
    } else {
        wind = Vector(0, 0, 0);
    }
    for (Player& player : players) {
        player.restore();
    }
    placePlayers();
    drawLooks();
    tellNewMap();
}

void ArenaModel::tellNewMap()
{
    for (ArenaModelListener* listener : listeners) {
        listener->onNewMap(width, depth, height, terrain, wind);
        for (std::size_t id = 0; id < players.size(); ++id) {
            listener->onPlayer(static_cast<int>(id), players[id]);
        }
    }
}

ArenaState ArenaModel::getState() const
{
    ArenaState state;
    state.width = width;
    state.depth = depth;
    state.height = height;
    if (terrain != nullptr) {
        const std::size_t count = cellCount();
        state.cells.assign((count + 7) / 8, 0);
        for (std::size_t i = 0; i < count; ++i) {
            state.cells[i / 8] |= static_cast<std::uint8_t>(cells[i] ? 1u << (i % 8) : 0u);
        }
    }
    state.players = players;
    state.numberOfPlayers = numberOfPlayers;
    state.playerWidth = playerWidth;
    state.playerHeight = playerHeight;
    state.cannonOffset = cannonOffset;
    state.cannonLength = cannonLength;
    state.gravity = gravity;
    state.wind = wind;
    state.windEnabled = windEnabled;
    state.random = random;
    return state;
}

bool ArenaModel::adoptState(const ArenaState& state)
{
    const std::size_t count = static_cast<std::size_t>(std::max(state.width, 0))
                            * static_cast<std::size_t>(std::max(state.depth, 0))
                            * static_cast<std::size_t>(std::max(state.height, 0));
    if (state.cells.empty() || state.cells.size() != (count + 7) / 8) {
        *errors << "A battlefield state without a whole grid is ignored" << std::endl;
        return false;
    }
    if (state.width != width || state.depth != depth || state.height != height) {
        freeTerrain();
        width = state.width;
        depth = state.depth;
        height = state.height;
    }
    allocateTerrain();
    for (std::size_t i = 0; i < count; ++i) {
        cells[i] = (state.cells[i / 8] >> (i % 8)) & 1u;
    }
    players = state.players;
    numberOfPlayers = state.numberOfPlayers;
    playerWidth = state.playerWidth;
    playerHeight = state.playerHeight;
    cannonOffset = state.cannonOffset;
    cannonLength = state.cannonLength;
    gravity = state.gravity;
    wind = state.wind;
    windEnabled = state.windEnabled;
    // A scripted stream keeps its script: only the generator's place is taken.
    random.setState(state.random.getState());
    tellNewMap();
    return true;
}

double ArenaModel::getPlayerWidth() const
{
    return playerWidth;
}

double ArenaModel::getPlayerHeight() const
{
    return playerHeight;
}

const Vector& ArenaModel::getCannonOffset() const
{
    return cannonOffset;
}

double ArenaModel::getCannonLength() const
{
    return cannonLength;
}

namespace {

// 64-bit FNV-1a, byte by byte.
class Fnv1a {
public:
    void add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash = (hash ^ bytes[i]) * 0x100000001b3ull;
        }
    }
    void add(double value)
    {
        // -0 and 0 are one value of the game.
        const double normal = value == 0.0 ? 0.0 : value;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &normal, sizeof bits);
        add(&bits, sizeof bits);
    }
    void add(std::int64_t value) { add(&value, sizeof value); }
    // The grid's cells, one bit each, 64 to a step: a large grid takes a
    // few milliseconds, not one step a cell.
    void addCells(const bool* cells, std::size_t count)
    {
        for (std::size_t first = 0; first < count; first += 64) {
            std::uint64_t bits = 0;
            const std::size_t last = std::min(count, first + 64);
            for (std::size_t i = first; i < last; ++i) {
                bits |= static_cast<std::uint64_t>(cells[i]) << (i - first);
            }
            hash = (hash ^ bits) * 0x100000001b3ull;
        }
    }
    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 0xcbf29ce484222325ull;
};

} // namespace

std::uint64_t ArenaModel::getDigest() const
{
    Fnv1a digest;
    digest.add(static_cast<std::int64_t>(width));
    digest.add(static_cast<std::int64_t>(depth));
    digest.add(static_cast<std::int64_t>(height));
    if (terrain != nullptr) {
        digest.addCells(cells.get(), cellCount());
    }
    digest.add(static_cast<std::int64_t>(players.size()));
    for (const Player& player : players) {
        digest.add(static_cast<std::int64_t>(player.getName().size()));
        digest.add(player.getName().data(), player.getName().size());
        digest.add(player.getPosition().x);
        digest.add(player.getPosition().y);
        digest.add(player.getPosition().z);
        digest.add(player.getHp());
        digest.add(player.getLook());
    }
    return digest.value();
}

const std::vector<std::string>& ArenaModel::getFirstNames() const
{
    return firstNames;
}

const std::vector<std::string>& ArenaModel::getLastNames() const
{
    return lastNames;
}
