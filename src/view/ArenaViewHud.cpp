// SPDX-License-Identifier: GPL-3.0-or-later
// The text overlay drawn over each frame in window pixels: frame rate, one line
// per player, the spell, the console line and the credits.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <sstream>

#include "model/Player.h"
#include "scene/graphicnode.h"
#include "view/ArenaView.h"

namespace {

const char* const CREDITS =
    "Kestrune 2006-04-07 - an artillery duel of spell-casters, by the Kestrune developers";

// Pixels, from the top-left corner of the window.
constexpr int LINE_LEFT = 5;
constexpr int CONSOLE_LINE = 10;
constexpr int FRAME_RATE_LINE = 30;
constexpr int FIRST_PLAYER_LINE = 70;
constexpr int LINE_SPACING = 20;
// Of the 8 x 13 font.
constexpr int GLYPH_WIDTH = 8;

} // namespace

void ArenaView::showFPS()
{
    showingFPS = true;
}

void ArenaView::hideFPS()
{
    showingFPS = false;
}

bool ArenaView::isShowingFPS() const
{
    return showingFPS;
}

void ArenaView::displayFramePerSecond()
{
    if (!showingFPS) {
        return;
    }
    glColor3f(1.0f, 0.0f, 0.0f);
    renderBitmapString(LINE_LEFT, FRAME_RATE_LINE, 0, GLUT_BITMAP_8_BY_13, frameRateLine().c_str());
}

std::string ArenaView::frameRateLine() const
{
    const double newest = frameRate.getValues().empty() ? 0.0 : frameRate.getValues().back();
    std::ostringstream line;
    line << "FPS: " << frameRate.getAverage() << " (" << newest << ") "
         << "TriangleCount: " << GraphicNode::getTriangleCount();
    return line.str();
}

std::string ArenaView::playerLine(int id, const Player& player)
{
    // A player whose aim has not come yet shows zeros.
    const ViewCannon& cannon = cannons[id];
    std::ostringstream line;
    line << "Player: " << player.getName() << "(" << player.getHp() << ") " << cannon.yaw << " "
         << cannon.pitch << " " << cannon.power << " " << player.getPosition();
    return line.str();
}

void ArenaView::displayPlayerInfo()
{
    int row = 0;
    for (const auto& [id, player] : players) {
        if (id == currentPlayer) {
            glColor3f(0.75f, 0.75f, 0.0f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        const std::string line = playerLine(id, *player);
        const float baseline = static_cast<float>(FIRST_PLAYER_LINE + LINE_SPACING * row);
        renderBitmapString(LINE_LEFT, baseline, 0, GLUT_BITMAP_8_BY_13, line.c_str());
        const auto note = playerNotes.find(id);
        if (note != playerNotes.end() && !note->second.empty()) {
            glColor3f(0.4f, 0.8f, 1.0f);
            const std::string marked = "[" + note->second + "]";
            renderBitmapString(static_cast<float>(LINE_LEFT + GLYPH_WIDTH * (line.size() + 2)), baseline, 0,
                               GLUT_BITMAP_8_BY_13, marked.c_str());
        }
        ++row;
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    const std::string line = "Weapon: " + weapon;
    renderBitmapString(LINE_LEFT, static_cast<float>(FIRST_PLAYER_LINE + LINE_SPACING * row), 0,
                       GLUT_BITMAP_8_BY_13, line.c_str());
}

void ArenaView::displayConsole()
{
    if (!consoleVisible) {
        return;
    }
    glColor3f(0.5f, 1.0f, 1.0f);
    renderBitmapString(LINE_LEFT, CONSOLE_LINE, 0, GLUT_BITMAP_8_BY_13, consoleCommand.c_str());
}

void ArenaView::displayCredits()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    renderBitmapString(0, static_cast<float>(windowHeight - 2), 0, GLUT_BITMAP_8_BY_13, CREDITS);
}

void ArenaView::setReplayLine(const std::string& line)
{
    replayLine = line;
}

const std::string& ArenaView::getReplayLine() const
{
    return replayLine;
}

void ArenaView::displayReplayLine()
{
    if (replayLine.empty()) {
        return;
    }
    glColor3f(1.0f, 0.6f, 0.2f);
    renderBitmapString(LINE_LEFT, static_cast<float>(windowHeight - 2 - LINE_SPACING), 0, GLUT_BITMAP_8_BY_13,
                       replayLine.c_str());
}

void ArenaView::setPlayerNote(int id, const std::string& note)
{
    if (note.empty()) {
        playerNotes.erase(id);
    } else {
        playerNotes[id] = note;
    }
}

const std::map<int, std::string>& ArenaView::getPlayerNotes() const
{
    return playerNotes;
}

void ArenaView::renderBitmapString(float x, float y, float z, void* font, const char* text)
{
    glRasterPos3f(x, y, z);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, *c);
    }
}

void ArenaView::setOrthographicProjection()
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

void ArenaView::resetPerspectiveProjection()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void ArenaView::updateFrameCount()
{
    ++frameCount;
    while (timeSystem.getTick() > lastFrameTick + 1000) {
        frameRate.add(frameCount);
        frameCount = 0;
        lastFrameTick += 1000;
    }
}

double ArenaView::abs(double x)
{
    return x < 0 ? -x : x;
}
