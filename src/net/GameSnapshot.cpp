// SPDX-License-Identifier: GPL-3.0-or-later
// The whole state of a game written field by field and compressed, and read
// back with every field checked before the game adopts it.
#include "net/GameSnapshot.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <sstream>
#include <utility>

#include "game/Game.h"
#include "model/ArenaState.h"
#include "model/SpellTable.h"
#include "net/ByteReader.h"
#include "net/ByteWriter.h"

namespace {

// The version byte and the inflated size come before the zlib stream.
constexpr std::size_t HEADER_BYTES = 1 + 4;
constexpr int COMPRESSION_LEVEL = 6;

// --- Writing -------------------------------------------------------------

// The fields' pieces over the network's byte writer: numbers as the bits of
// their doubles, texts after their lengths.
class StateWriter {
public:
    void u8(unsigned value) { out.writeU8(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value) { out.writeU16(static_cast<std::uint16_t>(value)); }
    void u32(std::uint32_t value) { out.writeU32(value); }
    void number(double value)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        out.writeU64(bits);
    }
    void vector(const Vector& value)
    {
        number(value.x);
        number(value.y);
        number(value.z);
    }
    // lengthBytes: 1 or 2.
    void text(const std::string& value, int lengthBytes)
    {
        if (lengthBytes == 1) {
            u8(static_cast<unsigned>(value.size()));
        } else {
            u16(static_cast<unsigned>(value.size()));
        }
        raw(reinterpret_cast<const std::uint8_t*>(value.data()), value.size());
    }
    void raw(const std::uint8_t* start, std::size_t count) { out.writeBytes(start, count); }
    std::vector<std::uint8_t> take() { return out.take(); }

private:
    ByteWriter out;
};

std::uint8_t levelByte(const std::optional<ComputerLevel>& level)
{
    return level ? static_cast<std::uint8_t>(1 + static_cast<int>(*level)) : 0;
}

std::vector<std::uint8_t> writeFields(const ArenaState& state, const GameTurn& turn)
{
    StateWriter out;
    out.u16(static_cast<unsigned>(state.width));
    out.u16(static_cast<unsigned>(state.depth));
    out.u16(static_cast<unsigned>(state.height));
    out.u8(state.cells.empty() ? 0 : 1);
    out.raw(state.cells.data(), state.cells.size());
    out.u16(static_cast<unsigned>(state.numberOfPlayers));
    out.number(state.playerWidth);
    out.number(state.playerHeight);
    out.vector(state.cannonOffset);
    out.number(state.cannonLength);
    out.vector(state.gravity);
    out.vector(state.wind);
    out.u8(state.windEnabled ? 1 : 0);
    out.text(state.random.getState(), 2);
    out.u16(static_cast<unsigned>(state.players.size()));
    for (const Player& player : state.players) {
        out.text(player.getName(), 1);
        out.vector(player.getPosition());
        out.number(player.getWidth());
        out.number(player.getHeight());
        out.vector(player.getCannonOffset());
        out.number(player.getCannonLength());
        out.number(player.getHp());
        out.number(player.getLook());
    }
    out.u16(static_cast<unsigned>(turn.yaws.size()));
    for (std::size_t id = 0; id < turn.yaws.size(); ++id) {
        out.number(turn.yaws[id]);
        out.number(turn.pitches.at(id));
        out.number(turn.powers.at(id));
    }
    out.u16(static_cast<unsigned>(turn.currentPlayer));
    out.text(turn.weapon, 1);
    out.number(turn.radiusBombSize);
    out.u8(turn.lastManStanding ? 1 : 0);
    for (int id = 0; id < MAX_PLAYERS; ++id) {
        const std::size_t index = static_cast<std::size_t>(id);
        out.u8(levelByte(index < turn.computerLevels.size() ? turn.computerLevels[index] : std::nullopt));
    }
    out.u32(static_cast<std::uint32_t>(turn.shotCount));
    out.u32(turn.battlefieldSeed);
    return out.take();
}

// --- Reading -------------------------------------------------------------

// Why the state is refused, thrown from anywhere in the reading and caught
// once, before the game has been touched.
struct Refusal {
    std::string why;
};

[[noreturn]] void refuse(const std::string& why)
{
    throw Refusal{"state refused: " + why};
}

// The inflated fields over the network's bounded byte reader: a field that
// does not fit, is out of its range or is not a finite number refuses the
// state, naming it.
class StateReader {
public:
    explicit StateReader(const std::vector<std::uint8_t>& bytes)
        : in(bytes.data(), bytes.size())
    {
    }

