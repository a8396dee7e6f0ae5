// SPDX-License-Identifier: GPL-3.0-or-later
// Writes down every command a game applies, as a replay: either everything
// into one file, or each battlefield into a file of its own in a folder, named
// by the date and time it started, the newest ones kept. Lines are appended
// one write each, so a game that crashes or is killed leaves a file that plays
// up to its last command. A file that cannot be written costs one line on the
// error stream and the game goes on unrecorded.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "game/GameListener.h"

class ReplayRecorder : public GameListener {
public:
    // How many replays a folder keeps.
    static constexpr int KEPT_REPLAYS = 50;

    // tick: the game clock, read for every line. err: not owned, outlives the
    // recorder. version: the game's, for the header.
    ReplayRecorder(std::function<long()> tick, std::string version, std::ostream& err);
    ~ReplayRecorder() override;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Everything from now on goes into the file at path, made anew.
    void recordToFile(const std::string& path);
    // Each battlefield from now on goes into a new file in folder (made when
    // missing); only the newest keep files of the folder's replays stay.
    void recordToFolder(const std::string& folder, int keep = KEPT_REPLAYS);

    void onCommand(const GameCommand& command) override;
    void onShot(int shot, std::uint64_t digest) override;

    // The file written now, or "" before the first battlefield or after a
    // failure.
    const std::string& getPath() const;

private:
    // Opens path anew with the header; false (and one line said) on failure.
    bool open(const std::string& path);
    void write(const std::string& line);
    void stop();
    // The next free name of the folder for a battlefield starting now.
    std::string newFileName() const;
    void removeOldReplays() const;

    std::function<long()> tick;
    std::string version;
    std::ostream& err; // not owned
    std::string folder; // "" when everything goes into one file
    int keep;
    std::string path;
    int fd;
    long fileStart; // the tick the file's ticks count from
};
