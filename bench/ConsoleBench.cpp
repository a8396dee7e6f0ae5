// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one console line in the model's handler: a command that acts
// without starting a new game, and a line that no command matches and so is
// tried against every pattern.
#include <string>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/Main.h"
#include "model/ArenaModel.h"

namespace {

void ModelConsoleLine(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, 15, 15, 20, RandomStream(42));
    model.reset();
    const std::string line = state.range(0) == 0 ? "set gravity 0 -0.98 0" : "animate 0 cast 1500";
    Silence silence;
    for (auto _ : state) {
        model.handleConsoleCommand(line);
    }
}
BENCHMARK(ModelConsoleLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
