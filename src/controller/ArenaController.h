// SPDX-License-Identifier: GPL-3.0-or-later
// Turns input into game actions. A coordinator of owned parts: the input
// mapping (keys, special keys, joystick and the console line), the turn and
// its aim, the turn clock, the computer players' turns, the demonstration, the
// new-game screen, the replay and the mouse pointer. Each part makes commands, which
// the controller hands to the game (the one place that applies them), unless
// a replay is playing: then the replay alone moves the game. Keys arrive one
// at a time from the key polling; mouse, window size and joystick straight
// from the GLUT callbacks.
#pragma once

#include <functional>
#include <list>
#include <map>
#include <set>
#include <string>

#include "controller/ComputerTurns.h"
#include "controller/ControllerCommands.h"
#include "controller/Demonstration.h"
#include "controller/InputMapping.h"
#include "controller/MousePointer.h"
#include "controller/ReplayControl.h"
#include "controller/SetupDialog.h"
#include "controller/TurnAim.h"
#include "controller/TurnClock.h"
#include "game/CommandSink.h"
#include "math/TimeSystem.h"
#include "math/Vector.h"
#include "model/ArenaModelListener.h"

class ArenaModel;
class ArenaView;
class Game;
class GameClient;

class ArenaController : public ArenaModelListener, public CommandSink {
public:
    // game, view: not owned; both outlive the controller. clock: not owned;
    // the input clock, which paces the computer players' aiming and the
    // demonstration's pause between battlefields. The controller stands in
    // front of the game for the model's console; register it as a model
    // listener after the view.
    ArenaController(Game& game, ArenaView& view, TimeSystem& clock);
    ~ArenaController() override;

    void onNewMap(int width, int depth, int height, bool*** terrain, const Vector& wind) override;
    void onPlayer(int id, Player& player) override;
    void onProjectile(int playerId, Projectile* projectile, std::list<Vector>& trajectory,
                      std::set<Vector>& removedBlocks, std::map<Vector, int>& fallingBlocks,
                      std::map<int, int>& playerFalls, std::map<int, double>& damages,
                      std::set<int>& killedPlayers) override;

    // Once, after the first battlefield: hides the pointer, shows the turn and
    // the first spell, remembers the window's screen position.
    void initialize(int x, int y);
    void keyboard(unsigned char key);
    void specialKeyboard(int key);
    bool isKeyFastRepeat(unsigned char key);
    bool isKeyFastRepeat(int key);
    void mousePassiveMotion(int x, int y);
    void mouseEntry(int state);
    // The wheel zooms the camera.
    void mouseButton(int button, int state);
    void joystick(unsigned int buttons, int x, int y, int z);
    void reshape(int w, int h);
    // Ends the main loop: the program leaves once this frame is over. No key
    // acts after it.
    void quit();
    // Once per idle step: the turn clock, and a replay's due commands, or a
    // computer player's turn and the demonstration's next battlefield.
    // Nothing moves behind the new-game screen.
    void idle();

    // Casts the chosen spell for the current player; the game then passes the
    // turn.
    void fire();
    // Passes the turn without a cast.
    void nextPlayer();
    void moveCannon(double dYaw, double dPitch);
    void modifyPower(double dPower);
    void setWeapon(std::string name);

    // The finished console line, to the controller's, the view's and the
    // model's handlers in this order; what they answer is shown in the window
    // too, and a line none of them took is called an unknown command there.
    void fireConsoleCommand();
    void growConsoleCommand(unsigned char key);
    // True when the line was one of the controller's commands or help.
    bool handleConsoleCommand(std::string line);

    // Where the console's "say" hands its cleaned line (a network game sends
    // it); without one, the overlay shows it at once as said by the current
    // caster. An empty function: none.
    void setChatSink(std::function<void(const std::string&)> sink);
    // A network game's client, or null: while it is networked, every command
    // goes to it (it sends this machine's own to the server), the server
    // plays the computer players and passes turns that run out, and the keys
    // act in this machine's own turns alone. Not owned; outlives its use.
    void setNetwork(GameClient* client);

    // The parts.
    InputMapping& getInput();
    TurnAim& getTurnAim();
    TurnClock& getTurnClock();
    ComputerTurns& getComputerTurns();
    SetupDialog& getSetupDialog();
    ReplayControl& getReplayControl();

private:
    ArenaController(const ArenaController&) = delete;
    ArenaController& operator=(const ArenaController&) = delete;
    // Hands a command to the game; refused while a replay plays. Returns why
    // it was refused, or empty.
    std::string submit(const GameCommand& command) override;
    // A line said at the console, to the chat sink or the overlay.
    void say(const std::string& text);

    Game& game;        // not owned
    ArenaModel& model; // not owned: the game's
    ArenaView& view;   // not owned
    bool quitting = false;
    // The parts, each built on those before it.
    TurnAim turnAim;
    TurnClock turnClock;
    ComputerTurns computerTurns;
    Demonstration demonstration;
    ReplayControl replayControl;
    SetupDialog setupDialog;
    MousePointer pointer;
    ControllerCommands commands;
    InputMapping input;
    std::function<void(const std::string&)> chatSink;
    GameClient* network = nullptr; // not owned
};
