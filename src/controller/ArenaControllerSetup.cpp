// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's new-game screen: opening it on the game as it runs,
// handing it the keys, and starting the game it sets up.
#include <algorithm>
#include <iostream>

#include "controller/ArenaController.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

void ArenaController::setSetup(const GameSetup& started)
{
    setup = started;
}

const GameSetup& ArenaController::getSetup() const
{
    return setup;
}

GameSetup ArenaController::getLiveSetup() const
{
    GameSetup live = setup;
    live.players = std::clamp(model.getNumberOfPlayers(), MIN_SETUP_PLAYERS, MAX_SETUP_PLAYERS);
    live.width = model.getWidth();
    live.depth = model.getDepth();
    live.height = model.getHeight();
    live.wind = model.isWindEnabled();
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        SeatSetup& seat = live.seats[static_cast<std::size_t>(id)];
        seat.computer = getComputerLevel(id);
        if (id >= model.getNumberOfPlayers() || model.getPlayer(id).getName() != seat.name) {
            seat.name.clear();
        }
    }
    return live;
}

void ArenaController::setSetupListener(std::function<void(const GameSetup&)> listener)
{
    setupListener = std::move(listener);
}

bool ArenaController::isSetupScreenOpen() const
{
    return setupScreen.isOpen();
}

bool ArenaController::isTyping() const
{
    return consoleActive || setupScreen.isOpen();
}

void ArenaController::openSetupScreen()
{
    setupScreen.open(getLiveSetup());
    view.showSetupScreen(setupScreen.getLines(), setupScreen.getRow());
}

void ArenaController::closeSetupScreen()
{
    setupScreen.close();
    view.hideSetupScreen();
}

void ArenaController::answerSetupScreen(SetupScreen::Answer answer)
{
    switch (answer) {
    case SetupScreen::Answer::start:
        startGame(setupScreen.getSetup());
        break;
    case SetupScreen::Answer::close:
        closeSetupScreen();
        break;
    case SetupScreen::Answer::stay:
        view.showSetupScreen(setupScreen.getLines(), setupScreen.getRow());
        break;
    }
}

void ArenaController::startGame(const GameSetup& started)
{
    closeSetupScreen();
    // One new battlefield of the whole set-up: the casters with the names
    // given (the others drawn), their kinds, the battlefield and the wind.
    if (const std::string why = submit(Command::StartSetup{started, std::nullopt}); !why.empty()) {
        std::cerr << "kestrune: new game refused: " << why << std::endl;
        return;
    }
    view.onCurrentPlayer(game.getCurrentPlayer());
    updateSight();
    setup = started;
    if (setupListener) {
        setupListener(started);
    }
}
