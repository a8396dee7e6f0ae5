// SPDX-License-Identifier: GPL-3.0-or-later
// The text overlay drawn over each frame in window pixels: frame rate, one line
// per player, the spell, the console line and the credits.
#include "view/ViewOverlay.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <sstream>

#include "math/TimeSystem.h"
#include "model/Player.h"
#include "scene/graphicnode.h"
#include "view/BitmapText.h"
#include "view/OverlayDrawState.h"
#include "view/ViewCharacters.h"

namespace {

const char* const CREDITS =
    "Kestrune 2006-04-07 - an artillery duel of spell-casters, by the Kestrune developers";

constexpr int FRAME_RATE_SAMPLES = 10;
// Pixels, from the top-left corner of the window.
constexpr int LINE_LEFT = 5;
constexpr int CONSOLE_LINE = 10;
constexpr int FRAME_RATE_LINE = 30;
constexpr int FIRST_PLAYER_LINE = 70;
constexpr int LINE_SPACING = 20;
// Of the 8 x 13 font.
constexpr int GLYPH_WIDTH = 8;

} // namespace

ViewOverlay::ViewOverlay(TimeSystem& clock, const ViewCharacters& characters)
    : clock(clock),
      characters(characters),
      windowWidth(0),
      windowHeight(0),
      showingFPS(false),
      frameRate(FRAME_RATE_SAMPLES),
      frameCount(0),
      lastFrameTick(0),
      consoleVisible(false),
      lastAnswerTick(0)
{
}

void ViewOverlay::reshape(int width, int height)
{
    windowWidth = width;
    windowHeight = height;
}

int ViewOverlay::getWindowWidth() const
{
    return windowWidth;
}

int ViewOverlay::getWindowHeight() const
{
    return windowHeight;
}

