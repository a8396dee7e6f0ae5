// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a replay's steps into a game as the game clock reaches them, checking
// each shot's digest on the way.
#include "replay/ReplayPlayback.h"

#include <ostream>
#include <string>
#include <utility>

#include "game/Game.h"

ReplayPlayback::ReplayPlayback(Replay played, std::ostream& err)
    : replay(std::move(played)),
      err(err),
      next(0),
      started(false),
      origin(0),
      heldSince(-1),
      shotsPlayed(0),
      shotCount(replay.countShots()),
      firstDisagreement(0)
{
}

void ReplayPlayback::step(Game& game, long now, bool busy)
{
    if (!started) {
        started = true;
        origin = now - (replay.steps.empty() ? 0 : replay.steps.front().tick);
    }
    while (next < replay.steps.size()) {
        const ReplayStep& due = replay.steps[next];
        if (due.tick > now - origin) {
            return;
        }
        const bool cast = std::holds_alternative<Command::Cast>(due.command);
        if (cast && busy) {
            // The recording cast once the last shot was over: so does the
            // playback, and what follows keeps its distance to the cast.
            if (heldSince < 0) {
                heldSince = now;
            }
            return;
        }
        if (heldSince >= 0) {
            origin += now - heldSince;
            heldSince = -1;
        }
        if (const std::string why = game.apply(due.command); !why.empty()) {
            err << replay.name << ":" << due.line << ": " << why << "; the replay stops here" << std::endl;
            next = replay.steps.size();
            return;
        }
        ++next;
        if (!cast) {
            continue;
        }
        ++shotsPlayed;
        if (firstDisagreement == 0 && due.digest && *due.digest != game.getDigest()) {
            firstDisagreement = shotsPlayed;
            err << replay.name << ": shot " << shotsPlayed << " disagrees with the recording (line " << due.digestLine
                << "); the replay goes on" << std::endl;
        }
        // One cast a step: the next waits for this one to be shown.
        return;
    }
}

bool ReplayPlayback::isFinished() const
{
    return next >= replay.steps.size();
}

int ReplayPlayback::getShotsPlayed() const
{
    return shotsPlayed;
}

int ReplayPlayback::getShotCount() const
{
    return shotCount;
}

int ReplayPlayback::getFirstDisagreement() const
{
    return firstDisagreement;
}

std::string ReplayPlayback::statusLine() const
{
    // The progress comes first and the folder is left out: a long path would
    // push it past the window's edge.
    const std::size_t slash = replay.name.find_last_of('/');
    const std::string file = slash == std::string::npos ? replay.name : replay.name.substr(slash + 1);
    return "Replay, shot " + std::to_string(shotsPlayed) + " of " + std::to_string(shotCount) + ": " + file;
}

const Replay& ReplayPlayback::getReplay() const
{
    return replay;
}
