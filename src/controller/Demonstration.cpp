// SPDX-License-Identifier: GPL-3.0-or-later
// The winner shown once the last shot is over, and the demonstration's next
// battlefield when no human is left to ask for one.
#include "controller/Demonstration.h"

#include "controller/ComputerTurns.h"
#include "controller/TurnAim.h"
#include "game/Game.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"

namespace {

// Ticks of the input clock: the demonstration's winner before a new battlefield.
constexpr long WINNER_SHOW_TIME = 5000;

} // namespace

Demonstration::Demonstration(Game& game, ArenaView& view, TimeSystem& clock, const ComputerTurns& computers,
                             TurnAim& turn)
    : game(game), model(game.getModel()), view(view), clock(clock), computers(computers), turn(turn)
{
}

void Demonstration::play()
{
    // The winner shows once the last shot has been seen; with no human left
    // the next battlefield follows by itself, otherwise "r" asks for it.
    if (!game.isLastManStanding() || view.isAnimating()) {
        return;
    }
    const bool demonstration = computers.isOnlyComputersLeft();
    const int current = game.getCurrentPlayer();
    const bool anyoneLeft = game.hasCurrentPlayer() && !model.getPlayer(current).isDead();
    view.showWinner(anyoneLeft ? current : -1, demonstration);
    if (winnerTick < 0) {
        winnerTick = clock.getTick();
        return;
    }
    if (demonstration && clock.getTick() - winnerTick >= WINNER_SHOW_TIME) {
        turn.newBattlefield();
    }
}

void Demonstration::reset()
{
    winnerTick = -1;
}
