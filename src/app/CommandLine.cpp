// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as one table of options (names, value, help, what each
// sets) read by one small parser and printed as the usage; the set-up the
// options give, the start-up line and the game-mode string.
#include "app/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <sstream>
#include <variant>

#include "controller/TurnClock.h"
#include "model/ArenaModel.h"
#include "net/Message.h"

namespace {

// atoi's reading (leading blanks, optional sign, digits, then anything),
// without its undefined behaviour on overflow: out-of-range values saturate.
int readInt(const char* text)
{
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

bool readSeed(const char* text, unsigned int& seed)
{
    if (*text < '0' || *text > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || value > UINT_MAX) {
        return false;
    }
    seed = static_cast<unsigned int>(value);
    return true;
}

// "all", or player ids from 0 to MAX_PLAYERS - 1 separated by commas.
bool readComputers(const std::string& list, CommandLine& options)
{
    if (list == "all") {
        options.allComputers = true;
        return true;
    }
    std::vector<int> ids;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        const std::string word = list.substr(start, comma - start);
        if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        const int id = std::atoi(word.c_str());
        if (id >= MAX_PLAYERS) {
            return false;
        }
        ids.push_back(id);
        start = comma + 1;
    }
    options.computerIds = ids;
    return true;
}

// A whole number of at most nine digits, nothing else.
std::optional<int> readCount(const char* text)
{
    const std::string word(text);
    if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::atoi(word.c_str());
}

void keepPositiveSide(const char* option, int& side, int defaultSide, std::ostream& err)
{
    if (side <= 0 || side > MAX_WINDOW_SIDE) {
        err << "kestrune: " << option << " " << side << " is not a usable size (1 to "
            << MAX_WINDOW_SIDE << "); using " << defaultSide << std::endl;
        side = defaultSide;
    }
}

// Whether a word after the program's name is exactly this one.
bool hasWord(int argc, char** argv, const char* word)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], word) == 0) {
            return true;
        }
    }
    return false;
}

// --- What each option reads ---------------------------------------------------

// An option alone; told which of its names was given.
using Switch = void (*)(CommandLine& options, const std::string& name);

// One word read like atoi into a setting; without it the setting is kept.
using NumberSetting = int CommandLine::*;

// One word that is not empty: a file or a folder.
struct PathSetting {
    std::string CommandLine::*setting;
    const char* needs;     // "a file"
    const char* otherwise; // what the game does without it
};

// Words the option's own reader checks: "" when it took them, else what is
// wrong with them ("is not ..."), said after the option and its words.
using CheckedReader = std::string (*)(const std::vector<std::string>& words, CommandLine& options);
struct CheckedValue {
    std::size_t count;     // words after the option
    const char* needs;     // said when they are missing; nullptr: the reader judges
    const char* otherwise; // what the game does when they are refused
    CheckedReader read;
};

// An option's kind of value, and what it sets.
using OptionValue = std::variant<Switch, NumberSetting, PathSetting, CheckedValue>;

struct Option {
    std::vector<std::string> names;
    const char* value; // what follows the name in the usage; "" for a switch
    const char* help;  // the usage's lines, separated by '\n'
    OptionValue reads;
};

std::string readSeedOption(const std::vector<std::string>& words, CommandLine& options)
{
    if (!readSeed(words[0].c_str(), options.seed)) {
        return "is not a whole number from 0 to " + std::to_string(UINT_MAX);
    }
    options.seedGiven = true;
    return "";
}

std::string readComputerOption(const std::vector<std::string>& words, CommandLine& options)
{
    if (!readComputers(words[0], options)) {
        return "is not a list of player ids from 0 to " + std::to_string(MAX_PLAYERS - 1)
               + " separated by commas, nor all";
    }
    return "";
}

std::string readLevelOption(const std::vector<std::string>& words, CommandLine& options)
{
    const std::optional<ComputerLevel> level = parseLevel(words[0]);
    if (!level) {
        return "is not easy, normal or hard";
    }
    options.level = *level;
    options.levelGiven = true;
    return "";
}

std::string readPlayersOption(const std::vector<std::string>& words, CommandLine& options)
{
    const std::optional<int> count = words.empty() ? std::nullopt : readCount(words[0].c_str());
    if (!count || *count < MIN_SETUP_PLAYERS || *count > MAX_SETUP_PLAYERS) {
        return "is not a number of casters from " + std::to_string(MIN_SETUP_PLAYERS) + " to "
               + std::to_string(MAX_SETUP_PLAYERS);
    }
    options.players = count;
    return "";
}

