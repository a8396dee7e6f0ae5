// SPDX-License-Identifier: GPL-3.0-or-later
// A replay playing in the window: its steps played on the view clock, how far
// it has got shown in the overlay, and the game handed back to the players
// when it ends. While it plays, the controller lets no other command through.
#pragma once

#include <memory>

class ArenaView;
class ComputerTurns;
class Game;
class ReplayPlayback;
class TurnAim;

class ReplayControl {
public:
    // game, view, computers, turn: not owned; all outlive the control.
    ReplayControl(Game& game, ArenaView& view, ComputerTurns& computers, TurnAim& turn);
    ~ReplayControl();
    ReplayControl(const ReplayControl&) = delete;
    ReplayControl& operator=(const ReplayControl&) = delete;

    // Plays replay back from now on, paced by the view clock; the game goes
    // on live once it ends. Null stops a replay.
    void playReplay(std::unique_ptr<ReplayPlayback> replay);
    bool isReplaying() const;
    const ReplayPlayback* getReplay() const;
    // One idle step: the replay's commands due by now, and the overlay's line.
    void step();

private:
    Game& game;               // not owned
    ArenaView& view;          // not owned
    ComputerTurns& computers; // not owned
    TurnAim& turn;            // not owned
    std::unique_ptr<ReplayPlayback> replay; // owned; null unless a replay plays
};
