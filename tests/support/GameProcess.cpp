// SPDX-License-Identifier: GPL-3.0-or-later
// The end-to-end harness: the real game in a child process, driven through the
// X server like a player would drive it.
#include "support/GameProcess.h"

#include <execinfo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <boost/regex.hpp>

namespace {

using Clock = std::chrono::steady_clock;

// A window that goes away between finding it and reading it is no reason to
// end the test process, which is what Xlib's own handler would do.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// A step that never returns would be ended by the test runner's time-out
// without a word. Well before that, the watchdog says where the test stood
// and how the game fared, then kills the game, which ends most waits.
constexpr unsigned int WATCHDOG_SECONDS = 240;
volatile sig_atomic_t watchedGame = 0;

void writeError(const char* text)
{
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void onWatchdog(int)
{
    writeError("end-to-end watchdog: the test has not finished a step for a long time; it stood at\n");
    std::array<void*, 32> frames{};
    backtrace_symbols_fd(frames.data(), backtrace(frames.data(), static_cast<int>(frames.size())), STDERR_FILENO);
    const pid_t game = watchedGame;
    if (game <= 0) {
        return;
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(game));
    const int status = open(path, O_RDONLY);
    if (status >= 0) {
        std::array<char, 4096> text{};
        const ssize_t got = read(status, text.data(), text.size() - 1);
        close(status);
        if (got > 0) {
            writeError("the game's status:\n");
            writeError(text.data());
        }
    }
    kill(game, SIGKILL);
}

void armWatchdog(pid_t game)
{
    struct sigaction action {};
    action.sa_handler = onWatchdog;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a blocked call returns to its loop
    sigaction(SIGALRM, &action, nullptr);
    watchedGame = game;
    alarm(WATCHDOG_SECONDS);
}

Display* xDisplay()
{
    static Display* display = [] {
        XSetErrorHandler(ignoreXError);
        return XOpenDisplay(nullptr);
    }();
    return display;
}

// The bits of a pixel a colour mask selects, as 0 to 255.
unsigned char channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const unsigned long maximum = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / maximum);
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

} // namespace

bool xdotool(const std::string& arguments, int seconds)
{
    return runCommand("timeout " + std::to_string(seconds) + " xdotool " + arguments + " >/dev/null 2>&1")
        .has_value();
}

std::optional<std::string> runCommand(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string output;
    std::array<char, 4096> buffer{};
    size_t count = 0;
    while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), count);
    }
    int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

std::optional<std::pair<int, int>> imageSize(const std::string& path)
{
    auto text = runCommand("identify -format '%w %h' " + shellQuote(path) + " 2>/dev/null");
    if (!text) {
        return std::nullopt;
    }
    std::istringstream in(*text);
    int width = 0;
    int height = 0;
    if (!(in >> width >> height)) {
        return std::nullopt;
    }
    return std::make_pair(width, height);
}

std::optional<Image> readImage(const std::string& path)
{
    auto data = runCommand("convert " + shellQuote(path) + " -depth 8 ppm:- 2>/dev/null");
    if (!data) {
        return std::nullopt;
    }
    std::istringstream in(*data);
    std::string magic;
    Image image;
    int maximum = 0;
    if (!(in >> magic >> image.width >> image.height >> maximum) || magic != "P6" || maximum != 255) {
        return std::nullopt;
    }
    in.get();
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
    if (!in) {
        return std::nullopt;
    }
    return image;
}

std::string artifactPath(const std::string& fileName)
{
    std::string folder = std::string(KESTRUNE_BUILD_DIR) + "/artifacts";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + fileName;
}

