// SPDX-License-Identifier: GPL-3.0-or-later
// Remembers the last game's set-up in an INI file read with inih. Whatever
// stands in the file, reading it costs at most one warning line.
#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include <ini.h>

#include "platform/XdgFolders.h"

namespace {

const char* const FIRST_LINE = "; Kestrune remembers the last game started from its set-up screen here.";
// The file the game writes is a few hundred bytes; a much larger one is not
// one of ours and is not read at all.
constexpr std::size_t MAX_FILE_SIZE = 64 * 1024;

std::string reason()
{
    return std::strerror(errno);
}

// A value as the file gives it, and the line it is on for the warning.
struct Given {
    std::string text;
    int line = 0;
};

// What the file says, before any of it is judged. A key given twice keeps
// the last; the sections may come in any order.
struct GivenSetup {
    std::optional<Given> players;
    std::optional<Given> wind;
    std::optional<Given> aimingHelp;
    std::optional<Given> width;
    std::optional<Given> depth;
    std::optional<Given> height;
    std::array<std::optional<Given>, MAX_SETUP_PLAYERS> kinds;
    std::array<std::optional<Given>, MAX_SETUP_PLAYERS> names;
};

// Line 0 for problems with the file as a whole.
struct Problem {
    int line = 0;
    std::string what;
};

void addProblem(std::vector<Problem>& problems, int line, const std::string& what)
{
    problems.push_back({line, line > 0 ? "line " + std::to_string(line) + ": " + what : what});
}

// Text from the file as a warning may show it: printable, and short.
std::string shown(const std::string& text)
{
    constexpr std::size_t LONGEST = 40;
    std::string shown;
    for (char c : text.substr(0, LONGEST)) {
        shown += c >= ' ' && c <= '~' ? c : '?';
    }
    return text.size() > LONGEST ? shown + "..." : shown;
}

void addProblem(std::vector<Problem>& problems, const Given& given, const std::string& key,
                const std::string& why)
{
    addProblem(problems, given.line, key + " \"" + shown(given.text) + "\" " + why);
}

// One warning line for all the problems, the first in the file named.
void report(std::ostream& err, const std::string& path, std::vector<Problem> problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    err << "kestrune: settings " << path << ": " << problems.front().what;
    if (problems.size() > 1) {
        err << "; " << problems.size() - 1 << " more";
    }
    err << "; using the defaults for what could not be read" << std::endl;
}

// "players = 3": digits with an optional sign, nothing else, fitting an int.
std::optional<int> readWhole(const std::string& text, bool& tooLarge)
{
    const std::size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    tooLarge = false;
    if (first == text.size() || text.find_first_not_of("0123456789", first) != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        tooLarge = true;
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<int> readWhole(const std::optional<Given>& given, const char* key,
                             std::vector<Problem>& problems)
{
    if (!given) {
        return std::nullopt;
    }
    bool tooLarge = false;
    const std::optional<int> value = readWhole(given->text, tooLarge);
    if (!value) {
        addProblem(problems, *given, key, tooLarge ? "is too large" : "is not a whole number");
    }
    return value;
}

void readWind(const Given& given, GameSetup& setup, std::vector<Problem>& problems)
{
    for (const char* on : {"true", "on", "yes"}) {
        if (given.text == on) {
            setup.wind = true;
            return;
        }
    }
    for (const char* off : {"false", "off", "no"}) {
        if (given.text == off) {
            setup.wind = false;
            return;
        }
    }
    addProblem(problems, given, "wind", "is not true or false");
}

void readAimingHelp(const Given& given, GameSetup& setup, std::vector<Problem>& problems)
{
    if (const std::optional<AimingHelp> help = parseAimingHelp(given.text)) {
        setup.aimingHelp = *help;
    } else {
        addProblem(problems, given, "aiming_help", "is not none, short or full");
    }
}

// A seat's kind: human, or the level of a computer.
void readKind(const Given& given, SeatSetup& seat, std::vector<Problem>& problems)
{
    if (given.text == "human") {
        seat.computer.reset();
    } else if (const std::optional<ComputerLevel> level = parseLevel(given.text)) {
        seat.computer = level;
    } else {
        addProblem(problems, given, "kind", "is not human, easy, normal or hard");
    }
}

// Empty, for a name drawn at random, or one nameProblem accepts.
void readName(const Given& given, SeatSetup& seat, std::vector<Problem>& problems)
{
    const std::string why = given.text.empty() ? "" : nameProblem(given.text);
    if (why.empty()) {
        seat.name = given.text;
    } else {
        addProblem(problems, given, "name", "refused: " + why);
    }
}

// The seat a section such as "player 3" stands for, from 0.
std::optional<int> seatOf(const std::string& section)
{
    const std::string prefix = "player ";
    if (section.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    bool tooLarge = false;
    const std::optional<int> number = readWhole(section.substr(prefix.size()), tooLarge);
    if (!number || *number < 1 || *number > MAX_SETUP_PLAYERS) {
        return std::nullopt;
    }
    return *number - 1;
}

// One pass of inih over the file's text. The lines come from here, so that
// each value is known with the line it is on, and so that every line inih
// passes over without a value can be asked about alone: inih itself tells
// only the first line it could not parse.
class Reading {
public:
    explicit Reading(const std::string& content) : content(content) {}

    void parse()
    {
        const int firstBad = ini_parse_stream(&Reading::nextLine, this, &Reading::take, this);
        if (firstBad > 0 && std::none_of(problems.begin(), problems.end(),
                                         [&](const Problem& p) { return p.line == firstBad; })) {
            addProblem(problems, firstBad, "cannot be read");
        }
    }

    GivenSetup given;
    std::vector<Problem> problems;

private:
    // inih's reader, as fgets: at most size - 1 bytes, up to a line's end.
    static char* nextLine(char* buffer, int size, void* stream)
    {
        Reading& reading = *static_cast<Reading*>(stream);
        reading.checkSilentLine();
        if (reading.offset >= reading.content.size() || size < 2) {
            return nullptr;
        }
        const std::size_t room = static_cast<std::size_t>(size) - 1;
        std::size_t end = reading.offset;
        while (end < reading.content.size() && end - reading.offset < room) {
            if (reading.content[end++] == '\n') {
                break;
            }
        }
        reading.line = reading.content.substr(reading.offset, end - reading.offset);
        std::memcpy(buffer, reading.line.data(), reading.line.size());
        buffer[reading.line.size()] = '\0';
        reading.offset = end;
        ++reading.lineNumber;
        reading.handled = false;
        return buffer;
    }

    // A line that gave no value is a comment, a blank, a section or a line
    // inih refused; it decides which when given that line alone. The empty
    // line before it keeps a byte-order mark from being skipped after line 1.
    void checkSilentLine()
    {
        if (lineNumber == 0 || handled) {
            return;
        }
        handled = true;
        const std::string alone = lineNumber == 1 ? line : "\n" + line;
        const auto ignore = [](void*, const char*, const char*, const char*) { return 1; };
        if (ini_parse_string(alone.c_str(), ignore, nullptr) != 0) {
            addProblem(problems, lineNumber, "not a [section] nor a key = value line");
        }
    }

    static int take(void* user, const char* section, const char* name, const char* value)
    {
        Reading& reading = *static_cast<Reading*>(user);
        reading.handled = true;
        reading.store(section, name, Given{value, reading.lineNumber});
        // Problems are counted here; inih need not know of them.
        return 1;
    }

    void store(const std::string& section, const std::string& key, const Given& value)
    {
        if (section != "game" && section != "battlefield" && !seatOf(section)) {
            // One problem for a section of any length.
            if (unknownSections.insert(section).second) {
                addProblem(problems, value.line,
                           section.empty() ? "a key before any [section]"
                                           : "unknown section [" + shown(section) + "]");
            }
        } else if (std::optional<Given>* slot = slotOf(section, key)) {
            *slot = value;
        } else {
            addProblem(problems, value.line, "unknown key " + shown(key) + " in [" + section + "]");
        }
    }

    std::optional<Given>* slotOf(const std::string& section, const std::string& key)
    {
        if (section == "game") {
            if (key == "players") {
                return &given.players;
            }
            if (key == "wind") {
                return &given.wind;
            }
            if (key == "aiming_help") {
                return &given.aimingHelp;
            }
        } else if (section == "battlefield") {
            if (key == "width") {
                return &given.width;
            }
            if (key == "depth") {
                return &given.depth;
            }
            if (key == "height") {
                return &given.height;
            }
        } else if (const std::optional<int> seat = seatOf(section)) {
            if (key == "kind") {
                return &given.kinds[*seat];
            }
            if (key == "name") {
                return &given.names[*seat];
            }
        }
        return nullptr;
    }

    const std::string& content;
    std::size_t offset = 0;
    std::string line;
    int lineNumber = 0;
    bool handled = true;
    std::set<std::string> unknownSections;
};

// The battlefield is judged whole, for the number of casters the file leaves:
// a refused one keeps all three sides of setup.
void applyBattlefield(const GivenSetup& given, int players, GameSetup& setup, std::vector<Problem>& problems)
{
    const std::optional<int> width = readWhole(given.width, "width", problems);
    const std::optional<int> depth = readWhole(given.depth, "depth", problems);
    const std::optional<int> height = readWhole(given.height, "height", problems);
    const int newWidth = width.value_or(setup.width);
    const int newDepth = depth.value_or(setup.depth);
    const int newHeight = height.value_or(setup.height);
    const std::string why = battlefieldProblem(newWidth, newDepth, newHeight, players);
    if (why.empty()) {
        setup.width = newWidth;
        setup.depth = newDepth;
        setup.height = newHeight;
        setup.players = players;
        return;
    }
    int line = INT_MAX;
    for (const std::optional<Given>* side : {&given.width, &given.depth, &given.height, &given.players}) {
        if (*side) {
            line = std::min(line, (*side)->line);
        }
    }
    std::ostringstream what;
    what << "a battlefield " << newWidth << " x " << newDepth << " x " << newHeight << " for " << players
         << " casters refused: " << why;
    addProblem(problems, line == INT_MAX ? 0 : line, what.str());
    // The casters alone may still fit the battlefield that stays.
    if (battlefieldProblem(setup.width, setup.depth, setup.height, players).empty()) {
        setup.players = players;
    }
}

void apply(const GivenSetup& given, GameSetup& setup, std::vector<Problem>& problems)
{
    int players = setup.players;
    if (const std::optional<int> count = readWhole(given.players, "players", problems)) {
        if (*count >= MIN_SETUP_PLAYERS && *count <= MAX_SETUP_PLAYERS) {
            players = *count;
        } else {
            addProblem(problems, *given.players, "players",
                       "is not from " + std::to_string(MIN_SETUP_PLAYERS) + " to "
                           + std::to_string(MAX_SETUP_PLAYERS));
        }
    }
    if (given.wind) {
        readWind(*given.wind, setup, problems);
    }
    if (given.aimingHelp) {
        readAimingHelp(*given.aimingHelp, setup, problems);
    }
    for (std::size_t seat = 0; seat < setup.seats.size(); ++seat) {
        if (given.kinds[seat]) {
            readKind(*given.kinds[seat], setup.seats[seat], problems);
        }
        if (given.names[seat]) {
            readName(*given.names[seat], setup.seats[seat], problems);
        }
    }
    applyBattlefield(given, players, setup, problems);
}

// The file's bytes, or the problem that kept them from being read. Only a
// regular file is opened, and without blocking, so that a FIFO swapped in
// after the stat cannot hang the game either.
std::optional<std::string> readContent(const std::string& path, std::vector<Problem>& problems)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        addProblem(problems, 0, "cannot be read (" + reason() + ")");
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        addProblem(problems, 0, "not a regular file");
        return std::nullopt;
    }
    if (static_cast<std::size_t>(status.st_size) > MAX_FILE_SIZE) {
        addProblem(problems, 0, "larger than " + std::to_string(MAX_FILE_SIZE) + " bytes");
        return std::nullopt;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        addProblem(problems, 0, "cannot be opened (" + reason() + ")");
        return std::nullopt;
    }
    std::string content;
    std::array<char, 4096> buffer{};
    std::string why;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "not a regular file";
    }
    while (why.empty()) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            why = "cannot be read (" + reason() + ")";
        } else if (count == 0) {
            break;
        } else if (content.size() + static_cast<std::size_t>(count) > MAX_FILE_SIZE) {
            why = "larger than " + std::to_string(MAX_FILE_SIZE) + " bytes";
        } else {
            content.append(buffer.data(), static_cast<std::size_t>(count));
        }
    }
    close(fd);
    if (!why.empty()) {
        addProblem(problems, 0, why);
        return std::nullopt;
    }
    if (content.empty()) {
        addProblem(problems, 0, "empty");
        return std::nullopt;
    }
    return content;
}

