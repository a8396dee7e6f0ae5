// SPDX-License-Identifier: GPL-3.0-or-later
// The whole state a server sends a client that fell out of step, on the
// largest battlefield (256 x 256 x 61, eight casters): its compressed size
// should stay within 512 KB, and adopting it within half a second.
#include <benchmark/benchmark.h>

#include <ostream>

#include "game/Game.h"
#include "model/ArenaModel.h"
#include "net/GameSnapshot.h"

namespace {

// A quiet game; a battlefield of these sides drawn from seed.
struct QuietGame {
    QuietGame(int side, int height, int players, std::uint32_t seed)
        : model(players, side, side, height, RandomStream(seed)), game(model)
    {
        model.setOutput(silent, silent);
        BattlefieldSetup setup;
        setup.width = side;
        setup.depth = side;
        setup.height = height;
        setup.players = players;
        setup.windEnabled = true;
        game.apply(Command::Battlefield{setup, seed});
    }
    std::ostream silent{nullptr};
    ArenaModel model;
    Game game;
};

void GameStateSave(benchmark::State& state)
{
    QuietGame source(256, 61, 8, 2006);
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> saved = saveGameState(source.game);
        size = saved.size();
        benchmark::DoNotOptimize(saved.data());
    }
    state.counters["compressed_bytes"] = static_cast<double>(size);
}
BENCHMARK(GameStateSave)->Unit(benchmark::kMillisecond);

// Each adoption starts from a small battlefield, so that the grid is made anew
// as a client's first adoption makes it.
void GameStateAdopt(benchmark::State& state)
{
    QuietGame source(256, 61, 8, 2006);
    QuietGame small(15, 20, 4, 1);
    const std::vector<std::uint8_t> saved = saveGameState(source.game);
    const std::vector<std::uint8_t> smallSaved = saveGameState(small.game);
    QuietGame target(15, 20, 4, 7);
    for (auto _ : state) {
        state.PauseTiming();
        adoptGameState(target.game, smallSaved.data(), smallSaved.size());
        state.ResumeTiming();
        if (!adoptGameState(target.game, saved.data(), saved.size()).empty()) {
            state.SkipWithError("the state is refused");
            break;
        }
    }
    if (target.game.getDigest() != source.game.getDigest()) {
        state.SkipWithError("the state is not adopted whole");
    }
    state.counters["compressed_bytes"] = static_cast<double>(saved.size());
}
BENCHMARK(GameStateAdopt)->Unit(benchmark::kMillisecond);

} // namespace