GameProcess::GameProcess(std::vector<std::string> arguments, std::string workingDirectory,
                         std::vector<std::string> environment, std::string binary)
{
    if (binary.empty()) {
        binary = KESTRUNE_BINARY;
    }
    if (workingDirectory.empty()) {
        workingDirectory = KESTRUNE_SOURCE_DIR;
    }
    int outputPipe[2];
    int errorPipe[2];
    if (pipe(outputPipe) != 0 || pipe(errorPipe) != 0) {
        return;
    }
    std::vector<std::string> argumentStore;
    argumentStore.push_back(binary);
    // The tester's own remembered set-up stays out of the tests, unless a
    // test gives the game a settings folder of its own. First, so that an
    // option the test gives last stays last; only for the game itself.
    const bool ownSettings = std::any_of(environment.begin(), environment.end(), [](const std::string& change) {
        return change.rfind("XDG_CONFIG_HOME=", 0) == 0;
    });
    const std::size_t slash = binary.rfind('/');
    const bool isGame = binary.substr(slash == std::string::npos ? 0 : slash + 1) == "kestrune";
    if (isGame && !ownSettings) {
        argumentStore.push_back("--no-settings");
    }
    argumentStore.insert(argumentStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStore) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    pid = fork();
    if (pid == 0) {
        dup2(outputPipe[1], STDOUT_FILENO);
        dup2(errorPipe[1], STDERR_FILENO);
        close(outputPipe[0]);
        close(outputPipe[1]);
        close(errorPipe[0]);
        close(errorPipe[1]);
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(126);
        }
        setenv("LP_NUM_THREADS", "0", 1);
        // A sound device that hears nothing, the same on every machine.
        setenv("ALSOFT_DRIVERS", "null", 1);
        // The games record their replays as a player's do, but under the
        // build tree rather than in the tester's home.
        setenv("XDG_STATE_HOME", KESTRUNE_BUILD_DIR "/e2e-state", 1);
        for (const std::string& change : environment) {
            const std::size_t equals = change.find('=');
            if (equals == std::string::npos) {
                unsetenv(change.c_str());
            } else {
                setenv(change.substr(0, equals).c_str(), change.substr(equals + 1).c_str(), 1);
            }
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outputPipe[1]);
    close(errorPipe[1]);
    outputFd = outputPipe[0];
    errorFd = errorPipe[0];
    fcntl(outputFd, F_SETFL, O_NONBLOCK);
    fcntl(errorFd, F_SETFL, O_NONBLOCK);
    armWatchdog(pid);
}

GameProcess::~GameProcess()
{
    if (watchedGame == pid) {
        alarm(0);
        watchedGame = 0;
    }
    if (running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (outputFd >= 0) {
        close(outputFd);
    }
    if (errorFd >= 0) {
        close(errorFd);
    }
}

void GameProcess::pump(std::chrono::milliseconds wait)
{
    std::array<pollfd, 2> fds{};
    int count = 0;
    for (int fd : {outputFd, errorFd}) {
        if (fd >= 0) {
            fds[count].fd = fd;
            fds[count].events = POLLIN;
            ++count;
        }
    }
    if (count == 0) {
        std::this_thread::sleep_for(wait);
        return;
    }
    // poll waits for ever on a negative time-out: a wait already over is none.
    poll(fds.data(), static_cast<nfds_t>(count), static_cast<int>(std::max<long long>(wait.count(), 0)));
    std::array<char, 4096> buffer{};
    // A game that writes without end must not keep the test reading.
    constexpr std::size_t MOST_PER_LOOK = 1 << 20;
    for (int* fd : {&outputFd, &errorFd}) {
        for (std::size_t taken = 0; *fd >= 0 && taken < MOST_PER_LOOK;) {
            ssize_t got = read(*fd, buffer.data(), buffer.size());
            if (got > 0) {
                taken += static_cast<std::size_t>(got);
                if (fd == &outputFd) {
                    outputPartial.append(buffer.data(), static_cast<std::size_t>(got));
                } else {
                    errorBuffer.append(buffer.data(), static_cast<std::size_t>(got));
                }
                continue;
            }
            if (got == 0) {
                close(*fd);
                *fd = -1;
            }
            break;
        }
    }
    std::size_t end = 0;
    while ((end = outputPartial.find('\n')) != std::string::npos) {
        lines.push_back(outputPartial.substr(0, end));
        outputPartial.erase(0, end + 1);
    }
}

bool GameProcess::waitForLine(const std::string& line, std::chrono::seconds timeout)
{
    auto deadline = Clock::now() + timeout;
    for (;;) {
        for (; nextLine < lines.size(); ++nextLine) {
            if (lines[nextLine] == line) {
                ++nextLine;
                return true;
            }
        }
        if (Clock::now() >= deadline || (outputFd < 0 && !running())) {
            return false;
        }
        pump(std::chrono::milliseconds(50));
    }
}

std::optional<std::string> GameProcess::waitForMatch(const std::string& pattern,
                                                     std::chrono::seconds timeout)
{
    boost::regex expression(pattern);
    auto deadline = Clock::now() + timeout;
    for (;;) {
        for (; nextLine < lines.size(); ++nextLine) {
            if (boost::regex_match(lines[nextLine], expression)) {
                return lines[nextLine++];
            }
        }
        if (Clock::now() >= deadline || (outputFd < 0 && !running())) {
            return std::nullopt;
        }
        pump(std::chrono::milliseconds(50));
    }
}

void GameProcess::pause(std::chrono::milliseconds wait)
{
    const auto end = Clock::now() + wait;
    // The time left from the same reading of the clock that found some left:
    // a test preempted between two readings would otherwise ask for less
    // than none.
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        pump(std::chrono::ceil<std::chrono::milliseconds>(end - now));
    }
}

