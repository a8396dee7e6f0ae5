// SPDX-License-Identifier: GPL-3.0-or-later
// A replay checked headless: a silent game of its own applies each step and
// compares the digests.
#include "replay/ReplayChecker.h"

#include <ostream>

#include "game/Game.h"
#include "model/ArenaModel.h"

ReplayVerdict checkReplay(const Replay& replay)
{
    ReplayVerdict verdict;
    // Nothing is written: a stream without a buffer takes every line.
    std::ostream silent(nullptr);
    // The first step starts a battlefield that sets everything the model holds.
    ArenaModel model(MIN_SETUP_PLAYERS, 15, 15, 20, RandomStream(0));
    model.setOutput(silent, silent);
    // Nobody draws the blocks' falls here.
    model.setBlockFallsReported(false);
    Game game(model);
    for (const ReplayStep& step : replay.steps) {
        if (const std::string why = game.apply(step.command); !why.empty()) {
            verdict.problem = replay.name + ":" + std::to_string(step.line) + ": " + why;
            return verdict;
        }
        if (!std::holds_alternative<Command::Cast>(step.command)) {
            continue;
        }
        ++verdict.shots;
        if (verdict.firstDisagreement == 0 && step.digest && *step.digest != game.getDigest()) {
            verdict.firstDisagreement = verdict.shots;
            verdict.disagreementLine = step.digestLine;
        }
    }
    return verdict;
}

std::string verdictLine(const Replay& replay, const ReplayVerdict& verdict)
{
    if (!verdict.problem.empty()) {
        return verdict.problem;
    }
    const std::string shots = std::to_string(verdict.shots) + (verdict.shots == 1 ? " shot" : " shots");
    if (verdict.firstDisagreement == 0) {
        return replay.name + ": " + shots + ", digests agree";
    }
    return replay.name + ": shot " + std::to_string(verdict.firstDisagreement) + " of " + std::to_string(verdict.shots)
           + " disagrees (line " + std::to_string(verdict.disagreementLine) + ")";
}