std::string readGridOption(const std::vector<std::string>& words, CommandLine& options)
{
    std::array<int, 3> sides{};
    bool read = words.size() == sides.size();
    for (std::size_t side = 0; read && side < sides.size(); ++side) {
        const std::optional<int> value = readCount(words[side].c_str());
        read = value.has_value();
        sides[side] = value.value_or(0);
    }
    const std::string problem =
        read ? ArenaModel::gridProblem(sides[0], sides[1], sides[2], MIN_SETUP_PLAYERS, DEFAULT_PLAYER_WIDTH)
             : "it needs a width, a depth and a height in cells";
    if (!problem.empty()) {
        return "refused: " + problem;
    }
    options.grid = sides;
    return "";
}

std::string readTurnTimeOption(const std::vector<std::string>& words, CommandLine& options)
{
    char* end = nullptr;
    const double seconds = std::strtod(words[0].c_str(), &end);
    if (words[0].empty() || *end != '\0' || !TurnClock::isUsableTurnTime(seconds)) {
        return "is not a number of seconds from 0 to " + std::to_string(static_cast<int>(TurnClock::MAX_TURN_TIME));
    }
    options.turnTime = seconds;
    return "";
}

// An optional port: a number from 1 to 65535 when the next word is one.
std::string readHostOption(const std::vector<std::string>& words, CommandLine& options)
{
    options.hostPort = DEFAULT_PORT;
    if (words.empty() || words[0].empty() || words[0].find_first_not_of("0123456789") != std::string::npos) {
        return "";
    }
    const std::optional<int> port = readCount(words[0].c_str());
    if (!port || *port < 1 || *port > 65535) {
        return "is not a UDP port from 1 to 65535";
    }
    options.hostPort = *port;
    return "";
}

std::string readNameOption(const std::vector<std::string>& words, CommandLine& options)
{
    if (words[0].empty()) {
        return "is not a name";
    }
    if (const std::string problem = nameProblem(words[0]); !problem.empty()) {
        return "is not a caster's name: " + problem;
    }
    options.name = words[0];
    return "";
}

std::string readPasswordOption(const std::vector<std::string>& words, CommandLine& options)
{
    if (words[0].empty() || words[0].size() > MAX_PASSWORD_TEXT) {
        return "is not a password of 1 to " + std::to_string(MAX_PASSWORD_TEXT) + " bytes";
    }
    options.password = words[0];
    return "";
}

// --help and --version are answered before the options are read.
void answeredFirst(CommandLine&, const std::string&) {}

