// SPDX-License-Identifier: GPL-3.0-or-later
// Network play on loopback: how soon a cast on one machine is shown on
// another, against the round trip; what aiming costs on the wire; what an
// idle server with eight machines takes of a core and of memory.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "support/NetworkMachines.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Two machines joined to a fast server, the battlefield begun; neither casts
// on its own.
struct TwoMachines {
    explicit TwoMachines(std::uint32_t seed)
        : server(quickServer(2, seed), out, err)
    {
        std::string problem;
        server.start(problem);
        ada = std::make_unique<Machine>("Ada", server.getPort());
        bo = std::make_unique<Machine>("Bo", server.getPort());
        ada->plays = bo->plays = false;
        runUntil(&server, {ada.get(), bo.get()}, [&] {
            return server.hasBegun() && ada->client->isCaughtUp() && bo->client->isCaughtUp()
                   && ada->client->getWaiting() == 0 && bo->client->getWaiting() == 0;
        });
    }
    std::ostringstream out, err;
    GameServer server;
    std::unique_ptr<Machine> ada, bo;
};

} // namespace

// Player 0 casts on Ada's machine, up and away; the time until Bo's game has
// applied the cast (its flight starts there), beside the round trip.
static void CastReachesAnotherMachine(benchmark::State& state)
{
    TwoMachines game(21);
    double latency = 0.0, roundTrip = 0.0;
    long casts = 0;
    for (auto _ : state) {
        const int caster = game.ada->game.getCurrentPlayer();
        Machine& own = caster == 0 ? *game.ada : *game.bo;
        Machine& other = caster == 0 ? *game.bo : *game.ada;
        const int shots = other.game.getShotCount();
        const Clock::time_point start = Clock::now();
        own.client->submit(Command::Aim{caster, caster * 180.0, 60.0, 100.0});
        own.client->submit(Command::Cast{caster});
        runUntil(&game.server, {game.ada.get(), game.bo.get()}, [&] { return other.game.getShotCount() > shots; });
        latency += millisecondsSince(start);
        roundTrip += static_cast<double>(own.client->getRoundTrip());
        ++casts;
        if (game.ada->game.isLastManStanding()) {
            state.SkipWithError("the battlefield ended");
            break;
        }
    }
    state.counters["cast_to_flight_ms"] = casts ? latency / casts : 0.0;
    state.counters["round_trip_ms"] = casts ? roundTrip / casts : 0.0;
}
BENCHMARK(CastReachesAnotherMachine)->Iterations(20)->Unit(benchmark::kMillisecond);

// Ada turns her cannon twenty times a second, as a held key does, for five
// seconds: the bytes each machine sends and receives per second.
static void AimingTraffic(benchmark::State& state)
{
    TwoMachines game(22);
    for (auto _ : state) {
        const long adaSent = game.ada->client->getBytesSent(), adaReceived = game.ada->client->getBytesReceived();
        const long boReceived = game.bo->client->getBytesReceived();
        const Clock::time_point start = Clock::now();
        double yaw = 0.0;
        Clock::time_point nextAim = start;
        runUntil(
            &game.server, {game.ada.get(), game.bo.get()}, [&] { return millisecondsSince(start) >= 5000.0; },
            [&] {
                if (Clock::now() >= nextAim) {
                    yaw += 1.0;
                    game.ada->client->submit(Command::Aim{0, yaw, 30.0, 40.0});
                    nextAim += std::chrono::milliseconds(50);
                }
            });
        const double seconds = millisecondsSince(start) / 1000.0;
        state.counters["aimer_sent_Bps"] = (game.ada->client->getBytesSent() - adaSent) / seconds;
        state.counters["aimer_received_Bps"] = (game.ada->client->getBytesReceived() - adaReceived) / seconds;
        state.counters["watcher_received_Bps"] = (game.bo->client->getBytesReceived() - boReceived) / seconds;
    }
}
BENCHMARK(AimingTraffic)->Iterations(1)->Unit(benchmark::kMillisecond);

// kestrune-server with eight machines joined, none acting, for ten seconds:
// its share of a core and its resident memory.
static void IdleServer(benchmark::State& state)
{
    const pid_t server = fork();
    if (server == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execl(KESTRUNE_SERVER_BINARY, KESTRUNE_SERVER_BINARY, "--port", "27499", "--players", "8", "--seed", "3",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    std::vector<std::unique_ptr<Machine>> machines;
    for (int i = 0; i < 8; ++i) {
        machines.push_back(std::make_unique<Machine>("Player " + std::to_string(i), 27499));
        machines.back()->plays = false;
    }
    std::vector<Machine*> all;
    for (auto& machine : machines) {
        all.push_back(machine.get());
    }
    runUntil(nullptr, all, [&] {
        for (Machine* machine : all) {
            if (machine->client->getWaiting() != 0 || !machine->client->isCaughtUp()) {
                return false;
            }
        }
        return true;
    });
    const auto cpuTicks = [server] {
        std::ifstream stat("/proc/" + std::to_string(server) + "/stat");
        std::string field;
        long ticks = 0;
        for (int i = 1; stat >> field && i <= 15; ++i) {
            ticks += (i == 14 || i == 15) ? std::stol(field) : 0;
        }
        return ticks;
    };
    for (auto _ : state) {
        const long before = cpuTicks();
        const Clock::time_point start = Clock::now();
        runUntil(nullptr, all, [&] { return millisecondsSince(start) >= 10000.0; });
        const double seconds = millisecondsSince(start) / 1000.0;
        state.counters["server_core_percent"] = 100.0 * (cpuTicks() - before) / sysconf(_SC_CLK_TCK) / seconds;
        std::ifstream status("/proc/" + std::to_string(server) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) {
                state.counters["server_resident_kB"] = std::stod(line.substr(6));
            }
        }
    }
    machines.clear();
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}
BENCHMARK(IdleServer)->Iterations(1)->Unit(benchmark::kMillisecond);
