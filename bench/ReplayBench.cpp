// SPDX-License-Identifier: GPL-3.0-or-later
// The headless check of a 100-shot replay: on the default battlefield it should
// take at most a second, on 256 x 256 x 61 at most ten.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <tuple>

#include "replay/ReplayChecker.h"
#include "support/SampleGame.h"

namespace {

// Recorded once per size: a game of four, the spells in turn, wind blowing.
const Replay& hundredShots(int width, int depth, int height)
{
    static std::map<std::tuple<int, int, int>, Replay> recorded;
    const auto key = std::make_tuple(width, depth, height);
    auto found = recorded.find(key);
    if (found == recorded.end()) {
        BattlefieldSetup setup;
        setup.width = width;
        setup.depth = depth;
        setup.height = height;
        setup.windEnabled = true;
        found = recorded.emplace(key, SampleGame(setup, 2006, 100).replay()).first;
    }
    return found->second;
}

void ReplayCheck(benchmark::State& state)
{
    const Replay& replay = hundredShots(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                        static_cast<int>(state.range(2)));
    for (auto _ : state) {
        const ReplayVerdict verdict = checkReplay(replay);
        if (!verdict.agrees() || verdict.shots != 100) {
            state.SkipWithError("the replay does not check");
            break;
        }
    }
}
BENCHMARK(ReplayCheck)->Args({15, 15, 20})->Unit(benchmark::kMillisecond);
BENCHMARK(ReplayCheck)->Args({256, 256, 61})->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
