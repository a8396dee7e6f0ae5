// SPDX-License-Identifier: GPL-3.0-or-later
// The text overlay drawn over each frame in window pixels: the frame rate, one
// line per player and the spell, the console line being typed, the replay
// line and the credits; and the window's size, which every overlay lays out by.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "math/MovingAverage.h"

class Player;
class TimeSystem;
class ViewCharacters;

class ViewOverlay {
public:
    // clock: not owned; the view clock. characters: not owned; whose lines
    // are drawn. Both outlive the overlay.
    ViewOverlay(TimeSystem& clock, const ViewCharacters& characters);

    // The window's new size, in pixels.
    void reshape(int width, int height);
    int getWindowWidth() const;
    int getWindowHeight() const;
    // Switches to window pixels, y running down from the top edge, and back.
    void setOrthographicProjection() const;
    void resetPerspectiveProjection() const;

    void showFPS();
    void hideFPS();
    bool isShowingFPS() const;
    // Counts the frame and samples the frame rate once per clock second.
    void updateFrameCount();
    const MovingAverage& getFrameRate() const;
    // "FPS: 59.9 (60) TriangleCount: 5124".
    std::string frameRateLine() const;
    // "Player: Torva Murk(100) 30 15 4.5 (3, 6, 7)".
    std::string playerLine(int id, const Player& player) const;
    // The rectangle the player lines and the spell take, in window pixels
    // from the top left. The aids leave it clear.
    struct Box {
        int left;
        int top;
        int right;
        int bottom;
    };
    Box getPlayerLinesBox() const;

    // The console line as typed; true when that changed what is shown.
    bool editConsoleLine(const std::string& line);
    // A line sent closes the line being typed.
    void closeConsoleLine();
    const std::string& getConsoleCommand() const;
    bool isConsoleVisible() const;
    // A console line sent and what its handlers printed: the line itself
    // (">set wind 1 0 0") and every printed line but their echoes of it join
    // the console's window lines, "unknown command" when none took it.
    void addConsoleAnswers(const std::string& line, const std::vector<std::string>& printed, bool taken);
    // The newest CONSOLE_LINES of them, oldest first. They show above the
    // line being typed, and for ANSWER_SHOWN_FOR ticks after each answer.
    const std::deque<std::string>& getConsoleAnswers() const;
    bool areConsoleAnswersShown() const;
    static constexpr std::size_t CONSOLE_LINES = 8;
    static constexpr long ANSWER_SHOWN_FOR = 8000;
    // Where the console's lines and the line typed show, baselines in window
    // pixels from the top.
    static constexpr int CONSOLE_FIRST_BASELINE = 14;
    static constexpr int CONSOLE_LINE_SPACING = 16;

    // A line above the credits saying a replay plays and how far it has got;
    // "" hides it.
    void setReplayLine(const std::string& line);
    const std::string& getReplayLine() const;

    void displayFramePerSecond() const;
    void displayPlayerInfo() const;
    void displayConsole() const;
    void displayCredits() const;
    void displayReplayLine() const;

private:
    TimeSystem& clock;                // not owned
    const ViewCharacters& characters; // not owned
    int windowWidth;
    int windowHeight;
    bool showingFPS;
    MovingAverage frameRate;
    int frameCount;
    long lastFrameTick; // ticks of the view clock
    std::string consoleCommand;
    bool consoleVisible;
    std::deque<std::string> consoleAnswers;
    long lastAnswerTick; // ticks of the view clock
    std::string replayLine;
};
