// SPDX-License-Identifier: GPL-3.0-or-later
// Replay lines written and read: one function per kind of line, each word read
// with a bounded, locale-free number reader.
#include "replay/ReplayFormat.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "model/ArenaModel.h"
#include "replay/Replay.h"

namespace {

// The largest value a real number of a replay may have either way: far past
// anything a game sets, short of what would overflow the shot's arithmetic.
constexpr double MAX_REPLAY_REAL = 1.0e12;
// A name drawn at random when the battlefield starts.
constexpr const char* DRAWN_NAME = "*";

using Words = std::vector<std::string_view>;

// Words separated by single blanks; an empty word (two blanks, or a blank at
// either end) makes the line no line of ours.
bool splitWords(std::string_view line, Words& words)
{
    words.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = line.find(' ', start);
        const std::string_view word = line.substr(start, blank == std::string_view::npos ? blank : blank - start);
        if (word.empty()) {
            return false;
        }
        words.push_back(word);
        if (blank == std::string_view::npos) {
            return true;
        }
        start = blank + 1;
    }
}

std::string formatReal(double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::optional<long> readWhole(std::string_view word, long low, long high)
{
    long value = 0;
    const char* end = word.data() + word.size();
    const std::from_chars_result read = std::from_chars(word.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> readReal(std::string_view word)
{
    double value = 0.0;
    const char* end = word.data() + word.size();
    const std::from_chars_result read = std::from_chars(word.data(), end, value, std::chars_format::general);
    if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value) || std::fabs(value) > MAX_REPLAY_REAL) {
        return std::nullopt;
    }
    return value;
}

// Comma-separated parts of a value; count of them required when given.
std::vector<std::string_view> splitParts(std::string_view value)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

std::optional<std::vector<double>> readReals(std::string_view value, std::size_t count)
{
    const std::vector<std::string_view> parts = splitParts(value);
    if (parts.size() != count) {
        return std::nullopt;
    }
    std::vector<double> reals;
    for (std::string_view part : parts) {
        const std::optional<double> real = readReal(part);
        if (!real) {
            return std::nullopt;
        }
        reals.push_back(*real);
    }
    return reals;
}

// "x,y,z" within a battlefield's setting, "x y z" as a command's values.
std::string formatVector(const Vector& v, char separator = ',')
{
    return formatReal(v.x) + separator + formatReal(v.y) + separator + formatReal(v.z);
}

std::optional<Vector> readVector(const Words& words, std::size_t first)
{
    std::optional<double> x = readReal(words[first]);
    std::optional<double> y = readReal(words[first + 1]);
    std::optional<double> z = readReal(words[first + 2]);
    if (!x || !y || !z) {
        return std::nullopt;
    }
    return Vector(*x, *y, *z);
}

std::optional<int> readPlayer(std::string_view word)
{
    const std::optional<long> id = readWhole(word, 0, MAX_PLAYERS - 1);
    return id ? std::optional<int>(static_cast<int>(*id)) : std::nullopt;
}

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_'
           || c == '\'' || c == '-';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string formatBattlefield(const Command::Battlefield& start)
{
    const BattlefieldSetup& setup = start.setup;
    std::ostringstream line;
    line << "battlefield seed=" << start.seed.value_or(0) << " grid=" << setup.width << "," << setup.depth << ","
         << setup.height << " players=" << setup.players << " size=" << formatReal(setup.playerWidth) << ","
         << formatReal(setup.playerHeight) << " cannon=" << formatVector(setup.cannonOffset) << ","
         << formatReal(setup.cannonLength) << " wind=" << (setup.windEnabled ? "on" : "off")
         << " gravity=" << formatVector(setup.gravity) << " radius=" << formatReal(setup.radius)
         << " spell=" << ReplayFormat::encodeName(setup.spell) << " computers=";
    bool any = false;
    for (std::size_t id = 0; id < setup.kinds.size(); ++id) {
        if (setup.kinds[id]) {
            line << (any ? "," : "") << id << ":" << levelName(*setup.kinds[id]);
            any = true;
        }
    }
    line << (any ? "" : "-") << " names=";
    for (int id = 0; id < setup.players; ++id) {
        const std::string name =
            static_cast<std::size_t>(id) < setup.names.size() ? setup.names[static_cast<std::size_t>(id)] : "";
        line << (id > 0 ? "," : "") << (name.empty() ? DRAWN_NAME : ReplayFormat::encodeName(name));
    }
    return line.str();
}

// "key=value" words in this order; the values in values.
bool readKeys(const Words& words, const std::vector<const char*>& keys, std::vector<std::string_view>& values,
              std::string& problem)
{
    if (words.size() != keys.size() + 2) {
        problem = "a battlefield line has " + std::to_string(keys.size()) + " settings after its seed";
        return false;
    }
    values.clear();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string_view word = words[i + 2];
        const std::string key = std::string(keys[i]) + "=";
        if (word.substr(0, key.size()) != key) {
            problem = "the battlefield's setting " + std::to_string(i + 1) + " is not " + keys[i];
            return false;
        }
        values.push_back(word.substr(key.size()));
    }
    return true;
}