// Why the file could not give this set-up back the same, or empty.
std::string unwritable(const GameSetup& setup)
{
    if (setup.players < MIN_SETUP_PLAYERS || setup.players > MAX_SETUP_PLAYERS) {
        return std::to_string(setup.players) + " casters cannot play";
    }
    const std::string why = battlefieldProblem(setup.width, setup.depth, setup.height, setup.players);
    if (!why.empty()) {
        return "the battlefield is refused: " + why;
    }
    for (std::size_t seat = 0; seat < setup.seats.size(); ++seat) {
        const std::string& name = setup.seats[seat].name;
        const std::string player = "player " + std::to_string(seat + 1);
        // inih trims values: nameProblem refuses a blank at either end too.
        if (!name.empty() && !nameProblem(name).empty()) {
            return player + "'s name is refused: " + nameProblem(name);
        }
    }
    return "";
}

std::string settingsText(const GameSetup& setup)
{
    std::ostringstream text;
    text << FIRST_LINE << "\n"
         << "[game]\n"
         << "players = " << setup.players << "\n"
         << "wind = " << (setup.wind ? "true" : "false") << "\n"
         << "aiming_help = " << aimingHelpName(setup.aimingHelp) << "\n"
         << "[battlefield]\n"
         << "width = " << setup.width << "\n"
         << "depth = " << setup.depth << "\n"
         << "height = " << setup.height << "\n";
    for (std::size_t seat = 0; seat < setup.seats.size(); ++seat) {
        const SeatSetup& player = setup.seats[seat];
        text << "[player " << seat + 1 << "]\n"
             << "kind = " << (player.computer ? levelName(*player.computer) : "human") << "\n"
             << "name =" << (player.name.empty() ? "" : " " + player.name) << "\n";
    }
    return text.str();
}

