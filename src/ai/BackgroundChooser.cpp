// SPDX-License-Identifier: GPL-3.0-or-later
// A computer player's search for a shot, off the GLUT thread: one job at a
// time, each on its own copy of the battlefield.
#include "ai/BackgroundChooser.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <exception>
#include <ostream>
#include <system_error>
#include <utility>

namespace {

constexpr int SEARCH_NICENESS = 10;

// The search gives way to the thread that draws: on a machine of two cores
// it would otherwise take the core a frame is waiting for. Only this thread
// is lowered; where that cannot be done, it searches as it is.
void yieldToDrawing()
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), SEARCH_NICENESS);
}

} // namespace

BackgroundChooser::BackgroundChooser(Search search, std::ostream& err)
    : search(std::move(search)), err(err)
{
}

BackgroundChooser::~BackgroundChooser()
{
    cancel();
}

void BackgroundChooser::start(const ArenaModel& battlefield, int playerId, ComputerLevel level,
                              unsigned int seed, double radiusBombSize)
{
    cancel();
    job = std::make_unique<Job>(battlefield);
    Job* running = job.get();
    const auto choose = [this, running, playerId, level, seed, radiusBombSize] {
        // An exception leaving a thread would end the game: the turn goes on
        // with a plain cast instead.
        yieldToDrawing();
        try {
            std::mt19937 stream(seed);
            running->choice = search(running->snapshot, playerId, level, stream, radiusBombSize, &running->cancelled);
        } catch (const std::exception& error) {
            giveUp(running, error.what());
        } catch (...) {
            giveUp(running, "an unknown error");
        }
        running->done = true;
    };
    try {
        worker = std::thread(choose);
    } catch (const std::system_error& error) {
        // No thread to be had: the turn must not wait for one.
        giveUp(running, error.what());
        running->done = true;
    }
}

void BackgroundChooser::giveUp(Job* failed, const char* why)
{
    failed->choice = ShotChoice();
    // A choice that was dropped is not missed.
    if (failed->cancelled) {
        return;
    }
    err << "kestrune: a computer player could not choose a shot (" << why << "); it casts a plain fireball"
        << std::endl;
}

bool BackgroundChooser::isStarted() const
{
    return job != nullptr;
}

bool BackgroundChooser::isReady() const
{
    return job != nullptr && job->done;
}

void BackgroundChooser::wait()
{
    if (worker.joinable()) {
        worker.join();
    }
}

ShotChoice BackgroundChooser::take()
{
    wait();
    ShotChoice choice = job != nullptr ? job->choice : ShotChoice();
    job.reset();
    return choice;
}

void BackgroundChooser::cancel()
{
    if (job != nullptr) {
        job->cancelled = true;
    }
    wait();
    job.reset();
}

const ArenaModel* BackgroundChooser::getBattlefield() const
{
    return job != nullptr ? &job->snapshot : nullptr;
}