// A spell's name, as a battlefield's spell and as the spell command give it.
std::optional<std::string> readSpellName(std::string_view word)
{
    return ReplayFormat::decodeName(word);
}

bool readSeed(const Words& words, Command::Battlefield& start, std::string& problem)
{
    if (words.size() < 2 || words[1].substr(0, 5) != "seed=") {
        problem = "a battlefield line starts with its seed";
        return false;
    }
    const std::optional<long> seed = readWhole(words[1].substr(5), 0, 4294967295L);
    if (!seed) {
        problem = "the seed is not a whole number from 0 to 4294967295";
        return false;
    }
    start.seed = static_cast<std::uint32_t>(*seed);
    return true;
}

// "width,depth,height"
bool readGrid(std::string_view value, BattlefieldSetup& setup, std::string& problem)
{
    const std::vector<std::string_view> grid = splitParts(value);
    std::optional<long> sides[3];
    for (std::size_t i = 0; i < 3 && grid.size() == 3; ++i) {
        sides[i] = readWhole(grid[i], 1, MAX_GRID_SIDE);
    }
    if (grid.size() != 3 || !sides[0] || !sides[1] || !sides[2]) {
        problem = "the grid is not three sides of 1 to " + std::to_string(MAX_GRID_SIDE) + " cells";
        return false;
    }
    setup.width = static_cast<int>(*sides[0]);
    setup.depth = static_cast<int>(*sides[1]);
    setup.height = static_cast<int>(*sides[2]);
    return true;
}

// The players, their size and cannon, the wind, the gravity and the radius:
// values 1 to 6 of a battlefield's settings.
bool readPhysics(const std::vector<std::string_view>& values, BattlefieldSetup& setup, std::string& problem)
{
    const std::optional<long> players = readWhole(values[1], 1, MAX_PLAYERS);
    const std::optional<std::vector<double>> size = readReals(values[2], 2);
    const std::optional<std::vector<double>> cannon = readReals(values[3], 4);
    const std::optional<std::vector<double>> gravity = readReals(values[5], 3);
    const std::optional<double> radius = readReal(values[6]);
    if (!players || !size || !cannon || !gravity || !radius || (values[4] != "on" && values[4] != "off")) {
        problem = "a battlefield setting is out of range";
        return false;
    }
    setup.players = static_cast<int>(*players);
    setup.playerWidth = (*size)[0];
    setup.playerHeight = (*size)[1];
    setup.cannonOffset = Vector((*cannon)[0], (*cannon)[1], (*cannon)[2]);
    setup.cannonLength = (*cannon)[3];
    setup.windEnabled = values[4] == "on";
    setup.gravity = Vector((*gravity)[0], (*gravity)[1], (*gravity)[2]);
    setup.radius = *radius;
    return true;
}

// "-" for none, else "id:level" pairs separated by commas.
bool readComputers(std::string_view value, BattlefieldSetup& setup, std::string& problem)
{
    setup.kinds.assign(static_cast<std::size_t>(MAX_PLAYERS), std::nullopt);
    if (value == "-") {
        return true;
    }
    for (std::string_view part : splitParts(value)) {
        const std::size_t colon = part.find(':');
        const std::optional<int> id = colon == std::string_view::npos ? std::nullopt : readPlayer(part.substr(0, colon));
        const std::optional<ComputerLevel> level = id ? parseLevel(std::string(part.substr(colon + 1))) : std::nullopt;
        if (!level) {
            problem = "the computer players are not id:level pairs";
            return false;
        }
        setup.kinds[static_cast<std::size_t>(*id)] = level;
    }
    return true;
}

