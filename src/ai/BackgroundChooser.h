// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the choice of a computer player's shot on a worker thread, on a
// snapshot of the battlefield, so that no frame waits for the search.
#pragma once

#include <atomic>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

#include "ai/ComputerLevel.h"
#include "ai/ShotChoice.h"
#include "ai/ShotChooser.h"
#include "model/ArenaModel.h"

class BackgroundChooser {
public:
    // The search run on the worker: chooseShot, or a stand-in in tests.
    using Search = std::function<ShotChoice(const ArenaModel& battlefield, int playerId, ComputerLevel level,
                                            std::mt19937& stream, double radiusBombSize,
                                            const std::atomic<bool>* cancel)>;

    // A search that fails (out of memory on a huge battlefield, say) costs
    // one line on err and its turn is a plain cast: the default ShotChoice.
    // err: not owned; outlives the chooser.
    explicit BackgroundChooser(Search search = chooseShot, std::ostream& err = std::cerr);
    // Cancels a choice in progress and waits for its thread.
    ~BackgroundChooser();
    BackgroundChooser(const BackgroundChooser&) = delete;
    BackgroundChooser& operator=(const BackgroundChooser&) = delete;

    // Copies battlefield (on the calling thread) and starts choosing for
    // playerId on the copy; a choice in progress is cancelled first. seed:
    // of the level's stream for this choice.
    void start(const ArenaModel& battlefield, int playerId, ComputerLevel level, unsigned int seed,
               double radiusBombSize);
    // Started and not yet taken or cancelled.
    bool isStarted() const;
    // Started, and the choice is made.
    bool isReady() const;
    // Waits until the choice is made; for tests and for leaving.
    void wait();
    // The choice: waits for it if need be. Only after start.
    ShotChoice take();
    // Drops a choice in progress; returns once its thread has ended.
    void cancel();
    // The battlefield the choice is being made on, or null.
    const ArenaModel* getBattlefield() const;

private:
    struct Job {
        explicit Job(const ArenaModel& battlefield)
            : snapshot(battlefield)
        {
        }
        ArenaModel snapshot;
        std::atomic<bool> cancelled{false};
        std::atomic<bool> done{false};
        ShotChoice choice;
    };

    // The search on failed ended with why: one line on err, a plain cast.
    void giveUp(Job* failed, const char* why);

    Search search;
    std::ostream& err;        // not owned
    std::unique_ptr<Job> job; // owned; outlives worker, which is joined first
    std::thread worker;
};
