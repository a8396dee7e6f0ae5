// SPDX-License-Identifier: GPL-3.0-or-later
// Network games in one test process: a server and machines without windows,
// each with its own game, whose players cast the hard computer's shot on
// their turn; and the rounds that move them all until something holds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/GameListener.h"
#include "model/ArenaModel.h"
#include "net/GameClient.h"
#include "net/GameServer.h"

// A server for seats human players take, fast: shots need no time to show.
ServerSettings quickServer(int players, std::uint32_t seed);

class Machine : public GameListener {
public:
    Machine(const std::string& name, std::uint16_t port, const std::string& token = "", long silentAfter = 10000);
    ~Machine() override;

    // One round: the network, then a cast when it is this machine's turn.
    void step();
    void onShot(int shot, std::uint64_t digest) override;

    std::ostringstream out;
    std::ostringstream err;
    ArenaModel model;
    Game game;
    std::unique_ptr<GameClient> client;
    std::vector<std::uint64_t> shotDigests; // every shot's, in order
    bool plays = true;                     // false: its players never cast

private:
    int castAtShot = -1;
    std::mt19937 stream{7};
};

// Rounds of the server and the machines (and of extra, each round) until
// done() holds; false when it did not within the limit of real time (a
// safety net, never a pace: the rounds wait for the network alone).
bool runUntil(GameServer* server, const std::vector<Machine*>& machines, const std::function<bool()>& done,
              const std::function<void()>& extra = {}, int limitSeconds = 60);