// One name per caster, DRAWN_NAME for one drawn at random.
bool readNames(std::string_view value, BattlefieldSetup& setup, std::string& problem)
{
    const std::vector<std::string_view> names = splitParts(value);
    if (names.size() != static_cast<std::size_t>(setup.players)) {
        problem = "the battlefield names " + std::to_string(names.size()) + " casters for "
                  + std::to_string(setup.players) + " players";
        return false;
    }
    for (std::string_view word : names) {
        const std::optional<std::string> name = word == DRAWN_NAME ? std::optional<std::string>("")
                                                                   : ReplayFormat::decodeName(word);
        if (!name) {
            problem = "a caster's name is not a name";
            return false;
        }
        setup.names.push_back(*name);
    }
    return true;
}

// "battlefield seed=S grid=... names=...": the seed, then the settings in
// the order of KEYS.
std::optional<GameCommand> readBattlefield(const Words& words, std::string& problem)
{
    static const std::vector<const char*> KEYS = {"grid",   "players", "size",  "cannon",    "wind",
                                                  "gravity", "radius", "spell", "computers", "names"};
    Command::Battlefield start;
    BattlefieldSetup& setup = start.setup;
    std::vector<std::string_view> values;
    if (!readSeed(words, start, problem) || !readKeys(words, KEYS, values, problem)
        || !readGrid(values[0], setup, problem) || !readPhysics(values, setup, problem)) {
        return std::nullopt;
    }
    const std::optional<std::string> spell = readSpellName(values[7]);
    if (!spell) {
        problem = "the spell is not a name";
        return std::nullopt;
    }
    setup.spell = *spell;
    if (!readComputers(values[8], setup, problem) || !readNames(values[9], setup, problem)) {
        return std::nullopt;
    }
    return GameCommand(start);
}

// The words of a command line after its tick, and what is wrong with them.
struct CommandWords {
    const Words& words;
    std::string& problem; // not owned: the caller's

    std::string_view kind() const { return words[0]; }

    // Exactly count values after the kind.
    bool expect(std::size_t count) const
    {
        if (words.size() - 1 != count) {
            problem = std::string(kind()) + " takes " + std::to_string(count) + " values";
            return false;
        }
        return true;
    }

    std::optional<GameCommand> bad(const char* what) const
    {
        problem = std::string(kind()) + ": " + what;
        return std::nullopt;
    }
};

std::optional<GameCommand> readBattlefieldCommand(const CommandWords& command)
{
    return readBattlefield(command.words, command.problem);
}

std::optional<GameCommand> readAim(const CommandWords& command)
{
    if (!command.expect(4)) {
        return std::nullopt;
    }
    const Words& words = command.words;
    const std::optional<int> player = readPlayer(words[1]);
    const std::optional<double> yaw = readReal(words[2]);
    const std::optional<double> pitch = readReal(words[3]);
    const std::optional<double> power = readReal(words[4]);
    if (!player || !yaw || !pitch || !power) {
        return command.bad("a player id and three finite numbers");
    }
    return GameCommand(Command::Aim{*player, *yaw, *pitch, *power});
}

// "cast" and "pass": the player whose turn it is.
std::optional<GameCommand> readTurn(const CommandWords& command)
{
    if (!command.expect(1)) {
        return std::nullopt;
    }
    const std::optional<int> player = readPlayer(command.words[1]);
    if (!player) {
        return command.bad("a player id from 0 to 63");
    }
    return command.kind() == "cast" ? GameCommand(Command::Cast{*player}) : GameCommand(Command::Pass{*player});
}

std::optional<GameCommand> readSpell(const CommandWords& command)
{
    if (!command.expect(1)) {
        return std::nullopt;
    }
    const std::optional<std::string> name = readSpellName(command.words[1]);
    if (!name) {
        return command.bad("a spell's name");
    }
    return GameCommand(Command::Spell{*name});
}

// "gravity" and "wind": a vector.
std::optional<GameCommand> readForce(const CommandWords& command)
{
    if (!command.expect(3)) {
        return std::nullopt;
    }
    const std::optional<Vector> value = readVector(command.words, 1);
    if (!value) {
        return command.bad("three finite numbers");
    }
    return command.kind() == "gravity" ? GameCommand(Command::Gravity{*value}) : GameCommand(Command::Wind{*value});
}

