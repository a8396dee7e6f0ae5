// SPDX-License-Identifier: GPL-3.0-or-later
// Where keys and joystick go: to the new-game screen while it is open, to the
// console line while it is typed, and otherwise to the game keys, each bound
// in one table row to its action and to what holds it back (a shot being
// shown, a computer player's turn, a replay, the open console).
#pragma once

#include <vector>

#include "controller/ConsoleLine.h"

class ArenaController;
class ArenaView;
class Game;
class ReplayControl;
class SetupDialog;
class TurnAim;

class InputMapping {
public:
    // All not owned, and all outlive the mapping: the actions of the
    // controller, the view's camera, the game's turn, the aim, the new-game
    // screen, and the replay that holds the game keys while it plays.
    InputMapping(ArenaController& controller, ArenaView& view, const Game& game, TurnAim& turn,
                 SetupDialog& setup, const ReplayControl& replays);

    void keyboard(unsigned char key);
    void specialKeyboard(int key);
    void joystick(unsigned int buttons, int x, int y, int z);
    bool isKeyFastRepeat(unsigned char key) const;
    bool isKeyFastRepeat(int key) const;
    // Keys are text now: the console line or the new-game screen is open.
    bool isTyping() const;
    // True for a key that, pressed now, opens the console line.
    bool opensConsole(unsigned char key) const;

    ConsoleLine& getConsoleLine();
    const ConsoleLine& getConsoleLine() const;

private:
    // What holds a binding back; a binding acts only when none of its holds is on.
    enum Hold : unsigned {
        ANY_TIME = 0,
        DURING_SHOT = 1u << 0,      // the view is still showing a shot
        ON_COMPUTER_TURN = 1u << 1, // a computer player aims and casts for itself
        DURING_REPLAY = 1u << 2,    // the replay moves the game for everyone
        WITH_CONSOLE_OPEN = 1u << 3,
        AIMING = DURING_SHOT | ON_COMPUTER_TURN | DURING_REPLAY,
    };
    // key: the one that matched, for rows that share an action.
    using Action = void (*)(InputMapping& input, int key);
    struct Binding {
        int key;
        unsigned hold;
        Action action;
    };
    static const std::vector<Binding>& keyBindings();
    static const std::vector<Binding>& specialBindings();
    // The holds on now.
    unsigned holds() const;
    // Lets the binding of key act unless held; false when none binds it.
    bool act(const std::vector<Binding>& bindings, int key);
    void moveCamera(unsigned int buttons, int x, int y);
    void aim(unsigned int buttons, int z);

    ArenaController& controller;  // not owned
    ArenaView& view;              // not owned
    const Game& game;             // not owned
    TurnAim& turn;                // not owned
    SetupDialog& setup;           // not owned
    const ReplayControl& replays; // not owned
    ConsoleLine console;
};
