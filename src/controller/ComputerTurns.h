// SPDX-License-Identifier: GPL-3.0-or-later
// The computer players' turns: who plays as one and at what level, and, one
// idle step at a time, a turn in phases: think on a copy of the battlefield
// (on a worker thread), turn the cannon in view, show the chosen spell, cast.
#pragma once

#include <optional>
#include <string>

#include "ai/BackgroundChooser.h"
#include "ai/ComputerLevel.h"
#include "game/GameListener.h"
#include "math/TimeSystem.h"
#include "math/Vector.h"

class ArenaModel;
class ArenaView;
class CommandSink;
class Game;
class TurnAim;

class ComputerTurns : public GameListener {
public:
    // game, view, clock, sink, turn: not owned; all outlive the computer
    // players. clock is the input clock, which paces the turns; the aim, the
    // spell and the cast go through turn. Listens to the game until it goes.
    ComputerTurns(Game& game, ArenaView& view, TimeSystem& clock, CommandSink& sink, TurnAim& turn);
    ~ComputerTurns() override;
    ComputerTurns(const ComputerTurns&) = delete;
    ComputerTurns& operator=(const ComputerTurns&) = delete;

    // The player with this id, on this battlefield or a larger one later,
    // plays as a computer player of that level, or as a human. Ids from 0 to
    // MAX_PLAYERS - 1; others are ignored.
    void setComputer(int id, ComputerLevel level);
    void setHuman(int id);

    // One idle step of a computer player's turn, if it is one's. While held
    // (the console line is open) the turn waits where it is.
    void play(bool held);
    // Ends a turn in progress without casting.
    void drop();
    // Waits for a choice in progress, if any; for tests.
    void waitForComputer();
    // No living human and at least one computer player on the battlefield.
    bool isOnlyComputersLeft() const;
    // Tells the view which players are computer players.
    void showPlayerKinds();

    void onKinds() override;

private:
    void startThinking(int current);
    void takeChoice(int current, bool held);
    void turnCannon(bool held);
    void cast(bool held);
    // The spell the humans chose, back after a computer player picked its own.
    void restoreHumanWeapon();

    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    ArenaView& view;   // not owned
    TimeSystem& clock; // not owned: the input clock
    CommandSink& sink; // not owned
    TurnAim& turn;     // not owned

    enum class Phase { none, thinking, aiming, casting };
    Phase phase = Phase::none;
    int player = -1;       // whose turn the phase belongs to, or -1
    long phaseTick = 0;    // ticks of the input clock
    BackgroundChooser chooser;
    Vector thinkingGravity; // the settings the choice was made under
    Vector thinkingWind;
    double thinkingRadius = 0.0;
    double fromYaw = 0.0, fromPitch = 0.0, fromPower = 0.0; // the aim when the cannon started turning
    double toYaw = 0.0, toPitch = 0.0, toPower = 0.0;       // the chosen aim
    std::string spell;
    long lastAimTick = 0;    // when the cannon's turn last became a command
    std::string humanWeapon; // "" unless a computer player's spell replaced it
};
