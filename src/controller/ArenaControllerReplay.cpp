// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's part in a replay: it plays the replay's steps on the view
// clock, shows how far it has got, holds the keys that would change the game,
// and hands the game back to the players when the replay ends.
#include "controller/ArenaController.h"
#include "game/Game.h"
#include "replay/ReplayPlayback.h"
#include "view/ArenaView.h"

void ArenaController::playReplay(std::unique_ptr<ReplayPlayback> playback)
{
    dropComputerTurn();
    replay = std::move(playback);
    if (replay == nullptr) {
        view.setReplayLine("");
        return;
    }
    playReplayStep();
}

bool ArenaController::isReplaying() const
{
    return replay != nullptr;
}

const ReplayPlayback* ArenaController::getReplay() const
{
    return replay.get();
}

void ArenaController::playReplayStep()
{
    replay->step(game, view.getTimeSystem().getTick(), view.isAnimating());
    // The line stays until the last shot has been shown.
    if (!replay->isFinished() || view.isAnimating()) {
        view.setReplayLine(replay->statusLine());
        return;
    }
    // The game goes on from here as a live game.
    replay.reset();
    view.setReplayLine("");
    updateSight();
}
