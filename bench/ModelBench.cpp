// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the battlefield model: a new game on the default grid and on a
// large one, and the point query that a shot makes a hundred times per unit of
// its path.
#include <map>
#include <set>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/Main.h"
#include "model/ArenaModel.h"
#include "model/Projectile.h"
#include "model/RadiusBomb.h"

namespace {

void ArenaModelReset(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                     static_cast<int>(state.range(2)), RandomStream(42));
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
    ArenaModel model(4, 15, 15, 20, RandomStream(42));
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

namespace {

// A shot that also leaves the battlefield as it was: the spell marks nothing
// and nobody is hurt, so every iteration resolves the same flight.
class HarmlessSpell : public Projectile {
public:
    void onImpact(ArenaModel&, const Vector&, std::set<Vector>&, std::map<int, double>&) override {}
    Animation* getAnimation(long, TimeSystem&, Vector) override { return nullptr; }
};

// Power 100 straight up: the longest first step a shot can take.
void ShotStraightUpAtFullPower(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, 15, 15, 20, RandomStream(42));
    model.reset();
    HarmlessSpell spell;
    Silence silence;
    for (auto _ : state) {
        model.throwProjectile(0, &spell, 0, 90, 100);
    }
}
BENCHMARK(ShotStraightUpAtFullPower)->Unit(benchmark::kMicrosecond);

// The trajectory alone of a long lob across the default battlefield.
void TrajectoryLongLob(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, 15, 15, 20, RandomStream(42));
    model.reset();
    for (auto _ : state) {
        auto path = model.createTrajectory(Vector(0.5, 16, 0.5), Vector(0.3, 1.5, 0.3),
                                           Vector(0, -0.05, 0));
        benchmark::DoNotOptimize(path.size());
    }
}
BENCHMARK(TrajectoryLongLob)->Unit(benchmark::kMicrosecond);

// A whole fireball shot, battlefield restored by a new game between shots
// (the new game is not timed).
void FireballShot(benchmark::State& state)
{
    Main::seedRandom(42);
    ArenaModel model(4, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                     static_cast<int>(state.range(2)), RandomStream(42));
    Silence silence;
    for (auto _ : state) {
        state.PauseTiming();
        model.reset();
        RadiusBomb bomb(3.0);
        state.ResumeTiming();
        // Down onto the player's own feet: the blast always hits terrain.
        model.throwProjectile(0, &bomb, 0, -60, 2);
    }
}
BENCHMARK(FireballShot)->Args({15, 15, 20})->Args({128, 128, 64})->Unit(benchmark::kMicrosecond);

} // namespace