// Every option in the order the usage lists them.
const std::vector<Option>& optionTable()
{
    static const std::vector<Option> table = {
        {{"-f"}, "", "full screen (game mode) instead of a window",
         Switch{[](CommandLine& options, const std::string&) { options.fullscreen = true; }}},
        {{"-w"}, "N", "width in pixels (default 800)", &CommandLine::width},
        {{"-h"}, "N", "height in pixels (default 600)", &CommandLine::height},
        {{"-d"}, "N", "colour depth in bits per pixel, full screen only (default 16)", &CommandLine::depth},
        {{"-x"}, "N", "window position x in screen pixels (default 400)", &CommandLine::x},
        {{"-y"}, "N", "window position y in screen pixels (default 100)", &CommandLine::y},
        {{"--seed"}, "N", "seed the random generator with N to replay a battlefield",
         CheckedValue{1, "a value", "seeding from the time of day", readSeedOption}},
        {{"--computer"}, "LIST", "computer players: their ids (from 0) separated by commas, or all",
         CheckedValue{1, "a list of player ids or all", "every player is human", readComputerOption}},
        {{"--level"}, "LEVEL", "how well the computer players play: easy, normal (default) or hard",
         CheckedValue{1, "easy, normal or hard", "using normal", readLevelOption}},
        {{"--players"}, "N", "the number of casters, from 2 to 8 (default 4)",
         CheckedValue{1, nullptr, "it is not used", readPlayersOption}},
        {{"--grid"}, "W D H",
         "the battlefield's width, depth and height in cells\n"
         "(default 15 15 20; at most 256 a side and 4000000 cells)",
         CheckedValue{3, nullptr, "it is not used", readGridOption}},
        {{"--wind", "--no-wind"}, "", "whether the wind blows (default: it does not)",
         Switch{[](CommandLine& options, const std::string& name) { options.wind = name == "--wind"; }}},
        {{"--turn-time"}, "S",
         "a turn passes without a cast after S seconds (0 to 3600;\n"
         "default 0: a turn lasts until its cast)",
         CheckedValue{1, "a number of seconds", "no turn limit", readTurnTimeOption}},
        {{"--host"}, "[PORT]",
         "serve a network game from this window's process on UDP PORT\n"
         "(default 27415); this keyboard plays seat 0, the other human\n"
         "seats wait for players who join",
         CheckedValue{1, nullptr, "not serving", readHostOption}},
        {{"--join"}, "HOST[:PORT]", "join the network game served at HOST (port 27415 unless given)",
         PathSetting{&CommandLine::join, "a server's address", "playing locally"}},
        {{"--name"}, "NAME", "the name to play under in a network game",
         CheckedValue{1, "a name", "joining under the set-up's or the login name", readNameOption}},
        {{"--password"}, "WORD", "the password of the network game to host or join",
         CheckedValue{1, "a password", "no password", readPasswordOption}},
        {{"--no-settings"}, "",
         "neither read nor write the remembered set-up\n"
         "($XDG_CONFIG_HOME/kestrune/settings.ini)",
         Switch{[](CommandLine& options, const std::string&) { options.settings = false; }}},
        {{"--no-autocamera"}, "", "the camera moves only by hand, from its start place (c toggles)",
         Switch{[](CommandLine& options, const std::string&) { options.autoCamera = false; }}},
        {{"--mute"}, "", "start without sound (\"enable sound\" in the console brings it)",
         Switch{[](CommandLine& options, const std::string&) { options.mute = true; }}},
        {{"--record"}, "FILE",
         "record the whole session into FILE (by default each battlefield\n"
         "goes to its own file in $XDG_STATE_HOME/kestrune/replays)",
         PathSetting{&CommandLine::recordFile, "a file", "recording as usual"}},
        {{"--no-record"}, "", "record nothing",
         Switch{[](CommandLine& options, const std::string&) { options.record = false; }}},
        {{"--replay"}, "FILE", "play FILE back, then go on playing from where it ends",
         PathSetting{&CommandLine::replayFile, "a file", "starting a new game"}},
        {{"--data-dir"}, "DIR", "read the game's data files from DIR (also: $KESTRUNE_DATA)",
         PathSetting{&CommandLine::dataDir, "a folder", "looking in the usual places"}},
        {{"--help"}, "", "show this text and exit", Switch{answeredFirst}},
        {{"--version"}, "", "show the version and exit", Switch{answeredFirst}},
    };
    return table;
}

const Option* findOption(const char* word)
{
    for (const Option& option : optionTable()) {
        for (const std::string& name : option.names) {
            if (name == word) {
                return &option;
            }
        }
    }
    return nullptr;
}

// "-w N", "--wind, --no-wind"
std::string usageLabel(const Option& option)
{
    std::string label;
    for (const std::string& name : option.names) {
        label += (label.empty() ? "" : ", ") + name;
    }
    return *option.value == '\0' ? label : label + " " + option.value;
}

// The column the help texts start at, after two blanks; a longer label has
// a line of its own.
constexpr std::size_t USAGE_LABEL_WIDTH = 12;

void printOption(std::ostream& out, const Option& option)
{
    const std::string label = usageLabel(option);
    const std::string indent(USAGE_LABEL_WIDTH + 2, ' ');
    out << "  " << label;
    if (label.size() < USAGE_LABEL_WIDTH) {
        out << std::string(USAGE_LABEL_WIDTH - label.size(), ' ');
    } else {
        out << "\n" << indent;
    }
    for (const char* c = option.help; *c != '\0'; ++c) {
        out << *c << (*c == '\n' ? indent : "");
    }
    out << "\n";
}

// One option met among the words: reads what follows it, warning on err
// about what it cannot use. The words after it are not skipped.
class OptionReading {
public:
    OptionReading(const std::string& name, int following, char** words, CommandLine& options, std::ostream& err)
        : name(name)
        , following(following)
        , words(words)
        , options(options)
        , err(err)
    {
    }

    void operator()(Switch flip) const { flip(options, name); }

    void operator()(NumberSetting setting) const
    {
        if (following < 1) {
            warn("needs a value; keeping " + std::to_string(options.*setting));
            return;
        }
        options.*setting = readInt(words[0]);
    }

