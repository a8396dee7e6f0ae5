// SPDX-License-Identifier: GPL-3.0-or-later
// The controller as the meeting point of its parts: input and events handed to
// the part they belong to, every command through submit to the game, and the
// console line to the three handlers.
#include "controller/ArenaController.h"

#include <GL/freeglut.h>

#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "console/ConsoleCapture.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "net/GameClient.h"
#include "view/ArenaView.h"

ArenaController::ArenaController(Game& game, ArenaView& view, TimeSystem& clock)
    : game(game),
      model(game.getModel()),
      view(view),
      turnAim(game, view, *this),
      turnClock(game, view, clock, *this),
      computerTurns(game, view, clock, *this, turnAim),
      demonstration(game, view, clock, computerTurns, turnAim),
      replayControl(game, view, computerTurns, turnAim),
      setupDialog(game, view, *this, turnAim),
      pointer(view),
      commands(game, *this, turnClock, [this](const std::string& text) { say(text); }),
      input(*this, view, game, turnAim, setupDialog, replayControl)
{
    model.setCommandSink(this);
}

ArenaController::~ArenaController()
{
    model.removeListener(this);
    if (model.getCommandSink() == this) {
        // The game takes the console's commands again.
        model.setCommandSink(&game);
    }
}

std::string ArenaController::submit(const GameCommand& command)
{
    if (replayControl.isReplaying()) {
        return "a replay is playing; the game is yours again when it ends";
    }
    if (network != nullptr && network->isNetworked()) {
        return network->submit(command);
    }
    return game.apply(command);
}

void ArenaController::onNewMap(int, int, int, bool***, const Vector&)
{
    // The game has already put the turn to player 0 and every aim back.
    view.onCurrentPlayer(0);
    turnClock.newBattlefield();
    computerTurns.drop();
    demonstration.reset();
    computerTurns.showPlayerKinds();
}

void ArenaController::onPlayer(int, Player&)
{
}

void ArenaController::onProjectile(int, Projectile*, std::list<Vector>&, std::set<Vector>&,
                                   std::map<Vector, int>&, std::map<int, int>&, std::map<int, double>&,
                                   std::set<int>&)
{
}

void ArenaController::initialize(int x, int y)
{
    pointer.initialize(x, y);
    view.onCurrentPlayer(game.getCurrentPlayer());
    // The spell the game starts with: the fireball, unless a set-up chose another.
    std::string weapon = game.getWeapon();
    view.onWeapon(weapon);
}

void ArenaController::keyboard(unsigned char key)
{
    if (!quitting) {
        input.keyboard(key);
    }
}

void ArenaController::specialKeyboard(int key)
{
    if (!quitting) {
        input.specialKeyboard(key);
    }
}

bool ArenaController::isKeyFastRepeat(unsigned char key)
{
    return input.isKeyFastRepeat(key);
}

bool ArenaController::isKeyFastRepeat(int key)
{
    return input.isKeyFastRepeat(key);
}

void ArenaController::mousePassiveMotion(int x, int y)
{
    if (!setupDialog.isOpen()) {
        pointer.passiveMotion(x, y);
    }
}

void ArenaController::mouseEntry(int state)
{
    pointer.entry(state);
}

void ArenaController::mouseButton(int button, int state)
{
    if (!setupDialog.isOpen()) {
        pointer.button(button, state);
    }
}

void ArenaController::joystick(unsigned int buttons, int x, int y, int z)
{
    if (!quitting) {
        input.joystick(buttons, x, y, z);
    }
}

void ArenaController::reshape(int w, int h)
{
    pointer.reshape(w, h);
}

void ArenaController::quit()
{
    std::cout << "Quitting" << std::endl;
    quitting = true;
    // The main loop returns after this frame; the program then lets go of
    // its GL objects while the window still exists, and leaves.
    glutLeaveMainLoop();
}

void ArenaController::idle()
{
    // The console line being typed does not hold the clock.
    turnClock.play(setupDialog.isOpen() || quitting || replayControl.isReplaying());
    if (setupDialog.isOpen() || quitting) {
        return;
    }
    const bool networked = network != nullptr && network->isNetworked();
    // The keys are the player's own only in a human's turn of a live game,
    // and in a network game only in this machine's own turns once every
    // seat is taken.
    const bool ownTurn = !networked
                         || (network->getWaiting() == 0 && game.hasCurrentPlayer()
                             && network->ownsSeat(game.getCurrentPlayer()));
    view.getKeyHint().setHumanTurn(!replayControl.isReplaying() && !game.isComputerTurn() && ownTurn);
    if (replayControl.isReplaying()) {
        // The replay holds every command, the computer players' too.
        replayControl.step();
        return;
    }
    // The server plays the computer players and passes the turns that run out.
    turnClock.setPassesTurn(!networked);
    if (networked) {
        return;
    }
    demonstration.play();
    computerTurns.play(input.getConsoleLine().isActive());
}

void ArenaController::fire()
{
    turnAim.fire();
}

void ArenaController::nextPlayer()
{
    turnAim.nextPlayer();
}

void ArenaController::moveCannon(double dYaw, double dPitch)
{
    turnAim.moveCannon(dYaw, dPitch);
}

void ArenaController::modifyPower(double dPower)
{
    turnAim.modifyPower(dPower);
}

void ArenaController::setWeapon(std::string name)
{
    turnAim.setWeapon(name);
}

void ArenaController::fireConsoleCommand()
{
    const std::string& line = input.getConsoleLine().getLine();
    std::vector<std::string> answers;
    bool taken = false;
    {
        const ConsoleCapture printed(std::cout);
        taken = handleConsoleCommand(line);
        taken = view.handleConsoleCommand(line) || taken;
        taken = model.handleConsoleCommand(line) || taken;
        answers = printed.lines();
    }
    view.getOverlay().addConsoleAnswers(line, answers, taken);
    // Gravity, wind or a player's kind may have changed.
    turnAim.updateSight();
}

void ArenaController::growConsoleCommand(unsigned char key)
{
    input.getConsoleLine().grow(key);
}

bool ArenaController::handleConsoleCommand(std::string line)
{
    return commands.handle(line);
}

void ArenaController::setChatSink(std::function<void(const std::string&)> sink)
{
    chatSink = std::move(sink);
}

void ArenaController::setNetwork(GameClient* client)
{
    network = client;
}

void ArenaController::say(const std::string& text)
{
    if (chatSink) {
        chatSink(text);
        return;
    }
    const std::string name = game.hasCurrentPlayer() ? model.getPlayer(game.getCurrentPlayer()).getName() : "";
    view.getOverlay().addChatLine(name.empty() ? "You" : name, text);
}

InputMapping& ArenaController::getInput()
{
    return input;
}

TurnAim& ArenaController::getTurnAim()
{
    return turnAim;
}

TurnClock& ArenaController::getTurnClock()
{
    return turnClock;
}

ComputerTurns& ArenaController::getComputerTurns()
{
    return computerTurns;
}

SetupDialog& ArenaController::getSetupDialog()
{
    return setupDialog;
}

ReplayControl& ArenaController::getReplayControl()
{
    return replayControl;
}
