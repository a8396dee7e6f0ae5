// SPDX-License-Identifier: GPL-3.0-or-later
// The turn clock: how long a caster may take over a turn. It starts when a
// turn begins (the turn passed, or a new battlefield) once the last shot has
// been shown, counts on the input clock, and when it runs out the turn passes
// without a cast, as a command through the controller's sink. A network
// client's clock only counts: the server passes the turn and says how long
// each turn has left. No clock unless a turn time is set.
#pragma once

#include <optional>

#include "game/GameListener.h"
#include "math/TimeSystem.h"

class ArenaView;
class CommandSink;
class Game;

class TurnClock : public GameListener {
public:
    // The longest turn time, in seconds, the console and the command line take.
    static constexpr double MAX_TURN_TIME = 3600.0;
    // Whether seconds is a usable turn time: a finite number from 0 (no clock)
    // to MAX_TURN_TIME.
    static bool isUsableTurnTime(double seconds);

    // game, view, clock, sink: not owned; all outlive the turn clock. clock
    // is the input clock; the pass goes to sink. Listens to the game until
    // it goes.
    TurnClock(Game& game, ArenaView& view, TimeSystem& clock, CommandSink& sink);
    ~TurnClock() override;
    TurnClock(const TurnClock&) = delete;
    TurnClock& operator=(const TurnClock&) = delete;

    // Seconds a turn may take; 0 for no clock (the default). A time that is
    // not usable is ignored. The current turn starts again with it.
    void setTurnTime(double seconds);
    double getTurnTime() const;

    // Whether the clock passes the turn when it runs out (the default); a
    // network client's does not, the server passing it.
    void setPassesTurn(bool passes);
    bool getPassesTurn() const;

    // The server's word: player's turn has milliseconds left from now, or no
    // clock at all when milliseconds is 0 or less. It counts at once, even
    // while the last shot is still shown. Told before the turn passes to
    // player, it stands for that turn.
    void restart(int player, long milliseconds);

    // Milliseconds left in the current turn (0 once run out), or nothing
    // when no clock runs: no turn time, no turn (a battlefield without
    // casters, or with its winner), or the turn not yet started.
    std::optional<long> remaining() const;

    // One idle step. held: nothing counts (the new-game screen is open or a
    // replay plays); the console line being typed does not hold the clock, a
    // player typing still loses the turn. Tells the overlay what to count
    // down.
    void play(bool held);
    // A new battlefield: player 0's turn begins.
    void newBattlefield();

    void onCurrentPlayer(int id) override;

private:
    // id's turn begins with the whole turn time, once the view is still.
    void begin(int id);
    // Whether the game has a turn the clock may count.
    bool hasTurn() const;
    // The turn passes without a cast; a refusal is one line on standard error.
    void passTurn();

    Game& game;        // not owned
    ArenaView& view;   // not owned
    TimeSystem& clock; // not owned: the input clock
    CommandSink& sink; // not owned

    long turnTime = 0;    // milliseconds; 0: no clock
    bool passesTurn = true;
    int player = -1;      // whose turn is counted, or -1
    bool clocked = false;  // this turn has a clock
    bool counting = false; // the turn has started: the view was still
    long left = 0;        // milliseconds, once counting
    long lastTick = 0;    // ticks of the input clock at the last step
    bool ranOut = false;  // the pass has been asked for (or refused)
    int announced = -1;   // a player the server's clock was told for before the turn passed to it
};
