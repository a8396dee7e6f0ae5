// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's new-game screen: opening it on the game as it runs,
// handing it the keys, and starting the game it sets up.
#include <algorithm>

#include "controller/ArenaController.h"
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
    // The wind comes with the next battlefield, which setPlayers draws.
    model.setWindEnabled(started.wind);
    const bool gridChanges =
        started.width != model.getWidth() || started.depth != model.getDepth() || started.height != model.getHeight();
    // The new grid first when the old one could not hold the new casters or
    // is the larger one: a battlefield is then drawn twice on the smaller.
    const long oldCells = static_cast<long>(model.getWidth()) * model.getDepth() * model.getHeight();
    const long newCells = static_cast<long>(started.width) * started.depth * started.height;
    const bool gridFirst =
        gridChanges
        && (oldCells > newCells
            || !ArenaModel::gridProblem(model.getWidth(), model.getDepth(), model.getHeight(), started.players,
                                        model.getPlayerWidth())
                    .empty());
    if (gridFirst) {
        model.setGrid(started.width, started.depth, started.height);
    }
    model.setPlayers(started.players, model.getPlayerWidth(), model.getPlayerHeight(), model.getCannonOffset(),
                     model.getCannonLength());
    if (gridChanges && !gridFirst) {
        model.setGrid(started.width, started.depth, started.height);
    }
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        const SeatSetup& seat = started.seats[static_cast<std::size_t>(id)];
        if (seat.computer) {
            setComputer(id, *seat.computer);
        } else {
            setHuman(id);
        }
        if (!seat.name.empty() && id < model.getNumberOfPlayers()) {
            model.renamePlayer(id, seat.name);
        }
    }
    view.onCurrentPlayer(currentPlayer);
    updateSight();
    setup = started;
    if (setupListener) {
        setupListener(started);
    }
}
