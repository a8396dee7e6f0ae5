// SPDX-License-Identifier: GPL-3.0-or-later
// The terrain's meshes: building every chunk of a seeded battlefield at once,
// and the frames right after a new battlefield, whose longest must stay
// short while the chunks out of view are built over the next frames. The
// frames need a display (run under xvfb-run).
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/Main.h"
#include "model/ArenaModel.h"
#include "view/ArenaView.h"
#include "view/BlockFaces.h"
#include "view/TerrainChunks.h"

namespace {

// Arguments: grid width (= depth), height. Every chunk of the view's terrain
// built again from its cells, merged.
void TerrainChunksBuild(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    SeededViewGame game(side, height);
    game.model.reset();
    const BlockFaces grass(*game.view.getResources().getModel("grass"));
    const BlockFaces dirt(*game.view.getResources().getModel("dirt"));
    const TerrainChunks& shown = game.view.getTerrain().getChunks();
    TerrainChunks chunks;
    for (auto _ : state) {
        state.PauseTiming();
        chunks.reset(side, side, height, &grass, &dirt);
        for (int x = 0; x < side; ++x) {
            for (int z = 0; z < side; ++z) {
                for (int y = 0; y < height; ++y) {
                    chunks.setBlock(x, y, z, shown.getBlock(x, y, z));
                }
            }
        }
        state.ResumeTiming();
        chunks.rebuildAll();
    }
    state.counters["triangles"] = static_cast<double>(chunks.getTriangleCount());
    state.counters["chunks"] = chunks.getChunkCount();
}
BENCHMARK(TerrainChunksBuild)
    ->Args({15, 20})
    ->Args({64, 32})
    ->Args({128, 64})
    ->Args({256, 61})
    ->Unit(benchmark::kMillisecond);

// Arguments: grid width (= depth), height. A new battlefield, and the frames
// from the start camera at 800 x 600 until every chunk is built; counters:
// the longest frame (the first one includes the new battlefield itself) and
// how many frames the chunks out of view took.
void NewBattlefieldFrames(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    SeededViewGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    game.view.initialize();
    game.view.reshape(FRAME_WIDTH, FRAME_HEIGHT);
    game.view.getCamera().setAutoCameraEnabled(false);
    double longest = 0;
    int frames = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        game.model.reset();
        frames = 0;
        do {
            game.view.renderScene();
            glFinish();
            const auto end = std::chrono::steady_clock::now();
            longest = std::max(longest, std::chrono::duration<double, std::milli>(end - start).count());
            start = end;
            ++frames;
        } while (game.view.getTerrain().getChunks().getWaitingChunkCount() > 0 && frames < 1000);
    }
    state.counters["longest_frame_ms"] = longest;
    state.counters["frames_to_build"] = frames;
}
BENCHMARK(NewBattlefieldFrames)
    ->Args({15, 20})
    ->Args({64, 32})
    ->Args({128, 64})
    ->Args({256, 61})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
