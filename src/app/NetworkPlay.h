// SPDX-License-Identifier: GPL-3.0-or-later
// This window in a network game: a server in this process when hosting, and
// the client that joins it or another machine's, wired to the view (chat,
// notices, the waiting line, the turn clock) and to the controller (whose
// commands go to the server). A join that fails, or a refusal, leaves a local
// game; a server that goes leaves the game where it was, played on here.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <ostream>
#include <string>

#include "settings/GameSetup.h"

class ArenaController;
class ArenaView;
class Game;
class GameClient;
class GameServer;
class TokenStore;

class NetworkPlay {
public:
    // game, view, controller: not owned, outlive the network play. err: the
    // game's diagnostics. tokenFile: where the servers' tokens are kept ("":
    // nowhere). startLocal: starts a local battlefield, for a join that fails.
    NetworkPlay(Game& game, ArenaView& view, ArenaController& controller, std::ostream& err,
                const std::string& tokenFile, std::function<void()> startLocal);
    ~NetworkPlay();
    NetworkPlay(const NetworkPlay&) = delete;
    NetworkPlay& operator=(const NetworkPlay&) = delete;

    // Serves setup from this process on port and joins it as name; false
    // (and one line said) when the port cannot be had.
    bool host(const GameSetup& setup, std::uint32_t seed, std::uint16_t port, double turnTime,
              const std::string& password, const std::string& name);
    // Joins the server at address ("host" or "host:port") as name.
    bool join(const std::string& address, const std::string& name, const std::string& password);
    // Once per idle step: the server's round, the client's, and what the
    // window shows of them.
    void idle();
    // Says goodbye to the server, and as a server to every machine.
    void quit();

    GameClient* getClient();
    GameServer* getServer();

    // The name a player joins under: the one given, else seat 0's of the
    // set-up, else the login name made a caster's name, else "Player".
    static std::string playerName(const std::string& given, const GameSetup& setup);
    // The address others reach this machine at: its first address that is
    // not the loopback, else its host name.
    static std::string ownAddress();

private:
    void connectClient(const std::string& host, std::uint16_t port, const std::string& name,
                       const std::string& password);
    void showWaiting();

    Game& game;                   // not owned
    ArenaView& view;              // not owned
    ArenaController& controller;  // not owned
    std::ostream& err;            // not owned
    std::unique_ptr<TokenStore> tokens;
    std::ostream nowhere{nullptr}; // a hosted server's lines
    std::function<void()> startLocal;
    std::unique_ptr<GameServer> server;
    std::unique_ptr<GameClient> client;
    std::string shownAddress; // "host:port" in the waiting line
    bool battlefieldSeen = false;
    bool localStarted = false;
};
