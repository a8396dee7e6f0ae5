// SPDX-License-Identifier: GPL-3.0-or-later
// A computer player's search for a shot, off the GLUT thread: one job at a
// time, each on its own copy of the battlefield.
#include "ai/BackgroundChooser.h"

#include <random>

#include "ai/ShotChooser.h"

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
    worker = std::thread([running, playerId, level, seed, radiusBombSize] {
        std::mt19937 stream(seed);
        running->choice = chooseShot(running->snapshot, playerId, level, stream, radiusBombSize,
                                     &running->cancelled);
        running->done = true;
    });
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
