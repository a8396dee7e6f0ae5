// SPDX-License-Identifier: GPL-3.0-or-later
// The server's options, each word checked.
#include "net/ServerOptions.h"

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "ai/ComputerLevel.h"
#include "model/ArenaModel.h"
#include "settings/GameSetup.h"

namespace {

// A whole number of at most nine digits, nothing else.
std::optional<long> readCount(const std::string& word)
{
    if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::atol(word.c_str());
}

// "all", or player ids separated by commas; every id below players.
std::optional<std::vector<int>> readComputers(const std::string& list, int players)
{
    std::vector<int> ids;
    if (list == "all") {
        for (int id = 0; id < players; ++id) {
            ids.push_back(id);
        }
        return ids;
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        comma = comma == std::string::npos ? list.size() : comma;
        const std::optional<long> id = readCount(list.substr(start, comma - start));
        if (!id || *id >= MAX_SETUP_PLAYERS) {
            return std::nullopt;
        }
        ids.push_back(static_cast<int>(*id));
        start = comma + 1;
    }
    return ids;
}

} // namespace

void printServerUsage(std::ostream& out)
{
    out << "Usage: kestrune-server [OPTION]...\n"
           "Serves a game of Kestrune to players who join it over the network.\n"
           "\n"
           "  --port P          the UDP port to listen on (default "
        << DEFAULT_PORT
        << ")\n"
           "  --players N       the number of casters, from 2 to 8 (default 2)\n"
           "  --grid W D H      the battlefield's width, depth and height in cells (default 15 15 20)\n"
           "  --wind, --no-wind whether the wind blows (default: it does not)\n"
           "  --seed N          the seed of the first battlefield (default: the time of day)\n"
           "  --computer LIST   computer players: their seats (from 0) separated by commas, or all\n"
           "  --level L         how well the computer players play: easy, normal (default) or hard\n"
           "  --turn-time S     seconds a turn may take, 0 for no limit (default 60)\n"
           "  --password WORD   players must give this word to join\n"
           "  --record FILE     record the game as a replay into FILE\n"
           "  --help            show this help and leave\n"
           "  --version         show the version and leave\n";
}

std::optional<ServerOptions> parseServerOptions(int argc, const char* const* argv, std::ostream& err)
{
    ServerOptions options;
    BattlefieldSetup& setup = options.settings.setup;
    setup.players = 2;
    std::string computers;
    ComputerLevel level = ComputerLevel::normal;
    const auto refuse = [&err](const std::string& why) {
        err << "kestrune-server: " << why << " (see --help)" << std::endl;
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        // The words after the option, when there are that many.
        const auto words = [&](int count) -> std::optional<std::vector<std::string>> {
            if (i + count >= argc) {
                return std::nullopt;
            }
            std::vector<std::string> taken(argv + i + 1, argv + i + 1 + count);
            i += count;
            return taken;
        };
        if (option == "--help") {
            options.help = true;
        } else if (option == "--version") {
            options.version = true;
        } else if (option == "--wind" || option == "--no-wind") {
            setup.windEnabled = option == "--wind";
        } else if (option == "--port") {
            const auto value = words(1);
            const std::optional<long> port = value ? readCount((*value)[0]) : std::nullopt;
            if (!port || *port < 1 || *port > 65535) {
                return refuse("--port needs a UDP port from 1 to 65535");
            }
            options.settings.port = static_cast<std::uint16_t>(*port);
        } else if (option == "--players") {
            const auto value = words(1);
            const std::optional<long> count = value ? readCount((*value)[0]) : std::nullopt;
            if (!count || *count < MIN_SETUP_PLAYERS || *count > MAX_SETUP_PLAYERS) {
                return refuse("--players needs a number of casters from " + std::to_string(MIN_SETUP_PLAYERS)
                              + " to " + std::to_string(MAX_SETUP_PLAYERS));
            }
            setup.players = static_cast<int>(*count);
        } else if (option == "--grid") {
            const auto value = words(3);
            std::optional<long> sides[3];
            for (int side = 0; value && side < 3; ++side) {
                sides[side] = readCount((*value)[static_cast<std::size_t>(side)]);
            }
            if (!sides[0] || !sides[1] || !sides[2]) {
                return refuse("--grid needs a width, a depth and a height in cells");
            }
            setup.width = static_cast<int>(*sides[0]);
            setup.depth = static_cast<int>(*sides[1]);
            setup.height = static_cast<int>(*sides[2]);
        } else if (option == "--seed") {
            const auto value = words(1);
            char* end = nullptr;
            const unsigned long seed = value ? std::strtoul((*value)[0].c_str(), &end, 10) : 0;
            if (!value || (*value)[0].empty() || *end != '\0' || (*value)[0][0] == '-' || seed > 0xffffffffUL) {
                return refuse("--seed needs a whole number from 0 to 4294967295");
            }
            options.settings.seed = static_cast<std::uint32_t>(seed);
        } else if (option == "--computer") {
            const auto value = words(1);
            if (!value) {
                return refuse("--computer needs a list of seats or all");
            }
            computers = (*value)[0];
        } else if (option == "--level") {
            const auto value = words(1);
            const std::optional<ComputerLevel> read = value ? parseLevel((*value)[0]) : std::nullopt;
            if (!read) {
                return refuse("--level needs easy, normal or hard");
            }
            level = *read;
        } else if (option == "--turn-time") {
            const auto value = words(1);
            char* end = nullptr;
            const double seconds = value ? std::strtod((*value)[0].c_str(), &end) : -1.0;
            if (!value || (*value)[0].empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0.0
                || seconds > 3600.0) {
                return refuse("--turn-time needs seconds from 0 (no limit) to 3600");
            }
            options.settings.turnTime = seconds;
        } else if (option == "--password" || option == "--record") {
            const auto value = words(1);
            if (!value || (*value)[0].empty()) {
                return refuse(option + " needs a word after it");
            }
            if (option == "--password" && (*value)[0].size() > MAX_PASSWORD_TEXT) {
                return refuse("--password takes at most " + std::to_string(MAX_PASSWORD_TEXT) + " bytes");
            }
            (option == "--password" ? options.settings.password : options.settings.recordFile) = (*value)[0];
        } else {
            return refuse("unknown option " + option);
        }
    }
    if (const std::string problem = ArenaModel::gridProblem(setup.width, setup.depth, setup.height, setup.players,
                                                            setup.playerWidth);
        !problem.empty()) {
        return refuse("--grid refused: " + problem);
    }
    setup.kinds.assign(static_cast<std::size_t>(setup.players), std::nullopt);
    if (!computers.empty()) {
        const std::optional<std::vector<int>> ids = readComputers(computers, setup.players);
        if (!ids) {
            return refuse("--computer needs seats from 0 to " + std::to_string(setup.players - 1)
                          + " separated by commas, or all");
        }
        for (int id : *ids) {
            if (id >= setup.players) {
                return refuse("--computer names seat " + std::to_string(id) + " of " + std::to_string(setup.players)
                              + " casters");
            }
            setup.kinds[static_cast<std::size_t>(id)] = level;
        }
    }
    return options;
}
