// SPDX-License-Identifier: GPL-3.0-or-later
// kestrune-replay: checks replay files without a window. Each file is played
// through the game's rules as fast as they go, and the digest of every shot is
// compared with the one the file recorded.
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "replay/Replay.h"
#include "replay/ReplayChecker.h"
#include "replay/ReplayReader.h"

namespace {

void printUsage(std::ostream& out)
{
    out << "Usage: kestrune-replay FILE...\n"
           "Plays each Kestrune replay file through the game's rules without a window and\n"
           "checks that every shot gives the battlefield the file recorded.\n"
           "\n"
           "  --help      show this text and exit\n"
           "  --version   show the version and exit\n"
           "\n"
           "Prints \"FILE: N shots, digests agree\" or the first shot that disagrees for each\n"
           "file; exits 0 only when every file agrees."
        << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            printUsage(std::cout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "kestrune-replay " << KESTRUNE_VERSION << std::endl;
            return 0;
        }
    }
    bool allAgree = true;
    for (int i = 1; i < argc; ++i) {
        std::string problem;
        const std::optional<Replay> replay = ReplayReader::read(argv[i], problem);
        if (!replay) {
            std::cout << problem << std::endl;
            allAgree = false;
            continue;
        }
        const ReplayVerdict verdict = checkReplay(*replay);
        std::cout << verdictLine(*replay, verdict) << std::endl;
        allAgree = allAgree && verdict.agrees();
    }
    return allAgree ? 0 : 1;
}