    void operator()(const PathSetting& path) const
    {
        if (following < 1 || words[0][0] == '\0') {
            warn(std::string("needs ") + path.needs + "; " + path.otherwise);
            return;
        }
        options.*path.setting = words[0];
    }

    void operator()(const CheckedValue& checked) const
    {
        const std::size_t given = std::min(checked.count, static_cast<std::size_t>(following));
        if (given < checked.count && checked.needs != nullptr) {
            warn(std::string("needs ") + checked.needs + "; " + checked.otherwise);
            return;
        }
        const std::vector<std::string> values(words, words + given);
        const std::string complaint = checked.read(values, options);
        if (!complaint.empty()) {
            std::string shown;
            for (const std::string& value : values) {
                shown += value + " ";
            }
            warn(shown + complaint + "; " + checked.otherwise);
        }
    }

private:
    void warn(const std::string& what) const { err << "kestrune: " << name << " " << what << std::endl; }

    const std::string& name;
    int following;  // words after the option
    char** words;   // not owned: the program's arguments after the option
    CommandLine& options;
    std::ostream& err;
};

} // namespace

bool wantsHelp(int argc, char** argv)
{
    return hasWord(argc, argv, "--help");
}

bool wantsVersion(int argc, char** argv)
{
    return hasWord(argc, argv, "--version");
}

std::string versionLine()
{
    return std::string("kestrune ") + KESTRUNE_VERSION;
}

const char* gameVersion()
{
    return KESTRUNE_VERSION;
}

void printUsage(std::ostream& out)
{
    out << "Usage: kestrune [options]\n"
           "A turn-based 3D artillery game for spell-casters sharing one machine.\n"
           "\n";
    for (const Option& option : optionTable()) {
        printOption(out, option);
    }
    out << "\n"
           "F2 opens the new-game screen; command-line options win over the\n"
           "remembered set-up. Escape quits."
        << std::endl;
}

std::vector<std::string> commandLineOptionNames()
{
    std::vector<std::string> names;
    for (const Option& option : optionTable()) {
        names.insert(names.end(), option.names.begin(), option.names.end());
    }
    return names;
}

CommandLine parseCommandLine(int argc, char** argv, std::ostream& err)
{
    const CommandLine defaults;
    CommandLine options;
    // argv[0] too, and every value: the next pass compares it as a word.
    for (int i = 0; i < argc; ++i) {
        if (const Option* option = findOption(argv[i])) {
            const std::string name = argv[i];
            std::visit(OptionReading(name, argc - i - 1, argv + i + 1, options, err), option->reads);
        }
    }
    keepPositiveSide("-w", options.width, defaults.width, err);
    keepPositiveSide("-h", options.height, defaults.height, err);
    return options;
}

void applyCommandLine(const CommandLine& options, GameSetup& setup, std::ostream& err)
{
    if (options.players) {
        setup.players = *options.players;
    }
    if (options.grid) {
        setup.width = (*options.grid)[0];
        setup.depth = (*options.grid)[1];
        setup.height = (*options.grid)[2];
    }
    if (options.wind) {
        setup.wind = *options.wind;
    }
    const bool computersGiven = options.allComputers || !options.computerIds.empty();
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        std::optional<ComputerLevel>& computer = setup.seats[static_cast<std::size_t>(id)].computer;
        if (computersGiven) {
            const bool listed = options.allComputers
                                || std::find(options.computerIds.begin(), options.computerIds.end(), id)
                                       != options.computerIds.end();
            computer = listed ? std::optional<ComputerLevel>(options.level) : std::nullopt;
        } else if (options.levelGiven && computer) {
            computer = options.level;
        }
    }
    const std::string problem = battlefieldProblem(setup.width, setup.depth, setup.height, setup.players);
    if (!problem.empty()) {
        const GameSetup first;
        err << "kestrune: a " << setup.width << " x " << setup.depth << " x " << setup.height
            << " battlefield cannot hold " << setup.players << " casters: " << problem << "; using " << first.width
            << " x " << first.depth << " x " << first.height << std::endl;
        setup.width = first.width;
        setup.depth = first.depth;
        setup.height = first.height;
    }
}

std::string startupLine(const CommandLine& options)
{
    std::ostringstream line;
    line << options.width << "x" << options.height << ":" << options.depth << " at " << options.x
         << "," << options.y;
    return line.str();
}

std::string gameModeString(const CommandLine& options)
{
    std::ostringstream mode;
    mode << options.width << "x" << options.height << ":" << options.depth;
    return mode.str();
}
