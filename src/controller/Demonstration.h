// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a battlefield: once the last shot has been seen the winner is
// shown, and when only computer players are left (a demonstration) a new
// battlefield follows by itself a few seconds later.
#pragma once

#include "math/TimeSystem.h"

class ArenaModel;
class ArenaView;
class ComputerTurns;
class Game;
class TurnAim;

class Demonstration {
public:
    // game, view, clock, computers, turn: not owned; all outlive the
    // demonstration. clock is the input clock, which times the pause; the new
    // battlefield comes through turn.
    Demonstration(Game& game, ArenaView& view, TimeSystem& clock, const ComputerTurns& computers, TurnAim& turn);

    // One idle step.
    void play();
    // A new battlefield: no winner shown yet.
    void reset();

private:
    Game& game;                     // not owned
    ArenaModel& model;              // not owned: the game's
    ArenaView& view;                // not owned
    TimeSystem& clock;              // not owned
    const ComputerTurns& computers; // not owned
    TurnAim& turn;                  // not owned
    long winnerTick = -1;           // when the winner was shown, or -1; ticks of the input clock
};
