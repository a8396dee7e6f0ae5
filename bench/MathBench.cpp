// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the foundations that the model calls per trajectory sample and the
// shell calls per frame.
#include <set>

#include <benchmark/benchmark.h>

#include "app/KeyPolling.h"
#include "math/TimeSystem.h"
#include "math/Vector.h"

namespace {

class NullReceiver : public KeyReceiver {
public:
    void keyboard(unsigned char key) override { benchmark::DoNotOptimize(key); }
    void specialKeyboard(int key) override { benchmark::DoNotOptimize(key); }
    bool isKeyFastRepeat(unsigned char) override { return true; }
    bool isKeyFastRepeat(int) override { return true; }
};

void VectorRotateAllAxes(benchmark::State& state)
{
    Vector v(1.0, 0.5, 0.25);
    for (auto _ : state) {
        v.rotate(1.5, 1.0, 1.0, 1.0);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(VectorRotateAllAxes);

// A set of cells as a shot's hit list holds them: the default grid's 4500.
void VectorSetInsertAndFind(benchmark::State& state)
{
    for (auto _ : state) {
        std::set<Vector> cells;
        for (int x = 0; x < 15; ++x) {
            for (int z = 0; z < 15; ++z) {
                for (int y = 0; y < 20; ++y) {
                    cells.insert(Vector(x, y, z));
                }
            }
        }
        benchmark::DoNotOptimize(cells.count(Vector(7.0004, 3, 9)));
    }
}
BENCHMARK(VectorSetInsertAndFind)->Unit(benchmark::kMicrosecond);

void TimeSystemGetTick(benchmark::State& state)
{
    TimeSystem clock;
    clock.play();
    for (auto _ : state) {
        benchmark::DoNotOptimize(clock.getTick());
    }
}
BENCHMARK(TimeSystemGetTick);

// One idle step's key work with three keys held.
void KeyPollingIdleWithHeldKeys(benchmark::State& state)
{
    TimeSystem clock;
    clock.play();
    KeyPolling polling(clock);
    NullReceiver receiver;
    for (unsigned char key : {'a', 'w', 'd'}) {
        polling.keyboard(key);
    }
    polling.specialKeyboard(100);
    for (auto _ : state) {
        polling.idle_keyboardNormalKeys(receiver);
        polling.idle_keyboardSpecialKeys(receiver);
    }
}
BENCHMARK(KeyPollingIdleWithHeldKeys);

} // namespace
