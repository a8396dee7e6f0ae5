// SPDX-License-Identifier: GPL-3.0-or-later
// The computer players: the chooser's time per turn on the default battlefield
// and on a large one, and how well the levels shoot over 200 seeded two-caster
// battlefields of the default size (reported as counters: shares of first
// shots that hurt the opponent and that kill it outright, and of games hard
// wins against easy). The level counters run alone with
//     kestrune_bench --benchmark_filter='FirstShot|HardBeatsEasy'
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "ai/ShotChooser.h"
#include "app/Main.h"
#include "model/ArenaModel.h"
#include "model/SpellByName.h"
#include "settings/GameSetup.h"

namespace {

constexpr double RADIUS_BOMB_SIZE = 3.0;
constexpr int BATTLEFIELDS = 200;
// A game that lasts longer than this is a draw.
constexpr int MAX_TURNS = 60;

std::unique_ptr<ArenaModel> seededBattlefield(unsigned int seed, int players, int width, int depth,
                                              int height)
{
    Main::seedRandom(seed);
    auto model = std::make_unique<ArenaModel>(players, width, depth, height, RandomStream(seed));
    model->reset();
    return model;
}

// The first battlefield of a two-caster game started with --seed and no
// grid: the set-up's size, no wind. The game seeds its battlefield and the
// computer players' seeds from the one seed, and each computer turn's stream
// from the next of those seeds; stream is the first turn's.
std::unique_ptr<ArenaModel> gameBattlefield(unsigned int seed, std::mt19937& stream)
{
    const GameSetup defaults;
    std::unique_ptr<ArenaModel> model =
        seededBattlefield(seed, MIN_SETUP_PLAYERS, defaults.width, defaults.depth, defaults.height);
    stream.seed(Main::computerSeed());
    return model;
}

// Casts the choice on the model as the game would, quietly.
ShotOutcome cast(ArenaModel& model, int playerId, const ShotChoice& choice)
{
    std::unique_ptr<Projectile> spell = createSpell(choice.spell, RADIUS_BOMB_SIZE);
    return model.resolveShot(playerId, spell.get(), choice.yaw, choice.pitch, choice.power);
}

void ChooseShotTime(benchmark::State& state)
{
    std::unique_ptr<ArenaModel> model =
        seededBattlefield(7, 4, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                          static_cast<int>(state.range(2)));
    std::mt19937 stream(7);
    for (auto _ : state) {
        benchmark::DoNotOptimize(chooseShot(*model, 0, ComputerLevel::hard, stream, RADIUS_BOMB_SIZE));
    }
}
BENCHMARK(ChooseShotTime)
    ->Args({15, 15, 20})
    ->Args({64, 64, 32})
    ->Unit(benchmark::kMillisecond);

// What a computer player's turn costs the frame it starts in: the copy of
// the battlefield its thread works on.
void SnapshotCopy(benchmark::State& state)
{
    std::unique_ptr<ArenaModel> model =
        seededBattlefield(7, 4, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                          static_cast<int>(state.range(2)));
    for (auto _ : state) {
        ArenaModel copy(*model);
        benchmark::DoNotOptimize(copy.getWidth());
    }
}
BENCHMARK(SnapshotCopy)
    ->Args({15, 15, 20})
    ->Args({64, 64, 32})
    ->Args({256, 256, 12})
    ->Unit(benchmark::kMicrosecond);

// Per level: of the battlefields where some candidate shot hurts the
// opponent, the share where caster 0's first shot hurts the full-health
// caster 1, and the share where it kills it.
void FirstShot(benchmark::State& state)
{
    const auto level = static_cast<ComputerLevel>(state.range(0));
    double hits = 0;
    double kills = 0;
    double reachable = 0;
    for (auto _ : state) {
        hits = 0;
        kills = 0;
        reachable = 0;
        for (unsigned int seed = 1; seed <= BATTLEFIELDS; ++seed) {
            std::mt19937 stream;
            std::unique_ptr<ArenaModel> model = gameBattlefield(seed, stream);
            const ShotChoice choice = chooseShot(*model, 0, level, stream, RADIUS_BOMB_SIZE);
            if (choice.bestScore <= 0.0) {
                continue;
            }
            reachable += 1;
            const ShotOutcome outcome = cast(*model, 0, choice);
            const auto hurt = outcome.damages.find(1);
            if (hurt != outcome.damages.end() && hurt->second > 0.0) {
                hits += 1;
            }
            if (model->getPlayer(1).isDead()) {
                kills += 1;
            }
        }
    }
    state.counters["reachable"] = reachable;
    state.counters["hit_share"] = reachable > 0 ? hits / reachable : 0.0;
    state.counters["kill_share"] = reachable > 0 ? kills / reachable : 0.0;
    state.SetLabel(levelName(level));
}
BENCHMARK(FirstShot)
    ->Arg(static_cast<int>(ComputerLevel::hard))
    ->Arg(static_cast<int>(ComputerLevel::normal))
    ->Arg(static_cast<int>(ComputerLevel::easy))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Hard against easy, each starting half of the games.
void HardBeatsEasy(benchmark::State& state)
{
    double hardWins = 0;
    double games = 0;
    for (auto _ : state) {
        hardWins = 0;
        games = 0;
        for (unsigned int seed = 1; seed <= BATTLEFIELDS; ++seed) {
            std::mt19937 stream;
            std::unique_ptr<ArenaModel> model = gameBattlefield(seed, stream);
            const int hardId = static_cast<int>(seed % 2);
            int shooter = 0;
            for (int turn = 0; turn < MAX_TURNS; ++turn) {
                if (model->getPlayer(0).isDead() || model->getPlayer(1).isDead()) {
                    break;
                }
                const ComputerLevel level = shooter == hardId ? ComputerLevel::hard : ComputerLevel::easy;
                if (turn > 0) {
                    stream.seed(Main::computerSeed());
                }
                cast(*model, shooter, chooseShot(*model, shooter, level, stream, RADIUS_BOMB_SIZE));
                shooter = 1 - shooter;
            }
            games += 1;
            if (!model->getPlayer(hardId).isDead() && model->getPlayer(1 - hardId).isDead()) {
                hardWins += 1;
            }
        }
    }
    state.counters["hard_win_share"] = games > 0 ? hardWins / games : 0.0;
}
BENCHMARK(HardBeatsEasy)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