std::pair<std::string, std::string> splitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// mkdir -p: a part that exists already is left for the next step to judge.
std::string makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            return "cannot make the folder " + part + " (" + reason() + ")";
        }
        if (slash == std::string::npos) {
            return "";
        }
    }
}

// The process's umask. It can only be read by setting it: the game makes no
// files on other threads meanwhile.
mode_t currentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Where the file's bytes live: a symbolic link at path is followed, link by
// link, so that the link stays and its target is rewritten. A link to
// nothing yet leads to where the file will be made.
std::string followLinks(std::string path, std::string& why)
{
    // As many links as the kernel itself follows before giving up (ELOOP).
    constexpr int MAX_LINKS = 40;
    for (int links = 0; links <= MAX_LINKS; ++links) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::array<char, PATH_MAX> target{};
        const ssize_t length = readlink(path.c_str(), target.data(), target.size() - 1);
        if (length < 0) {
            why = "cannot read the link " + path + " (" + reason() + ")";
            return path;
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = !next.empty() && next[0] == '/' ? next : splitPath(path).first + "/" + next;
    }
    why = "too many symbolic links";
    return path;
}

std::string writeAll(int fd, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return "cannot write the temporary file (" + reason() + ")";
        }
        written += static_cast<std::size_t>(count);
    }
    // mkstemp makes it 0600; settings are no secret, and the file gets the
    // mode a plain fopen would give it.
    if (fchmod(fd, 0666 & ~currentUmask()) != 0 || fsync(fd) != 0) {
        return "cannot finish the temporary file (" + reason() + ")";
    }
    return "";
}

