// SPDX-License-Identifier: GPL-3.0-or-later
// Parses the command line into the window settings and formats the start-up
// line and the game-mode string from them.
#include "app/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <sstream>

#include "model/ArenaModel.h"

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
           "\n"
           "  -f          full screen (game mode) instead of a window\n"
           "  -w N        width in pixels (default 800)\n"
           "  -h N        height in pixels (default 600)\n"
           "  -d N        colour depth in bits per pixel, full screen only (default 16)\n"
           "  -x N        window position x in screen pixels (default 400)\n"
           "  -y N        window position y in screen pixels (default 100)\n"
           "  --seed N    seed the random generator with N to replay a battlefield\n"
           "  --computer LIST\n"
           "              computer players: their ids (from 0) separated by commas, or all\n"
           "  --level LEVEL\n"
           "              how well the computer players play: easy, normal (default) or hard\n"
           "  --players N  the number of casters, from 2 to 8 (default 4)\n"
           "  --grid W D H the battlefield's width, depth and height in cells\n"
           "              (default 15 15 20; at most 256 a side and 4000000 cells)\n"
           "  --wind, --no-wind\n"
           "              whether the wind blows (default: it does not)\n"
           "  --no-settings\n"
           "              neither read nor write the remembered set-up\n"
           "              ($XDG_CONFIG_HOME/kestrune/settings.ini)\n"
           "  --no-autocamera\n"
           "              the camera moves only by hand, from its start place (c toggles)\n"
           "  --mute      start without sound (\"enable sound\" in the console brings it)\n"
           "  --record FILE\n"
           "              record the whole session into FILE (by default each battlefield\n"
           "              goes to its own file in $XDG_STATE_HOME/kestrune/replays)\n"
           "  --no-record record nothing\n"
           "  --replay FILE\n"
           "              play FILE back, then go on playing from where it ends\n"
           "  --data-dir DIR\n"
           "              read the game's data files from DIR (also: $KESTRUNE_DATA)\n"
           "  --help      show this text and exit\n"
           "  --version   show the version and exit\n"
           "\n"
           "F2 opens the new-game screen; command-line options win over the\n"
           "remembered set-up. Escape quits."
        << std::endl;
}

CommandLine parseCommandLine(int argc, char** argv, std::ostream& err)
{
    const CommandLine defaults;
    CommandLine options;
    for (int i = 0; i < argc; ++i) {
        const char* word = argv[i];
        if (std::strcmp(word, "-f") == 0) {
            options.fullscreen = true;
            continue;
        }
        if (std::strcmp(word, "--no-autocamera") == 0) {
            options.autoCamera = false;
            continue;
        }
        if (std::strcmp(word, "--wind") == 0 || std::strcmp(word, "--no-wind") == 0) {
            options.wind = std::strcmp(word, "--wind") == 0;
            continue;
        }
        if (std::strcmp(word, "--no-settings") == 0) {
            options.settings = false;
            continue;
        }
        if (std::strcmp(word, "--mute") == 0) {
            options.mute = true;
            continue;
        }
        if (std::strcmp(word, "--no-record") == 0) {
            options.record = false;
            continue;
        }
        if (std::strcmp(word, "--record") == 0 || std::strcmp(word, "--replay") == 0) {
            const bool recording = std::strcmp(word, "--record") == 0;
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                err << "kestrune: " << word << " needs a file; "
                    << (recording ? "recording as usual" : "starting a new game") << std::endl;
            } else {
                (recording ? options.recordFile : options.replayFile) = argv[i + 1];
            }
            continue;
        }
        if (std::strcmp(word, "--players") == 0) {
            const std::optional<int> count = i + 1 < argc ? readCount(argv[i + 1]) : std::nullopt;
            if (count && *count >= MIN_SETUP_PLAYERS && *count <= MAX_SETUP_PLAYERS) {
                options.players = count;
            } else {
                err << "kestrune: --players" << (i + 1 < argc ? std::string(" ") + argv[i + 1] : std::string())
                    << " is not a number of casters from " << MIN_SETUP_PLAYERS << " to " << MAX_SETUP_PLAYERS
                    << "; it is not used" << std::endl;
            }
            continue;
        }
        if (std::strcmp(word, "--grid") == 0) {
            std::array<int, 3> sides{};
            bool read = i + 3 < argc;
            for (int side = 0; read && side < 3; ++side) {
                const std::optional<int> value = readCount(argv[i + 1 + side]);
                read = value.has_value();
                sides[static_cast<std::size_t>(side)] = value.value_or(0);
            }
            const std::string problem =
                read ? ArenaModel::gridProblem(sides[0], sides[1], sides[2], MIN_SETUP_PLAYERS, DEFAULT_PLAYER_WIDTH)
                     : "it needs a width, a depth and a height in cells";
            if (problem.empty()) {
                options.grid = sides;
            } else {
                err << "kestrune: --grid";
                for (int side = 1; side <= 3 && i + side < argc; ++side) {
                    err << " " << argv[i + side];
                }
                err << " refused: " << problem << "; it is not used" << std::endl;
            }
            continue;
        }
        int* setting = nullptr;
        if (std::strcmp(word, "-w") == 0) {
            setting = &options.width;
        } else if (std::strcmp(word, "-h") == 0) {
            setting = &options.height;
        } else if (std::strcmp(word, "-d") == 0) {
            setting = &options.depth;
        } else if (std::strcmp(word, "-x") == 0) {
            setting = &options.x;
        } else if (std::strcmp(word, "-y") == 0) {
            setting = &options.y;
        } else if (std::strcmp(word, "--data-dir") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                err << "kestrune: --data-dir needs a folder; looking in the usual places" << std::endl;
            } else {
                options.dataDir = argv[i + 1];
            }
            continue;
        } else if (std::strcmp(word, "--computer") == 0) {
            if (i + 1 >= argc) {
                err << "kestrune: --computer needs a list of player ids or all; every player is human"
                    << std::endl;
            } else if (!readComputers(argv[i + 1], options)) {
                err << "kestrune: --computer " << argv[i + 1] << " is not a list of player ids from 0 to "
                    << MAX_PLAYERS - 1 << " separated by commas, nor all; every player is human"
                    << std::endl;
            }
            continue;
        } else if (std::strcmp(word, "--level") == 0) {
            if (i + 1 >= argc) {
                err << "kestrune: --level needs easy, normal or hard; using normal" << std::endl;
            } else if (const std::optional<ComputerLevel> level = parseLevel(argv[i + 1])) {
                options.level = *level;
                options.levelGiven = true;
            } else {
                err << "kestrune: --level " << argv[i + 1] << " is not easy, normal or hard; using normal"
                    << std::endl;
            }
            continue;
        } else if (std::strcmp(word, "--seed") == 0) {
            if (i + 1 >= argc) {
                err << "kestrune: --seed needs a value; seeding from the time of day" << std::endl;
            } else if (readSeed(argv[i + 1], options.seed)) {
                options.seedGiven = true;
            } else {
                err << "kestrune: --seed " << argv[i + 1]
                    << " is not a whole number from 0 to " << UINT_MAX
                    << "; seeding from the time of day" << std::endl;
            }
            continue;
        } else {
            continue;
        }
        // The value is not skipped: the next pass compares it as a word too.
        if (i + 1 >= argc) {
            err << "kestrune: " << word << " needs a value; keeping " << *setting << std::endl;
            continue;
        }
        *setting = readInt(argv[i + 1]);
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