const std::vector<std::string>& GameProcess::outputLines()
{
    pump(std::chrono::milliseconds(0));
    return lines;
}

std::string GameProcess::errorText()
{
    pump(std::chrono::milliseconds(0));
    return errorBuffer;
}

std::string GameProcess::window()
{
    if (windowId.empty()) {
        auto found = runCommand("timeout " + std::to_string(E2E_TIMEOUT.count())
                                + " xdotool search --sync --onlyvisible --name '^Kestrune$' 2>/dev/null");
        if (!found) {
            return "";
        }
        // The newest window is listed last (a window of a game that has just
        // ended may linger for a moment).
        // Another game's window may be all there is yet: look again.
        const auto appears = Clock::now() + E2E_TIMEOUT;
        while (found && windowId.empty() && Clock::now() < appears) {
            std::istringstream in(*found);
            for (std::string id; in >> id;) {
                if (std::find(ignoredWindows.begin(), ignoredWindows.end(), id) == ignoredWindows.end()) {
                    windowId = id;
                }
            }
            if (windowId.empty()) {
                pump(std::chrono::milliseconds(100));
                found = runCommand("xdotool search --onlyvisible --name '^Kestrune$' 2>/dev/null");
            }
        }
        // The keyboard focus, once: there is no window manager to give it.
        // The pointer is left alone, since the game reads its motion.
        auto deadline = Clock::now() + E2E_TIMEOUT;
        while (!windowId.empty() && Clock::now() < deadline) {
            xdotool("windowfocus --sync " + windowId);
            auto focused = runCommand("timeout 10 xdotool getwindowfocus 2>/dev/null");
            if (focused && std::atol(focused->c_str()) == std::atol(windowId.c_str())) {
                break;
            }
            pump(std::chrono::milliseconds(100));
        }
    }
    return windowId;
}

void GameProcess::ignoreWindow(const std::string& id)
{
    ignoredWindows.push_back(id);
}

bool GameProcess::focus()
{
    return !window().empty() && xdotool("windowfocus --sync " + windowId);
}

void GameProcess::signal(int number)
{
    if (running()) {
        kill(pid, number);
    }
}

bool GameProcess::key(const std::string& keysym)
{
    return !window().empty() && xdotool("key " + shellQuote(keysym));
}

bool GameProcess::keyDown(const std::string& keysym)
{
    return !window().empty() && xdotool("keydown " + shellQuote(keysym));
}

bool GameProcess::keyUp(const std::string& keysym)
{
    return !window().empty() && xdotool("keyup " + shellQuote(keysym));
}

bool GameProcess::type(const std::string& text)
{
    return !window().empty() && xdotool("type --delay 20 " + shellQuote(text), 10 + static_cast<int>(text.size()) / 10);
}

std::optional<std::array<int, 4>> GameProcess::windowGeometry()
{
    std::string id = window();
    if (id.empty()) {
        return std::nullopt;
    }
    auto text = runCommand("timeout 10 xdotool getwindowgeometry --shell " + id);
    if (!text) {
        return std::nullopt;
    }
    std::array<int, 4> geometry{-1, -1, -1, -1};
    std::istringstream in(*text);
    std::string line;
    const char* names[] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    while (std::getline(in, line)) {
        for (int i = 0; i < 4; ++i) {
            if (line.rfind(names[i], 0) == 0) {
                geometry[i] = std::atoi(line.c_str() + std::strlen(names[i]));
            }
        }
    }
    return geometry;
}