// The new file is whole or absent: never a half-written one under the name.
std::string replaceAtomically(const std::string& path, const std::string& text)
{
    const auto [folder, name] = splitPath(path);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return "cannot make a temporary file in " + folder + " (" + reason() + ")";
    }
    std::string why = writeAll(fd, text);
    if (close(fd) != 0 && why.empty()) {
        why = "cannot close the temporary file (" + reason() + ")";
    }
    if (why.empty() && rename(temporary.c_str(), path.c_str()) != 0) {
        why = "cannot put the file in place (" + reason() + ")";
    }
    if (!why.empty()) {
        unlink(temporary.c_str());
        return why;
    }
    // The rename itself lasts only once the folder is synced; some file
    // systems cannot sync a folder, and the file is written either way.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return "";
}

} // namespace

std::string SettingsFile::defaultPath()
{
    const std::string folder = configFolder();
    return folder.empty() ? "" : folder + "/settings.ini";
}

SettingsFile::SettingsFile(std::string path) : path(std::move(path)) {}

const std::string& SettingsFile::getPath() const
{
    return path;
}

bool SettingsFile::read(GameSetup& setup, std::ostream& err) const
{
    if (path.empty()) {
        err << "kestrune: no place for settings (neither XDG_CONFIG_HOME nor HOME is set); using the defaults"
            << std::endl;
        return false;
    }
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 && errno == ENOENT) {
        err << "kestrune: no settings at " << path << " yet; using the defaults" << std::endl;
        return false;
    }
    std::vector<Problem> problems;
    if (const std::optional<std::string> content = readContent(path, problems)) {
        Reading reading(*content);
        reading.parse();
        problems = std::move(reading.problems);
        apply(reading.given, setup, problems);
    }
    if (!problems.empty()) {
        report(err, path, std::move(problems));
        return false;
    }
    return true;
}

bool SettingsFile::write(const GameSetup& setup, std::ostream& err) const
{
    std::string why = path.empty() ? "no place for settings (neither XDG_CONFIG_HOME nor HOME is set)"
                                   : unwritable(setup);
    if (why.empty()) {
        why = makeFolders(splitPath(path).first);
    }
    const std::string target = why.empty() ? followLinks(path, why) : path;
    if (why.empty()) {
        why = replaceAtomically(target, settingsText(setup));
    }
    if (!why.empty()) {
        err << "kestrune: cannot write settings " << path << ": " << why << std::endl;
        return false;
    }
    return true;
}
