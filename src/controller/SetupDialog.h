// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen (F2) over the game: opened on the set-up the game runs
// now, it takes every key while open and starts the game it sets up as one
// command; the set-up started last is remembered, and told to a listener.
#pragma once

#include <functional>

#include "controller/SetupScreen.h"
#include "settings/GameSetup.h"

class ArenaModel;
class ArenaView;
class CommandSink;
class Game;
class TurnAim;

class SetupDialog {
public:
    // game, view, sink, turn: not owned; all outlive the dialog.
    SetupDialog(Game& game, ArenaView& view, CommandSink& sink, TurnAim& turn);

    // The set-up the game was started from, which the screen starts from;
    // the sight shows as much as it says.
    void setSetup(const GameSetup& setup);
    const GameSetup& getSetup() const;
    // The set-up of the game as it runs now: the console may have changed it
    // since it started, and "t" the sight. Names the model no longer shows
    // are left out.
    GameSetup getLiveSetup() const;
    // Told of every set-up the screen starts, after it has started.
    void setSetupListener(std::function<void(const GameSetup&)> listener);

    bool isOpen() const;
    // Opens the screen on the live set-up.
    void open();
    void close();
    // The keys while it is open.
    void keyboard(unsigned char key);
    void specialKeyboard(int key);
    // A new game of this set-up: the casters with the names given (the others
    // drawn), their kinds, the battlefield and the wind; and the sight it
    // asks for.
    void startGame(const GameSetup& setup);

private:
    // Hands a key's answer to the game, and shows the screen.
    void answer(SetupScreen::Answer answer);

    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    ArenaView& view;   // not owned
    CommandSink& sink; // not owned
    TurnAim& turn;     // not owned
    SetupScreen screen;
    GameSetup setup;
    std::function<void(const GameSetup&)> listener;
};
