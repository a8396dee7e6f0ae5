// SPDX-License-Identifier: GPL-3.0-or-later
// The computer players of a game without a window: a server's computer seats
// and the seats of machines that went silent. A turn in phases, like a
// window's: think on a copy of the battlefield (on a worker thread), turn the
// cannon over a second in steps the other machines see, show the spell, cast;
// every step a command handed to the server.
#pragma once

#include <functional>
#include <random>
#include <string>

#include "ai/BackgroundChooser.h"
#include "game/GameCommand.h"

class Game;

class ServerComputer {
public:
    // game: not owned, outlives the computer. apply: carries a command out
    // (the server applies and sends it). seed: of the levels' choices.
    ServerComputer(Game& game, std::function<void(const GameCommand&)> apply, std::uint32_t seed);
    ~ServerComputer();
    ServerComputer(const ServerComputer&) = delete;
    ServerComputer& operator=(const ServerComputer&) = delete;

    // One step at now (milliseconds): plays the turn if it is a computer's and
    // the last shot has been shown (busy false).
    void play(long now, bool busy);
    // Drops a turn in progress.
    void drop();

private:
    enum class Phase { none, thinking, aiming, casting };

    void takeChoice(long now);
    void turnCannon(long now);
    void cast(long now);

    Game& game; // not owned
    std::function<void(const GameCommand&)> apply;
    std::mt19937 seeds;
    BackgroundChooser chooser;
    Phase phase = Phase::none;
    int player = -1;
    long phaseStart = 0;
    long lastAim = 0;
    double fromYaw = 0.0, fromPitch = 0.0, fromPower = 0.0;
    double toYaw = 0.0, toPitch = 0.0, toPower = 0.0;
    std::string spell;
    std::string humanSpell; // "" unless the computer's spell replaced it
};