std::optional<GameCommand> readRadius(const CommandWords& command)
{
    if (!command.expect(1)) {
        return std::nullopt;
    }
    const std::optional<double> value = readReal(command.words[1]);
    if (!value) {
        return command.bad("a finite number");
    }
    return GameCommand(Command::Radius{*value});
}

std::optional<GameCommand> readName(const CommandWords& command)
{
    if (!command.expect(2)) {
        return std::nullopt;
    }
    const std::optional<int> player = readPlayer(command.words[1]);
    const std::optional<std::string> name = ReplayFormat::decodeName(command.words[2]);
    if (!player || !name) {
        return command.bad("a player id and a name");
    }
    return GameCommand(Command::Name{*player, *name});
}

// "computer ID|all LEVEL" and "human ID|all".
std::optional<GameCommand> readKind(const CommandWords& command)
{
    const bool computer = command.kind() == "computer";
    if (!command.expect(computer ? 2 : 1)) {
        return std::nullopt;
    }
    const Words& words = command.words;
    Command::Kind change;
    if (words[1] != "all") {
        const std::optional<int> player = readPlayer(words[1]);
        if (!player) {
            return command.bad("a player id from 0 to 63, or all");
        }
        change.player = player;
    }
    if (computer) {
        change.level = parseLevel(std::string(words[2]));
        if (!change.level) {
            return command.bad("easy, normal or hard");
        }
    }
    return GameCommand(change);
}

// Each command's first word and the reader of the words after it.
struct CommandReader {
    const char* kind;
    std::optional<GameCommand> (*read)(const CommandWords& command);
};

const CommandReader COMMAND_READERS[] = {
    {"battlefield", readBattlefieldCommand},
    {"aim", readAim},
    {"cast", readTurn},
    {"pass", readTurn},
    {"spell", readSpell},
    {"gravity", readForce},
    {"wind", readForce},
    {"radius", readRadius},
    {"name", readName},
    {"computer", readKind},
    {"human", readKind},
};

// The words of a command line after its tick.
std::optional<GameCommand> readCommand(const Words& words, std::string& problem)
{
    const CommandWords command{words, problem};
    for (const CommandReader& reader : COMMAND_READERS) {
        if (command.kind() == reader.kind) {
            return reader.read(command);
        }
    }
    problem = "no command is called " + std::string(command.kind().substr(0, 40));
    return std::nullopt;
}

} // namespace

