// SPDX-License-Identifier: GPL-3.0-or-later
// The turn clock counts each turn down on the input clock and passes the turn
// when it runs out; the overlay shows its last seconds.
#include "controller/TurnClock.h"

#include <cmath>
#include <iostream>

#include "game/CommandSink.h"
#include "game/Game.h"
#include "view/ArenaView.h"

bool TurnClock::isUsableTurnTime(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0.0 && seconds <= MAX_TURN_TIME;
}

TurnClock::TurnClock(Game& game, ArenaView& view, TimeSystem& clock, CommandSink& sink)
    : game(game), view(view), clock(clock), sink(sink), lastTick(clock.getTick())
{
    game.addListener(this);
}

TurnClock::~TurnClock()
{
    game.removeListener(this);
}

void TurnClock::setTurnTime(double seconds)
{
    if (!isUsableTurnTime(seconds)) {
        return;
    }
    turnTime = std::lround(seconds * 1000.0);
    announced = -1;
    begin(game.hasCurrentPlayer() ? game.getCurrentPlayer() : -1);
}

double TurnClock::getTurnTime() const
{
    return static_cast<double>(turnTime) / 1000.0;
}

void TurnClock::setPassesTurn(bool passes)
{
    passesTurn = passes;
}

bool TurnClock::getPassesTurn() const
{
    return passesTurn;
}

void TurnClock::restart(int id, long milliseconds)
{
    player = id;
    clocked = milliseconds > 0;
    counting = clocked;
    left = clocked ? milliseconds : 0;
    ranOut = false;
    lastTick = clock.getTick();
    // The server may speak of a turn before the command that passes it here.
    announced = game.hasCurrentPlayer() && id == game.getCurrentPlayer() ? -1 : id;
}

std::optional<long> TurnClock::remaining() const
{
    if (!clocked || !counting || !hasTurn()) {
        return std::nullopt;
    }
    return left;
}

void TurnClock::play(bool held)
{
    const long now = clock.getTick();
    const long elapsed = now - lastTick;
    lastTick = now;
    if (clocked && hasTurn() && !held) {
        if (counting) {
            left -= elapsed;
        } else {
            // The turn starts once its last shot has been shown.
            counting = !view.isAnimating();
        }
        if (counting && left <= 0 && !ranOut) {
            left = 0;
            ranOut = true;
            if (passesTurn) {
                passTurn();
            }
        }
    }
    view.getOverlay().setTurnCountdown(remaining());
}

void TurnClock::newBattlefield()
{
    announced = -1;
    begin(game.hasCurrentPlayer() ? game.getCurrentPlayer() : -1);
}

void TurnClock::onCurrentPlayer(int id)
{
    if (id == announced) {
        // The server's clock for this turn already counts.
        announced = -1;
        return;
    }
    begin(id);
}

void TurnClock::begin(int id)
{
    player = id;
    clocked = turnTime > 0 && id >= 0;
    counting = false;
    left = turnTime;
    ranOut = false;
}

bool TurnClock::hasTurn() const
{
    return game.hasCurrentPlayer() && !game.isLastManStanding();
}

void TurnClock::passTurn()
{
    // A pass the game takes tells onCurrentPlayer, which begins the next turn.
    if (const std::string why = sink.submit(Command::Pass{player}); !why.empty()) {
        std::cerr << "kestrune: the turn clock ran out but the turn could not pass: " << why << std::endl;
    }
}
