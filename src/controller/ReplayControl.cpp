// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's part in a replay: it plays the replay's steps on the view
// clock, shows how far it has got, and hands the game back when it ends.
#include "controller/ReplayControl.h"

#include "controller/ComputerTurns.h"
#include "controller/TurnAim.h"
#include "game/Game.h"
#include "replay/ReplayPlayback.h"
#include "view/ArenaView.h"

ReplayControl::ReplayControl(Game& game, ArenaView& view, ComputerTurns& computers, TurnAim& turn)
    : game(game), view(view), computers(computers), turn(turn)
{
}

ReplayControl::~ReplayControl() = default;

void ReplayControl::playReplay(std::unique_ptr<ReplayPlayback> playback)
{
    // The replay holds every command, the computer players' too.
    computers.drop();
    replay = std::move(playback);
    if (replay == nullptr) {
        view.getOverlay().setReplayLine("");
        return;
    }
    step();
}

bool ReplayControl::isReplaying() const
{
    return replay != nullptr;
}

const ReplayPlayback* ReplayControl::getReplay() const
{
    return replay.get();
}

void ReplayControl::step()
{
    replay->step(game, view.getTimeSystem().getTick(), view.isAnimating());
    // The line stays until the last shot has been shown.
    if (!replay->isFinished() || view.isAnimating()) {
        view.getOverlay().setReplayLine(replay->statusLine());
        return;
    }
    // The game goes on from here as a live game.
    replay.reset();
    view.getOverlay().setReplayLine("");
    turn.updateSight();
}
