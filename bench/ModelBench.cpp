// Costs of the battlefield model: a new game on the default grid and on a
// large one, and the point query that a shot makes a hundred times per unit of
// its path.
#include <benchmark/benchmark.h>

#include "app/Main.h"
#include "model/ArenaModel.h"

namespace {

void ArenaModelReset(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                     static_cast<int>(state.range(2)));
    for (auto _ : state) {
        model.reset();
    }
}
BENCHMARK(ArenaModelReset)
    ->Args({15, 15, 20})
    ->Args({128, 128, 64})
    ->Unit(benchmark::kMicrosecond);

// testAny over points inside and outside the grid, some in player boxes.
void ArenaModelTestAny(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, 15, 15, 20);
    model.reset();
    double t = 0.0;
    for (auto _ : state) {
        t += 0.0137;
        if (t > 17.0) {
            t = -1.0;
        }
        benchmark::DoNotOptimize(model.testAny(t, t * 0.9, 15.0 - t));
    }
}
BENCHMARK(ArenaModelTestAny);

} // namespace