    std::uint64_t whole(int count, const char* what)
    {
        std::uint64_t value = 0;
        const std::uint8_t* start = nullptr;
        if (!in.readBytes(static_cast<std::size_t>(count), start)) {
            refuse(std::string("it ends within ") + what);
        }
        for (int i = 0; i < count; ++i) {
            value = (value << 8) | start[i];
        }
        return value;
    }
    long upTo(long limit, int count, const char* what)
    {
        const std::uint64_t value = whole(count, what);
        if (value > static_cast<std::uint64_t>(limit)) {
            std::ostringstream why;
            why << what << " " << value << " is over " << limit;
            refuse(why.str());
        }
        return static_cast<long>(value);
    }
    bool flag(const char* what) { return upTo(1, 1, what) == 1; }
    double number(const char* what)
    {
        const std::uint64_t bits = whole(8, what);
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) {
            refuse(std::string(what) + " is not a finite number");
        }
        return value;
    }
    Vector vector(const char* what)
    {
        const double x = number(what);
        const double y = number(what);
        return Vector(x, y, number(what));
    }
    std::string text(std::size_t limit, int lengthBytes, const char* what)
    {
        const std::size_t length = static_cast<std::size_t>(upTo(static_cast<long>(limit), lengthBytes, what));
        const std::uint8_t* start = raw(length, what);
        return std::string(reinterpret_cast<const char*>(start), length);
    }
    // Points into the fields.
    const std::uint8_t* raw(std::size_t count, const char* what)
    {
        const std::uint8_t* start = nullptr;
        if (!in.readBytes(count, start)) {
            refuse(std::string("it ends within ") + what);
        }
        return start;
    }
    void expectEnd() const
    {
        if (in.remaining() != 0) {
            refuse(std::to_string(in.remaining()) + " bytes follow its last field");
        }
    }

private:
    ByteReader in;
};

std::vector<std::uint8_t> inflateFields(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < HEADER_BYTES) {
        refuse("it ends within its header");
    }
    if (data[0] != GAME_STATE_VERSION) {
        refuse("version " + std::to_string(data[0]) + ", this game reads version "
               + std::to_string(GAME_STATE_VERSION));
    }
    const std::size_t inflated = (std::size_t{data[1]} << 24) | (std::size_t{data[2]} << 16)
                               | (std::size_t{data[3]} << 8) | data[4];
    if (inflated > MAX_GAME_STATE_BYTES) {
        refuse("it would inflate to " + std::to_string(inflated) + " bytes, more than any battlefield's "
               + std::to_string(MAX_GAME_STATE_BYTES));
    }
    std::vector<std::uint8_t> fields(inflated);
    uLongf length = static_cast<uLongf>(inflated);
    // Never more than the buffer: a stream that inflates further stops there.
    const int result = uncompress(fields.data(), &length, data + HEADER_BYTES, static_cast<uLong>(size - HEADER_BYTES));
    if (result != Z_OK || length != inflated) {
        refuse(result == Z_OK || result == Z_BUF_ERROR ? "it does not inflate to the size it gives"
                                                       : "its compressed stream is damaged");
    }
    return fields;
}

void checkPlayerSizes(double width, double height, double cannonLength, const std::string& whose)
{
    if (width <= 0.0 || height <= 0.0 || cannonLength == 0.0) {
        refuse(whose + " needs a width and a height above 0 and a cannon");
    }
}

Player readPlayer(StateReader& in, int id)
{
    const std::string whose = "player " + std::to_string(id);
    const std::string name = in.text(MAX_NAME_LENGTH, 1, "a name's length");
    if (const std::string problem = nameProblem(name); !problem.empty()) {
        refuse(whose + "'s name: " + problem);
    }
    const Vector position = in.vector("a player's position");
    const double width = in.number("a player's width");
    const double height = in.number("a player's height");
    const Vector cannon = in.vector("a player's cannon offset");
    const double cannonLength = in.number("a player's cannon length");
    checkPlayerSizes(width, height, cannonLength, whose);
    Player player(name, position, width, height, cannon, cannonLength);
    player.setHp(in.number("a player's hit points"));
    const double look = in.number("a player's look");
    if (look < 0.0 || look > 1.0) {
        refuse(whose + "'s look is not between 0 and 1");
    }
    player.setLook(look);
    return player;
}