namespace ReplayFormat {

std::string formatHeader()
{
    return std::string(REPLAY_MAGIC) + " " + std::to_string(REPLAY_FORMAT_VERSION);
}

std::string formatGameVersion(const std::string& version)
{
    return "game " + version;
}

std::string formatStep(long tick, const GameCommand& command)
{
    std::string text;
    if (const auto* start = std::get_if<Command::Battlefield>(&command)) {
        text = formatBattlefield(*start);
    } else if (const auto* aim = std::get_if<Command::Aim>(&command)) {
        text = "aim " + std::to_string(aim->player) + " " + formatReal(aim->yaw) + " " + formatReal(aim->pitch) + " "
               + formatReal(aim->power);
    } else if (const auto* spell = std::get_if<Command::Spell>(&command)) {
        text = "spell " + encodeName(spell->name);
    } else if (const auto* cast = std::get_if<Command::Cast>(&command)) {
        text = "cast " + std::to_string(cast->player);
    } else if (const auto* pass = std::get_if<Command::Pass>(&command)) {
        text = "pass " + std::to_string(pass->player);
    } else if (const auto* gravity = std::get_if<Command::Gravity>(&command)) {
        text = "gravity " + formatVector(gravity->value, ' ');
    } else if (const auto* wind = std::get_if<Command::Wind>(&command)) {
        text = "wind " + formatVector(wind->value, ' ');
    } else if (const auto* radius = std::get_if<Command::Radius>(&command)) {
        text = "radius " + formatReal(radius->value);
    } else if (const auto* name = std::get_if<Command::Name>(&command)) {
        text = "name " + std::to_string(name->player) + " " + encodeName(name->name);
    } else if (const auto* kind = std::get_if<Command::Kind>(&command)) {
        const std::string who = kind->player ? std::to_string(*kind->player) : "all";
        text = kind->level ? "computer " + who + " " + levelName(*kind->level) : "human " + who;
    } else {
        return "";
    }
    return std::to_string(tick) + " " + text;
}

std::string formatDigest(int shot, std::uint64_t digest)
{
    char hex[17];
    for (int i = 15; i >= 0; --i) {
        hex[i] = "0123456789abcdef"[digest & 0xf];
        digest >>= 4;
    }
    hex[16] = '\0';
    return "digest " + std::to_string(shot) + " " + hex;
}

std::optional<int> parseHeader(std::string_view line, std::string& problem)
{
    Words words;
    if (!splitWords(line, words) || words.size() != 2 || words[0] != REPLAY_MAGIC) {
        problem = "not a replay of this game (it begins with \"" + formatHeader() + "\")";
        return std::nullopt;
    }
    const std::optional<long> version = readWhole(words[1], 1, 1000000);
    if (!version) {
        problem = "the format version is not a number";
        return std::nullopt;
    }
    if (*version != REPLAY_FORMAT_VERSION) {
        problem = "format version " + std::to_string(*version) + " is not one this game reads (it reads "
                  + std::to_string(REPLAY_FORMAT_VERSION) + ")";
        return std::nullopt;
    }
    return static_cast<int>(*version);
}

std::optional<std::string> parseGameVersion(std::string_view line, std::string& problem)
{
    Words words;
    if (!splitWords(line, words) || words.size() != 2 || words[0] != "game" || words[1].size() > 40) {
        problem = "the second line is not the game's version";
        return std::nullopt;
    }
    return std::string(words[1]);
}

bool isDigestLine(std::string_view line)
{
    return line.substr(0, 7) == "digest ";
}

std::optional<Step> parseStep(std::string_view line, std::string& problem)
{
    Words words;
    if (!splitWords(line, words) || words.size() < 2) {
        problem = "not a tick and a command";
        return std::nullopt;
    }
    const std::optional<long> tick = readWhole(words[0], 0, MAX_REPLAY_TICK);
    if (!tick) {
        problem = "the tick is not a whole number from 0 to " + std::to_string(MAX_REPLAY_TICK);
        return std::nullopt;
    }
    words.erase(words.begin());
    std::optional<GameCommand> command = readCommand(words, problem);
    if (!command) {
        return std::nullopt;
    }
    return Step{*tick, std::move(*command)};
}

std::optional<Digest> parseDigest(std::string_view line, std::string& problem)
{
    Words words;
    if (!splitWords(line, words) || words.size() != 3 || words[0] != "digest" || words[2].size() != 16) {
        problem = "not a digest line";
        return std::nullopt;
    }
    const std::optional<long> shot = readWhole(words[1], 1, 1000000000L);
    std::uint64_t value = 0;
    for (char c : words[2]) {
        const int digit = hexValue(c);
        if (digit < 0) {
            problem = "the digest is not 16 hexadecimal digits";
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    if (!shot) {
        problem = "the shot's number is not a whole number from 1";
        return std::nullopt;
    }
    return Digest{static_cast<int>(*shot), value};
}

std::string encodeName(const std::string& name)
{
    std::string word;
    for (char c : name) {
        if (isNameByte(c)) {
            word += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            word += '%';
            word += "0123456789ABCDEF"[byte >> 4];
            word += "0123456789ABCDEF"[byte & 0xf];
        }
    }
    return word;
}

std::optional<std::string> decodeName(std::string_view word)
{
    std::string name;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%') {
            const int high = i + 2 < word.size() ? hexValue(word[i + 1]) : -1;
            const int low = i + 2 < word.size() ? hexValue(word[i + 2]) : -1;
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            name += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (isNameByte(word[i])) {
            name += word[i];
        } else {
            return std::nullopt;
        }
    }
    if (name.empty() || name.size() > MAX_NAME_LENGTH * 2) {
        return std::nullopt;
    }
    return name;
}

} // namespace ReplayFormat

int Replay::countShots() const
{
    int shots = 0;
    for (const ReplayStep& step : steps) {
        shots += std::holds_alternative<Command::Cast>(step.command) ? 1 : 0;
    }
    return shots;
}
