// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the whole view: the default battlefield with display lists on and
// off, and a large one. Needs a display (run under xvfb-run).
#include <GL/freeglut.h>

#include <list>
#include <memory>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/Main.h"
#include "model/ArenaModel.h"
#include "model/RadiusBomb.h"
#include "model/VerticalStrike.h"
#include "scene/graphicnode.h"
#include "view/ArenaView.h"

namespace {

// A seeded game of four on a side x side x height battlefield, its view in
// the benchmark window, quiet.
struct BenchGame : SeededViewGame {
    BenchGame(int side, int height)
        : SeededViewGame(side, height)
    {
        view.initialize();
        view.reshape(FRAME_WIDTH, FRAME_HEIGHT);
        // Frames from the start place.
        view.getCamera().setAutoCameraEnabled(false);
        model.reset();
        view.onCurrentPlayer(0);
    }

    // Draws frames for as long as the benchmark asks.
    void frames(benchmark::State& state)
    {
        for (auto _ : state) {
            view.renderScene();
            glFinish();
        }
        state.counters["frames_per_second"] =
            benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    }
};

// Arguments: grid width (= depth), height, display lists on (1) or off (0).
void ViewFrame(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    BenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    GraphicNode::useDisplayList = state.range(2) != 0;
    game.frames(state);
    state.counters["surface_blocks"] = static_cast<double>(game.view.getTerrain().getSurfaceBlocks().size());
    GraphicNode::useDisplayList = true;
}
BENCHMARK(ViewFrame)
    ->Args({15, 20, 1})
    ->Args({15, 20, 0})
    ->Args({64, 32, 1})
    ->Args({64, 32, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The terrain from chunks (1) or block by block (0), display lists on, in the
// same run. Arguments: grid width (= depth), height, chunks, lighting off (1).
void ChunkedFrame(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    BenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    game.view.getTerrain().setChunksEnabled(state.range(2) != 0);
    const bool unlit = state.range(3) != 0;
    if (unlit) {
        glDisable(GL_LIGHTING);
    }
    game.frames(state);
    state.counters["triangles"] = static_cast<double>(GraphicNode::getTriangleCount());
    if (unlit) {
        glEnable(GL_LIGHTING);
    }
}
BENCHMARK(ChunkedFrame)
    ->Args({15, 20, 0, 0})
    ->Args({15, 20, 1, 0})
    ->Args({15, 20, 0, 1})
    ->Args({15, 20, 1, 1})
    ->Args({64, 32, 0, 0})
    ->Args({64, 32, 1, 0})
    ->Args({128, 64, 0, 0})
    ->Args({128, 64, 1, 0})
    ->Args({256, 61, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The default battlefield under each setting of the view's console, the
// terrain in chunks; argument: the index of the setting, 0 for none.
const std::pair<const char*, const char*> VIEW_SETTINGS[] = {
    {"", ""},
    {"disable lighting", "enable lighting"},
    {"disable light1", "enable light1"},
    {"disable material", "enable material"},
    {"disable normalize", "enable normalize"},
    {"disable displaylist", "enable displaylist"},
    {"enable debug", "disable debug"},
    {"set shading flat", "set shading smooth"},
    {"set material front emission", "set material front_back ambient_diffuse"},
    {"disable chunks", "enable chunks"},
};

void ViewSettingFrame(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    BenchGame game(15, 20);
    const auto& [setting, undo] = VIEW_SETTINGS[state.range(0)];
    state.SetLabel(*setting == '\0' ? "as started" : setting);
    game.view.handleConsoleCommand(setting);
    game.frames(state);
    game.view.handleConsoleCommand(undo);
}
BENCHMARK(ViewSettingFrame)->DenseRange(0, 9)->Unit(benchmark::kMillisecond)->UseRealTime();

// A new game on the default battlefield, as the view receives it.
void ViewNewGame(benchmark::State& state)
{
    Silence silence;
    Main::seedRandom(2006);
    const int side = static_cast<int>(state.range(0));
    TimeSystem clock;
    clock.play();
    ArenaModel model(4, side, side, static_cast<int>(state.range(1)), RandomStream(2006));
    ArenaView view(clock);
    model.addListener(&view);
    for (auto _ : state) {
        model.reset();
    }
}
BENCHMARK(ViewNewGame)->Args({15, 20})->Args({64, 32})->Args({128, 64})->Args({256, 61})->Unit(benchmark::kMillisecond);

// A new game up to its first picture: the view's new map and the first frame,
// which builds every chunk of the terrain.
void ViewNewGameFirstFrame(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    BenchGame game(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        game.model.reset();
        game.view.renderScene();
        glFinish();
    }
}
BENCHMARK(ViewNewGameFirstFrame)
    ->Args({15, 20})
    ->Args({64, 32})
    ->Args({128, 64})
    ->Args({256, 61})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Frames while a shot plays, the view clock held at a moment of the shot:
// argument 0, a cyclone's whirl of particles; 1, the debris of a wide blast.
void ViewFrameDuringShot(benchmark::State& state)
{
    if (!openBenchWindow()) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    long now = 0;
    TimeSystem::setClockSource([&now] { return now; });
    BenchGame game(15, 20);
    const bool whirl = state.range(0) == 0;
    std::unique_ptr<Projectile> spell;
    if (whirl) {
        spell = std::make_unique<VerticalStrike>();
    } else {
        spell = std::make_unique<RadiusBomb>(5.0);
    }
    // Straight down onto the shooter's own column: a short flight.
    game.model.throwProjectile(0, spell.get(), 0, -90, 1);
    double length = 0;
    const std::list<Vector>& path = game.view.getShots().getTrajectory();
    for (auto a = path.begin(), b = std::next(path.begin()); b != path.end(); ++a, ++b) {
        length += (*b - *a).getLength();
    }
    const long effectStart = 700 + static_cast<long>(150 * length);
    now = whirl ? effectStart + 900 : effectStart + 1000 + 500;
    game.frames(state);
    TimeSystem::setClockSource({});
}
BENCHMARK(ViewFrameDuringShot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