ArenaState readBattlefield(StateReader& in)
{
    ArenaState state;
    state.width = static_cast<int>(in.upTo(MAX_GRID_SIDE, 2, "the width"));
    state.depth = static_cast<int>(in.upTo(MAX_GRID_SIDE, 2, "the depth"));
    state.height = static_cast<int>(in.upTo(MAX_GRID_SIDE, 2, "the height"));
    const long count = static_cast<long>(state.width) * state.depth * state.height;
    if (count < 1 || count > MAX_GRID_CELLS) {
        refuse("a grid of " + std::to_string(count) + " cells; from 1 to " + std::to_string(MAX_GRID_CELLS));
    }
    if (!in.flag("the grid's flag")) {
        refuse("the battlefield has no grid yet");
    }
    const std::size_t cellBytes = static_cast<std::size_t>(count + 7) / 8;
    const std::uint8_t* cells = in.raw(cellBytes, "the grid");
    state.cells.assign(cells, cells + cellBytes);
    if (count % 8 != 0 && (state.cells.back() >> (count % 8)) != 0) {
        refuse("cells beyond the grid's last");
    }
    state.numberOfPlayers = static_cast<int>(in.upTo(MAX_PLAYERS, 2, "the next number of players"));
    state.playerWidth = in.number("the next players' width");
    state.playerHeight = in.number("the next players' height");
    state.cannonOffset = in.vector("the next players' cannon offset");
    state.cannonLength = in.number("the next players' cannon length");
    checkPlayerSizes(state.playerWidth, state.playerHeight, state.cannonLength, "the next player");
    state.gravity = in.vector("the gravity");
    state.wind = in.vector("the wind");
    state.windEnabled = in.flag("the wind's flag");
    if (!state.random.setState(in.text(MAX_RANDOM_STATE_TEXT, 2, "the random stream"))) {
        refuse("the random stream is not a generator's state");
    }
    const int players = static_cast<int>(in.upTo(MAX_PLAYERS, 2, "the number of players"));
    for (int id = 0; id < players; ++id) {
        state.players.push_back(readPlayer(in, id));
    }
    return state;
}

GameTurn readTurn(StateReader& in, int players)
{
    GameTurn turn;
    const long aims = in.upTo(MAX_PLAYERS, 2, "the number of aims");
    if (aims != players) {
        refuse(std::to_string(aims) + " aims for " + std::to_string(players) + " players");
    }
    for (long id = 0; id < aims; ++id) {
        const double yaw = in.number("a yaw");
        const double pitch = in.number("a pitch");
        const double power = in.number("a power");
        if (std::fabs(yaw) > MAX_AIM_ANGLE || std::fabs(pitch) > MAX_AIM_ANGLE || power < 0.0
            || power > MAX_SHOT_POWER) {
            refuse("the aim of player " + std::to_string(id) + " is beyond the aims a player can take");
        }
        turn.yaws.push_back(yaw);
        turn.pitches.push_back(pitch);
        turn.powers.push_back(power);
    }
    turn.currentPlayer = static_cast<int>(in.upTo(MAX_PLAYERS, 2, "the current player"));
    if (turn.currentPlayer >= std::max(players, 1)) {
        refuse("current player " + std::to_string(turn.currentPlayer) + " of " + std::to_string(players));
    }
    turn.weapon = in.text(MAX_SPELL_NAME_TEXT, 1, "the spell's name");
    if (SpellTable::byName(turn.weapon) == nullptr) {
        refuse("its spell is none of " + SpellTable::describeNames());
    }
    turn.radiusBombSize = in.number("the radius");
    if (turn.radiusBombSize < 0.0) {
        refuse("a radius below 0");
    }
    turn.lastManStanding = in.flag("the winner's flag");
    for (int id = 0; id < MAX_PLAYERS; ++id) {
        const long level = in.upTo(3, 1, "a player's kind");
        turn.computerLevels.push_back(level == 0 ? std::nullopt
                                                 : std::optional<ComputerLevel>(static_cast<ComputerLevel>(level - 1)));
    }
    turn.shotCount = static_cast<int>(in.upTo(INT_MAX, 4, "the shot count"));
    turn.battlefieldSeed = static_cast<std::uint32_t>(in.whole(4, "the seed"));
    return turn;
}

} // namespace

std::vector<std::uint8_t> saveGameState(const Game& game)
{
    const std::vector<std::uint8_t> fields = writeFields(game.getModel().getState(), game.getTurn());
    uLongf length = compressBound(static_cast<uLong>(fields.size()));
    std::vector<std::uint8_t> saved(HEADER_BYTES + length);
    saved[0] = GAME_STATE_VERSION;
    for (int i = 0; i < 4; ++i) {
        saved[static_cast<std::size_t>(1 + i)] = static_cast<std::uint8_t>(fields.size() >> (24 - 8 * i));
    }
    if (compress2(saved.data() + HEADER_BYTES, &length, fields.data(), static_cast<uLong>(fields.size()),
                  COMPRESSION_LEVEL)
        != Z_OK) {
        // compressBound leaves room for any input: only memory can run out.
        throw std::bad_alloc();
    }
    saved.resize(HEADER_BYTES + length);
    return saved;
}

std::string adoptGameState(Game& game, const std::uint8_t* data, std::size_t size)
{
    ArenaState battlefield;
    GameTurn turn;
    try {
        const std::vector<std::uint8_t> fields = inflateFields(data, size);
        StateReader in(fields);
        battlefield = readBattlefield(in);
        turn = readTurn(in, static_cast<int>(battlefield.players.size()));
        in.expectEnd();
    } catch (const Refusal& refusal) {
        return refusal.why;
    }
    return game.adoptState(battlefield, turn) ? "" : "state refused: the battlefield was not taken";
}
