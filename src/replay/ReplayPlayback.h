// SPDX-License-Identifier: GPL-3.0-or-later
// A replay played back at its recorded pace: each step is applied when the
// game clock reaches its tick (counted from the first step), a cast waits
// while the last shot is still being shown and the steps after it wait with
// it. Each cast's digest is compared with the file's; the first that differs is
// said once. The clock and the busy flag come from whoever plays it, so the
// view's speed sets the pace.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "replay/Replay.h"

class Game;

class ReplayPlayback {
public:
    // err: not owned, outlives the playback; where a disagreement is said.
    ReplayPlayback(Replay replay, std::ostream& err);

    // Applies to game the steps due by now (ticks of the game clock); the
    // first call applies the first step and sets the clock's start.
    void step(Game& game, long now, bool busy);
    bool isFinished() const;

    int getShotsPlayed() const;
    int getShotCount() const;
    // The first shot that disagreed, or 0.
    int getFirstDisagreement() const;
    // "Replay, shot 3 of 12: FILE" for the overlay.
    std::string statusLine() const;
    const Replay& getReplay() const;

private:
    Replay replay;
    std::ostream& err; // not owned
    std::size_t next;  // the step to apply next
    bool started;
    long origin;       // the game clock's tick at the file's tick 0
    long heldSince;    // the tick a cast began to wait at, or -1
    int shotsPlayed;
    int shotCount;
    int firstDisagreement;
};
