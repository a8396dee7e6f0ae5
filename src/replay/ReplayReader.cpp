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

// The lines of one replay's text read in order, with what the later lines are
// checked against: the last tick and the shots on the current battlefield.
class ReplayParser {
public:
    ReplayParser(const std::string& name, std::string& problem)
        : name(name)
        , problem(problem)
    {
        replay.name = name;
    }

    // The next whole line of the text from start, within the line bounds.
    bool takeLine(std::string_view text, std::size_t& start, std::string_view& line)
    {
        ++lineNumber;
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            return fail("the line is cut short (the file ends before its end)");
        }
        line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > MAX_REPLAY_LINE) {
            return fail("longer than a replay's lines can be");
        }
        if (firstBadByte(line) != std::string_view::npos) {
            return fail("holds a byte that is not printable text");
        }
        return true;
    }

    // The two header lines, then digests and steps.
    bool readLine(std::string_view line)
    {
        why.clear();
        if (lineNumber == 1) {
            return check(ReplayFormat::parseHeader(line, why).has_value());
        }
        if (lineNumber == 2) {
            const std::optional<std::string> version = ReplayFormat::parseGameVersion(line, why);
            replay.gameVersion = version.value_or("");
            return check(version.has_value());
        }
        return ReplayFormat::isDigestLine(line) ? readDigest(line) : readStep(line);
    }

    // The replay once every line is read, or nothing when it is not whole.
    std::optional<Replay> finish()
    {
        if (lineNumber < 2) {
            problem = name + ": the file ends inside its header";
            return std::nullopt;
        }
        if (replay.steps.empty()) {
            problem = name + ": holds no battlefield";
            return std::nullopt;
        }
        return std::move(replay);
    }

private:
    bool fail(const std::string& what)
    {
        problem = at(name, lineNumber, what);
        return false;
    }

    // A line the format read, or the format's reason for refusing it.
    bool check(bool read) { return read || fail(why); }

    // A digest belongs to the cast right before it, numbered as that shot.
    bool readDigest(std::string_view line)
    {
        const std::optional<ReplayFormat::Digest> digest = ReplayFormat::parseDigest(line, why);
        if (!check(digest.has_value())) {
            return false;
        }
        ReplayStep* cast = replay.steps.empty() ? nullptr : &replay.steps.back();
        if (cast == nullptr || !std::holds_alternative<Command::Cast>(cast->command) || cast->digest) {
            return fail("a digest comes right after its cast");
        }
        if (digest->shot != shotsOnBattlefield) {
            return fail("the digest is of shot " + std::to_string(digest->shot) + ", the cast before it was shot "
                        + std::to_string(shotsOnBattlefield));
        }
        cast->digest = digest->value;
        cast->digestLine = lineNumber;
        return true;
    }

    // Steps come in the order of their ticks, the first one a battlefield.
    bool readStep(std::string_view line)
    {
        std::optional<ReplayFormat::Step> step = ReplayFormat::parseStep(line, why);
        if (!check(step.has_value())) {
            return false;
        }
        if (step->tick < lastTick) {
            return fail("its tick is earlier than the line's before it");
        }
        const bool battlefield = std::holds_alternative<Command::Battlefield>(step->command);
        if (replay.steps.empty() && !battlefield) {
            return fail("a replay starts with a battlefield");
        }
        shotsOnBattlefield = battlefield ? 0 : shotsOnBattlefield;
        shotsOnBattlefield += std::holds_alternative<Command::Cast>(step->command) ? 1 : 0;
        lastTick = step->tick;
        replay.steps.push_back(ReplayStep{lineNumber, step->tick, std::move(step->command), std::nullopt, 0});
        return true;
    }

    const std::string& name;
    std::string& problem; // not owned: the caller's
    Replay replay;
    std::string why; // what the format says is wrong with the current line
    int lineNumber = 0;
    long lastTick = 0;
    int shotsOnBattlefield = 0;
};

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
    ReplayParser parser(name, problem);
    std::size_t start = 0;
    while (start < text.size()) {
        std::string_view line;
        if (!parser.takeLine(text, start, line) || !parser.readLine(line)) {
            return std::nullopt;
        }
    }
    return parser.finish();
}

} // namespace ReplayReader
