// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a replay through a game of its own, with no window and no output, as
// fast as it can: every command must be one the game takes where it stands,
// and every cast's digest is compared with the one the file recorded.
#pragma once

#include <string>

#include "replay/Replay.h"

struct ReplayVerdict {
    int shots = 0; // casts played
    // The first cast, counted over the whole file from 1, whose digest
    // differs from the file's, and the digest's line; 0 when all agree.
    int firstDisagreement = 0;
    int disagreementLine = 0;
    // A command the game refused ("FILE:LINE: why"): the replay stops there.
    std::string problem;

    bool agrees() const { return problem.empty() && firstDisagreement == 0; }
};

ReplayVerdict checkReplay(const Replay& replay);

// "FILE: 12 shots, digests agree", "FILE: shot 5 of 12 disagrees (line 87)",
// or the problem.
std::string verdictLine(const Replay& replay, const ReplayVerdict& verdict);
