// SPDX-License-Identifier: GPL-3.0-or-later
// kestrune-server: a network game without a window. It serves until SIGINT
// or SIGTERM, then says goodbye to every machine and leaves.
#include <csignal>
#include <iostream>

#include "net/GameServer.h"
#include "net/ServerOptions.h"

namespace {

volatile std::sig_atomic_t stopping = 0;

void stop(int)
{
    stopping = 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<ServerOptions> options = parseServerOptions(argc, argv, std::cerr);
    if (!options) {
        return 2;
    }
    if (options->help) {
        printServerUsage(std::cout);
        return 0;
    }
    if (options->version) {
        std::cout << "kestrune-server " << KESTRUNE_VERSION << std::endl;
        return 0;
    }
    struct sigaction action {};
    action.sa_handler = stop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    GameServer server(options->settings, std::cout, std::cerr);
    std::string problem;
    if (!server.start(problem)) {
        std::cerr << "kestrune-server: " << problem << std::endl;
        return 1;
    }
    while (stopping == 0) {
        server.service(50);
    }
    server.stop();
    return 0;
}
