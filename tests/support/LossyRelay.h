// SPDX-License-Identifier: GPL-3.0-or-later
// A bad network between machines and a server, for tests: UDP datagrams
// relayed both ways, a tenth of them lost, a few doubled, each held back
// 50 to 150 ms (which reorders them). Moved along by pump(), from the test's
// own rounds.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <random>
#include <vector>

class LossyRelay {
public:
    LossyRelay(std::uint16_t serverPort, std::uint32_t seed, double loss = 0.10, double duplication = 0.02);
    ~LossyRelay();
    LossyRelay(const LossyRelay&) = delete;
    LossyRelay& operator=(const LossyRelay&) = delete;

    // Where the machines send to (on 127.0.0.1).
    std::uint16_t getPort() const;
    // Takes what came in and sends what is due.
    void pump();

    long relayed = 0;
    long lost = 0;
    long doubled = 0;

private:
    struct Link {
        sockaddr_in machine;
        int socket; // towards the server, one per machine
    };
    struct Datagram {
        long due;
        int socket;
        sockaddr_in to;
        std::vector<std::uint8_t> bytes;
    };
    void hold(int socket, const sockaddr_in& to, const std::vector<std::uint8_t>& bytes);
    static long now();

    int front;
    std::uint16_t port = 0;
    sockaddr_in server{};
    std::vector<Link> links;
    std::vector<Datagram> held;
    std::mt19937 random;
    double loss;
    double duplication;
};
