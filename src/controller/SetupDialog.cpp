// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen over the game: opening it on the game as it runs,
// handing it the keys, and starting the game it sets up.
#include "controller/SetupDialog.h"

#include <algorithm>
#include <iostream>

#include "controller/TurnAim.h"
#include "game/CommandSink.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

SetupDialog::SetupDialog(Game& game, ArenaView& view, CommandSink& sink, TurnAim& turn)
    : game(game), model(game.getModel()), view(view), sink(sink), turn(turn)
{
}

void SetupDialog::setSetup(const GameSetup& started)
{
    setup = started;
    turn.setSightMode(started.aimingHelp);
}

const GameSetup& SetupDialog::getSetup() const
{
    return setup;
}

GameSetup SetupDialog::getLiveSetup() const
{
    GameSetup live = setup;
    live.players = std::clamp(model.getNumberOfPlayers(), MIN_SETUP_PLAYERS, MAX_SETUP_PLAYERS);
    live.width = model.getWidth();
    live.depth = model.getDepth();
    live.height = model.getHeight();
    live.wind = model.isWindEnabled();
    live.aimingHelp = turn.getSightMode();
    for (int id = 0; id < MAX_SETUP_PLAYERS; ++id) {
        SeatSetup& seat = live.seats[static_cast<std::size_t>(id)];
        seat.computer = game.getComputerLevel(id);
        if (id >= model.getNumberOfPlayers() || model.getPlayer(id).getName() != seat.name) {
            seat.name.clear();
        }
    }
    return live;
}

void SetupDialog::setSetupListener(std::function<void(const GameSetup&)> told)
{
    listener = std::move(told);
}

bool SetupDialog::isOpen() const
{
    return screen.isOpen();
}

void SetupDialog::open()
{
    screen.open(getLiveSetup());
    view.showSetupScreen(screen.getLines(), screen.getRow());
}

void SetupDialog::close()
{
    screen.close();
    view.hideSetupScreen();
}

void SetupDialog::keyboard(unsigned char key)
{
    answer(screen.keyboard(key));
}

void SetupDialog::specialKeyboard(int key)
{
    answer(screen.specialKeyboard(key));
}

void SetupDialog::answer(SetupScreen::Answer answer)
{
    switch (answer) {
    case SetupScreen::Answer::start:
        startGame(screen.getSetup());
        break;
    case SetupScreen::Answer::close:
        close();
        break;
    case SetupScreen::Answer::stay:
        view.showSetupScreen(screen.getLines(), screen.getRow());
        break;
    }
}

void SetupDialog::startGame(const GameSetup& started)
{
    close();
    if (const std::string why = sink.submit(Command::StartSetup{started, std::nullopt}); !why.empty()) {
        std::cerr << "kestrune: new game refused: " << why << std::endl;
        return;
    }
    view.onCurrentPlayer(game.getCurrentPlayer());
    turn.setSightMode(started.aimingHelp);
    setup = started;
    if (listener) {
        listener(started);
    }
}
