// SPDX-License-Identifier: GPL-3.0-or-later
// Replays written as a game goes: a header and a battlefield line per file or
// per battlefield, then a line per command and a digest after each cast.
#include "replay/ReplayRecorder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <ostream>
#include <utility>
#include <vector>

#include "replay/Replay.h"
#include "replay/ReplayFormat.h"

namespace {

// "2026-12-09_23-11-58.123.replay": 30 characters.
constexpr std::size_t REPLAY_NAME_LENGTH = 30;

bool isReplayName(const std::string& name)
{
    if (name.size() != REPLAY_NAME_LENGTH || name.compare(23, std::string::npos, REPLAY_EXTENSION) != 0) {
        return false;
    }
    for (std::size_t i = 0; i < 23; ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16 || i == 19;
        if (digit == separator) {
            return false;
        }
    }
    return true;
}

// Makes a folder and those above it that are missing.
bool makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

ReplayRecorder::ReplayRecorder(std::function<long()> tick, std::string version, std::ostream& err)
    : tick(std::move(tick)), version(std::move(version)), err(err), keep(KEPT_REPLAYS), fd(-1), fileStart(0)
{
}

ReplayRecorder::~ReplayRecorder()
{
    stop();
}

void ReplayRecorder::recordToFile(const std::string& file)
{
    folder.clear();
    if (open(file)) {
        fileStart = 0;
    }
}

void ReplayRecorder::recordToFolder(const std::string& where, int kept)
{
    stop();
    if (!makeFolders(where)) {
        err << "kestrune: the replay folder " << where << " cannot be made (" << std::strerror(errno)
            << "); this game is not recorded" << std::endl;
        return;
    }
    folder = where;
    keep = std::max(kept, 1);
}

const std::string& ReplayRecorder::getPath() const
{
    return path;
}

bool ReplayRecorder::open(const std::string& file)
{
    stop();
    fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        err << "kestrune: the replay " << file << " cannot be written (" << std::strerror(errno)
            << "); this game is not recorded" << std::endl;
        folder.clear();
        return false;
    }
    path = file;
    write(ReplayFormat::formatHeader() + "\n" + ReplayFormat::formatGameVersion(version));
    return fd >= 0;
}

void ReplayRecorder::stop()
{
    if (fd >= 0) {
        close(fd);
    }
    fd = -1;
    path.clear();
}

void ReplayRecorder::write(const std::string& text)
{
    if (fd < 0) {
        return;
    }
    // One write a line: what is written is whole lines.
    const std::string line = text + "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t done = ::write(fd, line.data() + written, line.size() - written);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            err << "kestrune: the replay " << path << " cannot be written further (" << std::strerror(errno)
                << "); the rest of this game is not recorded" << std::endl;
            folder.clear();
            stop();
            return;
        }
        written += static_cast<std::size_t>(done);
    }
}

void ReplayRecorder::onCommand(const GameCommand& command)
{
    const long now = tick();
    if (std::holds_alternative<Command::Battlefield>(command) && !folder.empty()) {
        if (open(newFileName())) {
            fileStart = now;
            removeOldReplays();
        }
    }
    const std::string line = ReplayFormat::formatStep(std::max(now - fileStart, 0L), command);
    if (!line.empty()) {
        write(line);
    }
}

void ReplayRecorder::onShot(int shot, std::uint64_t digest)
{
    write(ReplayFormat::formatDigest(shot, digest));
}

std::string ReplayRecorder::newFileName() const
{
    timeval now {};
    gettimeofday(&now, nullptr);
    tm local {};
    const time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    long millisecond = now.tv_usec / 1000;
    // Two battlefields in one millisecond take the next free one.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d.%03ld%s", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                      (millisecond + attempt) % 1000, REPLAY_EXTENSION);
        const std::string candidate = folder + "/" + name;
        struct stat status {};
        if (stat(candidate.c_str(), &status) != 0) {
            return candidate;
        }
    }
    return folder + "/overflow" + REPLAY_EXTENSION;
}

void ReplayRecorder::removeOldReplays() const
{
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        if (isReplayName(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(listing);
    // Their names sort as their times do: the oldest first.
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < names.size(); ++i) {
        unlink((folder + "/" + names[i]).c_str());
    }
}
