// SPDX-License-Identifier: GPL-3.0-or-later
// A game played by a script, for the tests and benchmarks of commands and
// replays: from a seeded battlefield, each turn aims somewhere (drawn from a
// stream of the test's own), takes the next of the three spells and casts; a
// battlefield with its winner is followed by a new one. Every command the game
// applied comes back in order, as a replay's steps, each cast with its digest.
#pragma once

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/GameListener.h"
#include "model/ArenaModel.h"
#include "replay/Replay.h"

class StepRecorder : public GameListener {
public:
    void onCommand(const GameCommand& command) override
    {
        ReplayStep step;
        step.line = static_cast<int>(steps.size()) + 3;
        step.tick = static_cast<long>(steps.size()) * 100;
        step.command = command;
        steps.push_back(step);
    }
    void onShot(int, std::uint64_t digest) override { steps.back().digest = digest; }
    std::vector<ReplayStep> steps;
};

struct SampleGame {
    // shots casts from a battlefield of setup drawn from seed; aims drawn from
    // aimSeed. Wind when setup says so. also, when given, hears the game too
    // (not owned).
    SampleGame(const BattlefieldSetup& setup, std::uint32_t seed, int shots, std::uint32_t aimSeed = 1,
               GameListener* also = nullptr)
        : model(setup.players, setup.width, setup.depth, setup.height, RandomStream(seed)), game(model)
    {
        model.setOutput(silent, silent);
        game.addListener(&recorder);
        if (also != nullptr) {
            game.addListener(also);
        }
        game.apply(Command::Battlefield{setup, seed});
        std::mt19937 aims(aimSeed);
        const char* const spells[] = {"fireball", "cyclone", "nova"};
        auto uniform = [&aims](double low, double high) {
            return low + (high - low) * static_cast<double>(aims() >> 8) / 16777216.0;
        };
        for (int shot = 0; shot < shots; ++shot) {
            if (game.isLastManStanding()) {
                game.apply(Command::NewBattlefield{});
            }
            const int player = game.getCurrentPlayer();
            game.apply(Command::Aim{player, uniform(0.0, 360.0), uniform(10.0, 70.0), uniform(1.0, 6.0)});
            game.apply(Command::Spell{spells[shot % 3]});
            game.apply(Command::Cast{player});
        }
    }

    Replay replay(const std::string& name = "sample.replay") const
    {
        Replay played;
        played.name = name;
        played.gameVersion = "test";
        played.steps = recorder.steps;
        return played;
    }

    std::ostream silent{nullptr};
    ArenaModel model;
    Game game;
    StepRecorder recorder;
};
