// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real game binary for end-to-end tests: reads its standard output
// line by line, finds its window, sends it keys and pointer moves through
// xdotool, takes screenshots and collects its exit status. Every wait has a
// time-out; nothing waits for a fixed time.
#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Generous: software rendering on a loaded two-core machine can be slow.
constexpr std::chrono::seconds E2E_TIMEOUT{30};

// An image's pixels, RGB rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // How many pixels satisfy the test.
    template <typename Test>
    int count(Test test) const
    {
        int matching = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
            matching += test(rgb[i], rgb[i + 1], rgb[i + 2]) ? 1 : 0;
        }
        return matching;
    }
};

class GameProcess {
public:
    // Starts the game (KESTRUNE_BINARY unless binary is given) with the
    // arguments in workingDirectory (the source tree when empty, so that ./res
    // is found), with the environment changed by environment ("NAME=value"
    // sets, "NAME" alone removes). Rendering stays on one thread so that the
    // game and the test do not starve each other, and the sound goes to
    // OpenAL's null device unless the environment names ALSOFT_DRIVERS. Unless
    // the environment names an XDG_CONFIG_HOME, the game starts with
    // --no-settings; its replays go under the build tree unless it names an
    // XDG_STATE_HOME.
    explicit GameProcess(std::vector<std::string> arguments = {}, std::string workingDirectory = "",
                         std::vector<std::string> environment = {}, std::string binary = "");
    // Kills the game if it still runs.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits until the game has written exactly this line; lines before it
    // that were already matched by earlier waits are not looked at again.
    bool waitForLine(const std::string& line, std::chrono::seconds timeout = E2E_TIMEOUT);
    // The same for the first later line that matches the whole pattern.
    std::optional<std::string> waitForMatch(const std::string& pattern,
                                            std::chrono::seconds timeout = E2E_TIMEOUT);

    // Reads the game's output for a while: the pause between two looks at
    // its window, so that looking does not take the cores from the game.
    void pause(std::chrono::milliseconds wait);

    // Every line of standard output so far, and the standard error text.
    const std::vector<std::string>& outputLines();
    std::string errorText();

    // The X id of the window titled "Kestrune", waiting for it to appear; it
    // gets the keyboard focus the first time.
    std::string window();
    // A window of another game on the same display, never taken for this
    // game's own.
    void ignoreWindow(const std::string& id);
    // Gives this game's window the keyboard focus (another game's window
    // may have it).
    bool focus();
    // Sends the game a signal (SIGTERM, SIGKILL...).
    void signal(int number);
    // Taps a key by X keysym name ("Escape", "Return", "w", "grave"). Two
    // taps of one key within one frame of the game act once, and game keys
    // of one frame act in the order of their codes: a test waits for the
    // game's answer to a key before it sends the next.
    bool key(const std::string& keysym);
    bool keyDown(const std::string& keysym);
    bool keyUp(const std::string& keysym);
    // Types text key by key into the console, which takes every press in the
    // order it came, however long the game's frames are.
    bool type(const std::string& text);
    // Position and size of the window on the screen: x, y, width, height.
    std::optional<std::array<int, 4>> windowGeometry();
    // Moves the pointer to a point of the window.
    bool moveMouse(int x, int y);
    // Asks the window to close, as a window manager's close box does.
    bool closeWindow();
    // Saves the window as a PNG file.
    bool screenshot(const std::string& path);
    // The window's pixels as the X server has them now, or a rectangle of
    // them (a width or height of 0 reaches to the window's edge); read in
    // this process, so that a test can look at every frame it needs to.
    std::optional<Image> grab(int x = 0, int y = 0, int width = 0, int height = 0);

    // Waits for the game to end: its exit status, or nullopt on a time-out
    // or when it died by a signal. In a sanitizer build, a crash of the leak
    // checker itself at the very end, with no report of any sanitizer, counts
    // as the clean exit it followed.
    std::optional<int> waitForExit(std::chrono::seconds timeout = E2E_TIMEOUT);
    bool running();
    // The game's resident memory in kilobytes, as the kernel counts it now.
    std::optional<long> residentKilobytes() const;

private:
    void pump(std::chrono::milliseconds wait);
    void forgiveLeakCheckerCrash();

    pid_t pid = -1;
    int outputFd = -1;
    int errorFd = -1;
    std::string outputPartial;
    std::string errorBuffer;
    std::vector<std::string> lines;
    std::size_t nextLine = 0;
    std::string windowId;
    std::vector<std::string> ignoredWindows;
    std::optional<int> exitStatus;
    bool signalled = false;
};

// Runs a shell command and returns its standard output, or nullopt when it
// fails.
std::optional<std::string> runCommand(const std::string& command);

// Runs xdotool with the arguments, for at most the given seconds; true when
// it succeeded.
bool xdotool(const std::string& arguments, int seconds = 10);

// Width and height of a PNG file, by ImageMagick's identify.
std::optional<std::pair<int, int>> imageSize(const std::string& path);


std::optional<Image> readImage(const std::string& path);

// A folder under the build tree for pictures that people may want to look at.
std::string artifactPath(const std::string& fileName);
