// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LossyRelay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {

int openSocket()
{
    const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    fcntl(socket, F_SETFL, O_NONBLOCK);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(socket, reinterpret_cast<sockaddr*>(&any), sizeof any);
    return socket;
}

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

} // namespace

LossyRelay::LossyRelay(std::uint16_t serverPort, std::uint32_t seed, double loss, double duplication)
    : front(openSocket()), random(seed), loss(loss), duplication(duplication)
{
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    getsockname(front, reinterpret_cast<sockaddr*>(&bound), &size);
    port = ntohs(bound.sin_port);
    server.sin_family = AF_INET;
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    server.sin_port = htons(serverPort);
}

LossyRelay::~LossyRelay()
{
    for (const Link& link : links) {
        close(link.socket);
    }
    close(front);
}

std::uint16_t LossyRelay::getPort() const
{
    return port;
}

long LossyRelay::now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void LossyRelay::hold(int socket, const sockaddr_in& to, const std::vector<std::uint8_t>& bytes)
{
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::uniform_int_distribution<long> delay(50, 150);
    if (chance(random) < loss) {
        ++lost;
        return;
    }
    held.push_back(Datagram{now() + delay(random), socket, to, bytes});
    if (chance(random) < duplication) {
        ++doubled;
        held.push_back(Datagram{now() + delay(random), socket, to, bytes});
    }
}

void LossyRelay::pump()
{
    std::vector<std::uint8_t> buffer(65536);
    sockaddr_in from{};
    socklen_t size = sizeof from;
    ssize_t got;
    while ((got = recvfrom(front, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &size)) > 0) {
        Link* link = nullptr;
        for (Link& known : links) {
            link = sameAddress(known.machine, from) ? &known : link;
        }
        if (link == nullptr) {
            links.push_back(Link{from, openSocket()});
            link = &links.back();
        }
        hold(link->socket, server, std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + got));
        size = sizeof from;
    }
    for (const Link& link : links) {
        while ((got = recv(link.socket, buffer.data(), buffer.size(), 0)) > 0) {
            hold(front, link.machine, std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + got));
        }
    }
    const long time = now();
    for (auto datagram = held.begin(); datagram != held.end();) {
        if (datagram->due <= time) {
            sendto(datagram->socket, datagram->bytes.data(), datagram->bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&datagram->to), sizeof datagram->to);
            ++relayed;
            datagram = held.erase(datagram);
        } else {
            ++datagram;
        }
    }
}
