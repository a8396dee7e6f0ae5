// SPDX-License-Identifier: GPL-3.0-or-later
// Hosting and joining from the window, and what the window shows of it.
#include "app/NetworkPlay.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstdlib>
#include <ostream>

#include "controller/ArenaController.h"
#include "controller/TurnClock.h"
#include "game/Game.h"
#include "net/GameClient.h"
#include "net/GameServer.h"
#include "net/TokenStore.h"
#include "view/ArenaView.h"

NetworkPlay::NetworkPlay(Game& game, ArenaView& view, ArenaController& controller, std::ostream& err,
                         const std::string& tokenFile, std::function<void()> startLocal)
    : game(game), view(view), controller(controller), err(err),
      tokens(std::make_unique<TokenStore>(tokenFile, err)), startLocal(std::move(startLocal))
{
}

NetworkPlay::~NetworkPlay()
{
    quit();
}

std::string NetworkPlay::playerName(const std::string& given, const GameSetup& setup)
{
    if (!given.empty()) {
        return given;
    }
    if (!setup.seats[0].name.empty()) {
        return setup.seats[0].name;
    }
    std::string login;
    if (const char* user = std::getenv("USER")) {
        for (const char* c = user; *c != '\0' && login.size() < MAX_NAME_LENGTH; ++c) {
            if (isNameCharacter(*c) && *c != ' ') {
                login += *c;
            }
        }
    }
    if (!login.empty() && nameProblem(login).empty()) {
        login[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(login[0])));
        return login;
    }
    return "Player";
}

std::string NetworkPlay::ownAddress()
{
    ifaddrs* addresses = nullptr;
    std::string found;
    if (getifaddrs(&addresses) == 0) {
        for (ifaddrs* address = addresses; address != nullptr && found.empty(); address = address->ifa_next) {
            if (address->ifa_addr == nullptr || address->ifa_addr->sa_family != AF_INET) {
                continue;
            }
            const in_addr ip = reinterpret_cast<const sockaddr_in*>(address->ifa_addr)->sin_addr;
            if ((ntohl(ip.s_addr) >> 24) != 127) {
                char text[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &ip, text, sizeof text);
                found = text;
            }
        }
        freeifaddrs(addresses);
    }
    if (found.empty()) {
        char name[256] = {};
        found = gethostname(name, sizeof name - 1) == 0 ? name : "localhost";
    }
    return found;
}

bool NetworkPlay::host(const GameSetup& setup, std::uint32_t seed, std::uint16_t port, double turnTime,
                       const std::string& password, const std::string& name)
{
    ServerSettings settings;
    settings.port = port;
    settings.setup.players = setup.players;
    settings.setup.width = setup.width;
    settings.setup.depth = setup.depth;
    settings.setup.height = setup.height;
    settings.setup.windEnabled = setup.wind;
    for (int id = 0; id < setup.players; ++id) {
        settings.setup.kinds.push_back(setup.seats[static_cast<std::size_t>(id)].computer);
    }
    settings.seed = seed;
    settings.turnTime = turnTime;
    settings.password = password;
    // The server's lines would only repeat this window's: they go nowhere.
    server = std::make_unique<GameServer>(settings, nowhere, err);
    std::string problem;
    if (!server->start(problem)) {
        err << "kestrune: cannot host: " << problem << "; playing locally" << std::endl;
        server.reset();
        return false;
    }
    shownAddress = ownAddress() + ":" + std::to_string(server->getPort());
    connectClient("127.0.0.1", server->getPort(), name, password);
    return true;
}

bool NetworkPlay::join(const std::string& address, const std::string& name, const std::string& password)
{
    std::string hostName = address;
    std::uint16_t port = DEFAULT_PORT;
    const std::size_t colon = address.rfind(':');
    if (colon != std::string::npos) {
        hostName = address.substr(0, colon);
        const std::string portText = address.substr(colon + 1);
        char* end = nullptr;
        const long value = std::strtol(portText.c_str(), &end, 10);
        if (portText.empty() || *end != '\0' || value < 1 || value > 65535) {
            err << "kestrune: --join " << address << " has no usable port; playing locally" << std::endl;
            return false;
        }
        port = static_cast<std::uint16_t>(value);
    }
    if (hostName.empty()) {
        err << "kestrune: --join " << address << " names no server; playing locally" << std::endl;
        return false;
    }
    shownAddress = hostName + ":" + std::to_string(port);
    connectClient(hostName, port, name, password);
    return client != nullptr;
}

void NetworkPlay::connectClient(const std::string& host, std::uint16_t port, const std::string& name,
                                const std::string& password)
{
    ClientSettings settings;
    settings.host = host;
    settings.port = port;
    settings.name = name;
    settings.password = password;
    const std::string key = host + ":" + std::to_string(port);
    settings.token = tokens->find(key, name);
    client = std::make_unique<GameClient>(game, settings, err);
    client->onToken = [this, key, name](const std::string& token) { tokens->keep(key, name, token); };
    client->onChat = [this](const std::string& speaker, const std::string& text) {
        view.getOverlay().addChatLine(speaker, text);
    };
    client->onNotice = [this](const std::string& text) { view.getOverlay().addNotice(text); };
    client->onTurnClock = [this](int player, long milliseconds) {
        controller.getTurnClock().restart(player, milliseconds);
    };
    std::string problem;
    if (!client->connect(problem)) {
        err << "kestrune: cannot join " << key << ": " << problem << "; playing locally" << std::endl;
        client.reset();
        return;
    }
    controller.setNetwork(client.get());
}

void NetworkPlay::idle()
{
    if (server) {
        // The host's console sets the turn time of everyone's game.
        const double turnTime = controller.getTurnClock().getTurnTime();
        if (turnTime != server->getTurnTime()) {
            server->setTurnTime(turnTime);
        }
        server->service(0);
    }
    if (!client) {
        return;
    }
    const bool wasNetworked = client->isNetworked();
    client->service(view.isAnimating(), 0);
    if (wasNetworked && !client->isNetworked()) {
        // The game is this machine's now: its clock passes the turns, and
        // the turn under way starts again with the whole time.
        TurnClock& clock = controller.getTurnClock();
        clock.setTurnTime(clock.getTurnTime());
    }
    if (!client->isNetworked() && !client->hasBattlefield() && !localStarted) {
        // Nobody answered, or the server would not have us: a game here.
        localStarted = true;
        startLocal();
    }
    showWaiting();
}

void NetworkPlay::showWaiting()
{
    const int waiting = client->getStatus() == GameClient::Status::joined ? client->getWaiting() : 0;
    std::string line;
    if (client->getStatus() == GameClient::Status::connecting) {
        line = "Joining " + shownAddress;
    } else if (waiting > 0) {
        line = "Waiting for " + std::to_string(waiting) + (waiting == 1 ? " player" : " players") + " \u2014 "
               + shownAddress;
    }
    view.getOverlay().setWaitingLine(line);
}

void NetworkPlay::quit()
{
    if (client) {
        client->leave();
    }
    if (server) {
        server->stop();
    }
}

GameClient* NetworkPlay::getClient()
{
    return client.get();
}

GameServer* NetworkPlay::getServer()
{
    return server.get();
}
