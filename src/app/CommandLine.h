// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line: window or full screen, size, colour depth, window
// position, plus --help, --version, --seed, the data folder, the computer
// players, the automatic camera, the sound, the new game's casters, battlefield and
// wind over the remembered settings, the replays recorded and played, and the
// turn time.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ai/ComputerLevel.h"
#include "settings/GameSetup.h"

struct CommandLine {
    bool fullscreen = false;
    int width = 800;
    int height = 600;
    int depth = 16; // bits per pixel, game mode only
    int x = 400;    // window position in screen pixels
    int y = 100;
    bool seedGiven = false;
    unsigned int seed = 0;
    std::string dataDir; // "" unless --data-dir was given
    // --computer: the ids of the computer players, or every id.
    std::vector<int> computerIds;
    bool allComputers = false;
    bool levelGiven = false;
    ComputerLevel level = ComputerLevel::normal; // --level
    bool autoCamera = true; // false with --no-autocamera
    // What the remembered set-up is overridden with, when given.
    std::optional<int> players;            // --players
    std::optional<std::array<int, 3>> grid; // --grid: width, depth, height
    std::optional<bool> wind;              // --wind, --no-wind: the last one given
    bool settings = true;                  // false with --no-settings
    bool mute = false;                     // --mute: sound off until the console turns it on
    bool record = true;                    // false with --no-record
    std::string recordFile;                // --record FILE: every battlefield into FILE
    std::string replayFile;                // --replay FILE
    std::optional<int> hostPort;           // --host [PORT]: serve the game from this process on PORT
    std::string join;                      // --join HOST[:PORT]: "" unless given
    std::string name;                      // --name NAME: the player's name in a network game
    std::string password;                  // --password WORD: of the network game
    std::optional<double> turnTime;        // --turn-time S: seconds a turn may take, 0 for no limit
};

// Largest window side accepted from the command line; X cannot make a window
// much larger than this anyway.
constexpr int MAX_WINDOW_SIDE = 16384;

// True when "--help" is among the arguments. Checked before the window system
// is touched, so that the usage text works without a display.
bool wantsHelp(int argc, char** argv);

// The usage: every option with its help, in the order of the option table.
void printUsage(std::ostream& out);

// Every option's names ("-f", ..., "--wind", "--no-wind", ...) in the order
// the usage lists them.
std::vector<std::string> commandLineOptionNames();

// True when "--version" is among the arguments; answered before the window
// system too, with versionLine: "kestrune 0.2.0".
bool wantsVersion(int argc, char** argv);
std::string versionLine();

// Reads the options. Every word is compared, the value of an option too (it
// matches nothing), and unknown words are ignored. Values read like atoi; a
// width or height that is not a positive size, a value option with nothing
// after it, a bad --seed, --computer list or --level each give one warning
// line on err and keep the default.
CommandLine parseCommandLine(int argc, char** argv, std::ostream& err);

// The set-up changed by the options given: casters, battlefield, wind, and
// with --computer every seat's kind (--level alone sets the level of the
// computer seats). A battlefield that cannot hold the casters gives one
// warning line on err and the first battlefield's size.
void applyCommandLine(const CommandLine& options, GameSetup& setup, std::ostream& err);

// "800x600:16 at 400,100"
std::string startupLine(const CommandLine& options);

// "0.2.0": the game's version.
const char* gameVersion();

// "800x600:16", the game-mode string.
std::string gameModeString(const CommandLine& options);
