// SPDX-License-Identifier: GPL-3.0-or-later
// The text overlay drawn over each frame in window pixels: the frame rate, one
// line per player and the spell, the console line being typed, the replay
// line and the credits; and the window's size, which every overlay lays out by.
#pragma once

#include <deque>
#include <optional>
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

    // --- What the players say, what the game tells them, the wait and the
    // turn's last seconds (ViewOverlayMessages.cpp) ---

    // A line a player said, shown as "NAME: TEXT" for MESSAGE_SHOWN_FOR ticks
    // in the lower left, over a dark band above the key hint. UTF-8.
    void addChatLine(const std::string& name, const std::string& text);
    // A line of the game's own ("Ada has gone; a computer plays her seat"),
    // shown the same way in a colour of its own.
    void addNotice(const std::string& text);
    // The newest MESSAGE_LINES lines still shown, oldest first: "NAME: TEXT"
    // or the notice; a line longer than the window wraps onto further rows.
    std::vector<std::string> getShownMessages() const;
    static constexpr std::size_t MESSAGE_LINES = 5;
    static constexpr long MESSAGE_SHOWN_FOR = 8000;
    // Big and centred on a dark band while not empty ("Waiting for 2 players
    // — 192.168.1.5:27415"); "" hides it. Its long dash is drawn as a line.
    void setWaitingLine(const std::string& text);
    const std::string& getWaitingLine() const;
    // Milliseconds left in the turn, or nothing when no turn clock runs; the
    // last COUNTDOWN_FROM of them are counted down in whole seconds near the
    // top centre, red under COUNTDOWN_RED_UNDER.
    void setTurnCountdown(std::optional<long> milliseconds);
    std::optional<long> getTurnCountdown() const;
    static constexpr long COUNTDOWN_FROM = 10000;
    static constexpr long COUNTDOWN_RED_UNDER = 4000;
    // The pixel a countdown is drawn around, from the top left.
    struct Point {
        int x;
        int y;
    };
    Point getCountdownCentre() const;

    void displayFramePerSecond() const;
    void displayPlayerInfo() const;
    void displayConsole() const;
    void displayCredits() const;
    void displayReplayLine() const;
    void displayMessages() const;
    void displayWaitingLine() const;
    void displayTurnCountdown() const;

private:
    struct Message {
        std::string name; // "" for a notice
        std::string text;
        long tick; // ticks of the view clock when it came
    };
    // The rows the shown messages take, oldest first, at most MESSAGE_ROWS.
    static constexpr std::size_t MESSAGE_ROWS = 8;
    struct MessageRow {
        std::string text;
        std::size_t nameLength; // characters of "NAME:" on a chat line's first row, else 0
        bool notice;
    };
    std::vector<MessageRow> messageRows() const;
    void addMessage(Message message);

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
    std::deque<Message> messages; // the newest MESSAGE_LINES
    std::string waitingLine;
    std::optional<long> turnCountdown; // milliseconds
};