void ViewOverlay::setOrthographicProjection() const
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, 0, windowHeight);
    // y runs down the window from its top edge.
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(0.0f, static_cast<float>(-windowHeight), 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

void ViewOverlay::resetPerspectiveProjection() const
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void ViewOverlay::showFPS()
{
    showingFPS = true;
}

void ViewOverlay::hideFPS()
{
    showingFPS = false;
}

bool ViewOverlay::isShowingFPS() const
{
    return showingFPS;
}

void ViewOverlay::updateFrameCount()
{
    ++frameCount;
    while (clock.getTick() > lastFrameTick + 1000) {
        frameRate.add(frameCount);
        frameCount = 0;
        lastFrameTick += 1000;
    }
}

const MovingAverage& ViewOverlay::getFrameRate() const
{
    return frameRate;
}

std::string ViewOverlay::frameRateLine() const
{
    const double newest = frameRate.getValues().empty() ? 0.0 : frameRate.getValues().back();
    std::ostringstream line;
    line << "FPS: " << frameRate.getAverage() << " (" << newest << ") "
         << "TriangleCount: " << GraphicNode::getTriangleCount();
    return line.str();
}

std::string ViewOverlay::playerLine(int id, const Player& player) const
{
    // A player whose aim has not come yet shows zeros.
    const ViewCannon cannon = characters.getCannon(id);
    std::ostringstream line;
    line << "Player: " << player.getName() << "(" << player.getHp() << ") " << cannon.yaw << " " << cannon.pitch
         << " " << cannon.power << " " << player.getPosition();
    return line.str();
}

ViewOverlay::Box ViewOverlay::getPlayerLinesBox() const
{
    const std::map<int, std::string>& notes = characters.getPlayerNotes();
    std::size_t widest = ("Weapon: " + characters.getWeapon()).size();
    for (const auto& [id, player] : characters.getPlayers()) {
        // A note follows two blanks after its line, in brackets.
        const auto note = notes.find(id);
        const std::size_t noteWidth = note != notes.end() && !note->second.empty() ? note->second.size() + 4 : 0;
        widest = std::max(widest, playerLine(id, *player).size() + noteWidth);
    }
    // From the first line's cap height to the spell's descent.
    const int rows = static_cast<int>(characters.getPlayers().size());
    return {LINE_LEFT, FIRST_PLAYER_LINE - 13, LINE_LEFT + GLYPH_WIDTH * static_cast<int>(widest),
            FIRST_PLAYER_LINE + LINE_SPACING * rows + 3};
}

bool ViewOverlay::editConsoleLine(const std::string& line)
{
    const bool changed = !consoleVisible || consoleCommand != ">" + line;
    consoleCommand = ">" + line;
    consoleVisible = true;
    return changed;
}

void ViewOverlay::closeConsoleLine()
{
    consoleVisible = false;
}

const std::string& ViewOverlay::getConsoleCommand() const
{
    return consoleCommand;
}

bool ViewOverlay::isConsoleVisible() const
{
    return consoleVisible;
}

void ViewOverlay::addConsoleAnswers(const std::string& line, const std::vector<std::string>& printed, bool taken)
{
    if (line.find_first_not_of(" \t") == std::string::npos) {
        return;
    }
    std::vector<std::string> shown{">" + line};
    for (const std::string& answer : printed) {
        // Each handler echoes the line after its name ("Model: set wind");
        // the window shows the line once.
        const std::size_t colon = answer.find(": ");
        const bool echo = colon != std::string::npos && answer.find(' ') == colon + 1
                       && answer.compare(colon + 2, std::string::npos, line) == 0;
        if (!echo) {
            shown.push_back(answer);
        }
    }
    if (!taken) {
        shown.push_back("unknown command");
    }
    for (std::string& answer : shown) {
        consoleAnswers.push_back(std::move(answer));
        if (consoleAnswers.size() > CONSOLE_LINES) {
            consoleAnswers.pop_front();
        }
    }
    lastAnswerTick = clock.getTick();
}

const std::deque<std::string>& ViewOverlay::getConsoleAnswers() const
{
    return consoleAnswers;
}

bool ViewOverlay::areConsoleAnswersShown() const
{
    return !consoleAnswers.empty() && (consoleVisible || clock.getTick() - lastAnswerTick < ANSWER_SHOWN_FOR);
}

void ViewOverlay::setReplayLine(const std::string& line)
{
    replayLine = line;
}

const std::string& ViewOverlay::getReplayLine() const
{
    return replayLine;
}

void ViewOverlay::displayFramePerSecond() const
{
    if (!showingFPS) {
        return;
    }
    glColor3f(1.0f, 0.0f, 0.0f);
    BitmapText::draw(LINE_LEFT, FRAME_RATE_LINE, 0, GLUT_BITMAP_8_BY_13, frameRateLine().c_str());
}

void ViewOverlay::displayPlayerInfo() const
{
    int row = 0;
    const std::map<int, std::string>& notes = characters.getPlayerNotes();
    for (const auto& [id, player] : characters.getPlayers()) {
        if (id == characters.getCurrentPlayer()) {
            glColor3f(0.75f, 0.75f, 0.0f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        const std::string line = playerLine(id, *player);
        const float baseline = static_cast<float>(FIRST_PLAYER_LINE + LINE_SPACING * row);
        BitmapText::draw(LINE_LEFT, baseline, 0, GLUT_BITMAP_8_BY_13, line.c_str());
        const auto note = notes.find(id);
        if (note != notes.end() && !note->second.empty()) {
            glColor3f(0.4f, 0.8f, 1.0f);
            const std::string marked = "[" + note->second + "]";
            BitmapText::draw(static_cast<float>(LINE_LEFT + GLYPH_WIDTH * (line.size() + 2)), baseline, 0,
                             GLUT_BITMAP_8_BY_13, marked.c_str());
        }
        ++row;
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    const std::string line = "Weapon: " + characters.getWeapon();
    BitmapText::draw(LINE_LEFT, static_cast<float>(FIRST_PLAYER_LINE + LINE_SPACING * row), 0, GLUT_BITMAP_8_BY_13,
                     line.c_str());
}

void ViewOverlay::displayConsole() const
{
    const bool answers = areConsoleAnswersShown();
    if (!consoleVisible && !answers) {
        return;
    }
    if (!answers) {
        glColor3f(0.5f, 1.0f, 1.0f);
        BitmapText::draw(LINE_LEFT, CONSOLE_LINE, 0, GLUT_BITMAP_8_BY_13, consoleCommand.c_str());
        return;
    }
    // A dark band over the top of the window, the answers in it and the line
    // being typed under them.
    const std::size_t rows = consoleAnswers.size() + (consoleVisible ? 1 : 0);
    const float bottom = static_cast<float>(CONSOLE_FIRST_BASELINE + CONSOLE_LINE_SPACING * (rows - 1) + 6);
    const OverlayDrawState drawState;
    glColor4f(0.0f, 0.0f, 0.05f, 0.8f);
    glRectf(0.0f, 0.0f, static_cast<float>(windowWidth), bottom);
    int baseline = CONSOLE_FIRST_BASELINE;
    for (const std::string& answer : consoleAnswers) {
        if (answer.rfind('>', 0) == 0) {
            glColor3f(0.5f, 1.0f, 1.0f);
        } else if (answer == "unknown command" || answer.find(" refused") != std::string::npos) {
            glColor3f(1.0f, 0.6f, 0.2f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        BitmapText::draw(LINE_LEFT, static_cast<float>(baseline), 0, GLUT_BITMAP_8_BY_13, answer.c_str());
        baseline += CONSOLE_LINE_SPACING;
    }
    if (consoleVisible) {
        glColor3f(0.5f, 1.0f, 1.0f);
        BitmapText::draw(LINE_LEFT, static_cast<float>(baseline), 0, GLUT_BITMAP_8_BY_13, consoleCommand.c_str());
    }
}

void ViewOverlay::displayCredits() const
{
    glColor3f(1.0f, 1.0f, 1.0f);
    BitmapText::draw(0, static_cast<float>(windowHeight - 2), 0, GLUT_BITMAP_8_BY_13, CREDITS);
}

void ViewOverlay::displayReplayLine() const
{
    if (replayLine.empty()) {
        return;
    }
    glColor3f(1.0f, 0.6f, 0.2f);
    BitmapText::draw(LINE_LEFT, static_cast<float>(windowHeight - 2 - LINE_SPACING), 0, GLUT_BITMAP_8_BY_13,
                     replayLine.c_str());
}
