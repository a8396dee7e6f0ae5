// SPDX-License-Identifier: GPL-3.0-or-later
// A replay file read with bounds: the file's kind and size first, then line by
// line, the header, the steps with their ticks in order and each digest after
// its cast.
#include "replay/ReplayReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "replay/ReplayFormat.h"

namespace {

// Closes a file descriptor when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd >= 0) {
            close(fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

std::string at(const std::string& name, int line, const std::string& what)
{
    return name + ":" + std::to_string(line) + ": " + what;
}

// Where a line holds a byte that is not printable ASCII, or npos.
std::size_t firstBadByte(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte > 0x7e) {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

namespace ReplayReader {

std::optional<Replay> read(const std::string& path, std::string& problem)
{
    // Not blocking: a FIFO would wait here for a writer that never comes.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        problem = path + ": cannot be read (" + std::strerror(errno) + ")";
        return std::nullopt;
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = path + ": not a replay file but " + (S_ISDIR(status.st_mode) ? "a folder" : "a special file");
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(status.st_size) > MAX_REPLAY_BYTES) {
        problem = path + ": larger than a replay can be (" + std::to_string(MAX_REPLAY_BYTES / (1024 * 1024))
                  + " MiB at most)";
        return std::nullopt;
    }
    // One byte past the bound tells a file that grew since it was measured.
    std::string text(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t got = ::read(file.get(), text.data() + filled, text.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            problem = path + ": cannot be read (" + std::strerror(errno) + ")";
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > MAX_REPLAY_BYTES) {
        problem = path + ": larger than a replay can be";
        return std::nullopt;
    }
    text.resize(filled);
    return parse(text, path, problem);
}

std::optional<Replay> parse(std::string_view text, const std::string& name, std::string& problem)
{
    if (text.size() > MAX_REPLAY_BYTES) {
        problem = name + ": larger than a replay can be";
        return std::nullopt;
    }
    Replay replay;
    replay.name = name;
    int lineNumber = 0;
    long lastTick = 0;
    int shotsOnBattlefield = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            problem = at(name, lineNumber, "the line is cut short (the file ends before its end)");
            return std::nullopt;
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > MAX_REPLAY_LINE) {
            problem = at(name, lineNumber, "longer than a replay's lines can be");
            return std::nullopt;
        }
        if (firstBadByte(line) != std::string_view::npos) {
            problem = at(name, lineNumber, "holds a byte that is not printable text");
            return std::nullopt;
        }
        std::string why;
        if (lineNumber == 1) {
            if (!ReplayFormat::parseHeader(line, why)) {
                problem = at(name, lineNumber, why);
                return std::nullopt;
            }
            continue;
        }
        if (lineNumber == 2) {
            const std::optional<std::string> version = ReplayFormat::parseGameVersion(line, why);
            if (!version) {
                problem = at(name, lineNumber, why);
                return std::nullopt;
            }
            replay.gameVersion = *version;
            continue;
        }
        if (ReplayFormat::isDigestLine(line)) {
            const std::optional<ReplayFormat::Digest> digest = ReplayFormat::parseDigest(line, why);
            if (!digest) {
                problem = at(name, lineNumber, why);
                return std::nullopt;
            }
            ReplayStep* cast = replay.steps.empty() ? nullptr : &replay.steps.back();
            if (cast == nullptr || !std::holds_alternative<Command::Cast>(cast->command) || cast->digest) {
                problem = at(name, lineNumber, "a digest comes right after its cast");
                return std::nullopt;
            }
            if (digest->shot != shotsOnBattlefield) {
                problem = at(name, lineNumber,
                             "the digest is of shot " + std::to_string(digest->shot) + ", the cast before it was shot "
                                 + std::to_string(shotsOnBattlefield));
                return std::nullopt;
            }
            cast->digest = digest->value;
            cast->digestLine = lineNumber;
            continue;
        }
        std::optional<ReplayFormat::Step> step = ReplayFormat::parseStep(line, why);
        if (!step) {
            problem = at(name, lineNumber, why);
            return std::nullopt;
        }
        if (step->tick < lastTick) {
            problem = at(name, lineNumber, "its tick is earlier than the line's before it");
            return std::nullopt;
        }
        const bool battlefield = std::holds_alternative<Command::Battlefield>(step->command);
        if (replay.steps.empty() && !battlefield) {
            problem = at(name, lineNumber, "a replay starts with a battlefield");
            return std::nullopt;
        }
        shotsOnBattlefield = battlefield ? 0 : shotsOnBattlefield;
        shotsOnBattlefield += std::holds_alternative<Command::Cast>(step->command) ? 1 : 0;
        lastTick = step->tick;
        replay.steps.push_back(ReplayStep{lineNumber, step->tick, std::move(step->command), std::nullopt, 0});
    }
    if (lineNumber < 2) {
        problem = name + ": the file ends inside its header";
        return std::nullopt;
    }
    if (replay.steps.empty()) {
        problem = name + ": holds no battlefield";
        return std::nullopt;
    }
    return replay;
}

} // namespace ReplayReader