bool GameProcess::moveMouse(int x, int y)
{
    std::string id = window();
    return !id.empty()
           && xdotool("mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y));
}

bool GameProcess::screenshot(const std::string& path)
{
    std::string id = window();
    return !id.empty()
           && runCommand("import -window " + id + " " + shellQuote(path) + " >/dev/null 2>&1")
                  .has_value();
}

bool GameProcess::running()
{
    if (pid <= 0 || exitStatus || signalled) {
        return false;
    }
    int status = 0;
    pid_t result = waitpid(pid, &status, WNOHANG);
    if (result == 0) {
        return true;
    }
    if (result == pid) {
        if (WIFEXITED(status)) {
            exitStatus = WEXITSTATUS(status);
        } else {
            signalled = true;
        }
    }
    return false;
}

std::optional<int> GameProcess::waitForExit(std::chrono::seconds timeout)
{
    auto deadline = Clock::now() + timeout;
    while (running()) {
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        pump(std::chrono::milliseconds(20));
    }
    // Collect what was written before the end.
    while (outputFd >= 0 || errorFd >= 0) {
        pump(std::chrono::milliseconds(20));
        if (Clock::now() >= deadline) {
            break;
        }
    }
#ifdef KESTRUNE_SANITIZE
    forgiveLeakCheckerCrash();
#endif
    return exitStatus;
}

void GameProcess::forgiveLeakCheckerCrash()
{
    // The leak checker's own stop-the-world pass now and then crashes at the
    // end of a process that used the GL driver ("Tracer caught signal"), and
    // the process then ends with status 1. When that crash is all the
    // sanitizers said, the game's own exit was clean.
    const std::size_t crash = errorBuffer.find("Tracer caught signal");
    if (exitStatus != 1 || crash == std::string::npos
        || errorBuffer.find("LeakSanitizer has encountered a fatal error") == std::string::npos
        || errorBuffer.find("ERROR: AddressSanitizer") != std::string::npos
        || errorBuffer.find("ERROR: LeakSanitizer") != std::string::npos
        || errorBuffer.find("runtime error:") != std::string::npos) {
        return;
    }
    std::cerr << "The leak checker crashed at the end of the game; its exit counts as clean:\n"
              << errorBuffer.substr(crash) << std::flush;
    errorBuffer.erase(errorBuffer.rfind('\n', crash) == std::string::npos ? 0 : errorBuffer.rfind('\n', crash) + 1);
    exitStatus = 0;
}

bool GameProcess::closeWindow()
{
    const std::string id = window();
    Display* display = xDisplay();
    if (id.empty() || display == nullptr) {
        return false;
    }
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = std::strtoul(id.c_str(), nullptr, 10);
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, close.xclient.window, False, NoEventMask, &close) != 0;
    XFlush(display);
    return sent;
}

std::optional<Image> GameProcess::grab(int x, int y, int width, int height)
{
    const std::string id = window();
    Display* display = xDisplay();
    if (id.empty() || display == nullptr) {
        return std::nullopt;
    }
    const Window xWindow = std::strtoul(id.c_str(), nullptr, 10);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, xWindow, &attributes) == 0) {
        return std::nullopt;
    }
    width = width > 0 ? std::min(width, attributes.width - x) : attributes.width - x;
    height = height > 0 ? std::min(height, attributes.height - y) : attributes.height - y;
    // The X server hands out only what is on the screen: a window that
    // reaches past its edge is read up to the edge.
    int screenX = 0;
    int screenY = 0;
    Window child = 0;
    XTranslateCoordinates(display, xWindow, attributes.root, 0, 0, &screenX, &screenY, &child);
    width = std::min(width, WidthOfScreen(attributes.screen) - screenX - x);
    height = std::min(height, HeightOfScreen(attributes.screen) - screenY - y);
    if (x < 0 || y < 0 || screenX + x < 0 || screenY + y < 0 || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    XImage* picture = XGetImage(display, xWindow, x, y, static_cast<unsigned int>(width),
                                static_cast<unsigned int>(height), AllPlanes, ZPixmap);
    if (picture == nullptr) {
        return std::nullopt;
    }
    Image image;
    image.width = width;
    image.height = height;
    image.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(picture, column, row);
            image.rgb.push_back(channel(pixel, picture->red_mask));
            image.rgb.push_back(channel(pixel, picture->green_mask));
            image.rgb.push_back(channel(pixel, picture->blue_mask));
        }
    }
    XDestroyImage(picture);
    return image;
}

std::optional<long> GameProcess::residentKilobytes() const
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return std::nullopt;
}
