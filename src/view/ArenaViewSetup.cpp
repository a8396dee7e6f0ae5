// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen as the view draws it: a dark panel over the battlefield
// with a title, the rows in the overlay's own font and a line of help.
#include <GL/freeglut.h>

#include <algorithm>

#include "view/ArenaView.h"

namespace {

constexpr int PANEL_WIDTH = 480;
constexpr int PANEL_PADDING = 20;
constexpr int TITLE_BASELINE = 125;
const char* const TITLE = "New game";
const char* const HELP[] = {"Up, Down: choose  Left, Right: change  type a name",
                            "Enter: start  Escape: back to the game"};

} // namespace

int ArenaView::setupLineLeft(int windowWidth)
{
    return std::max((windowWidth - PANEL_WIDTH) / 2, 0) + PANEL_PADDING;
}

void ArenaView::showSetupScreen(const std::vector<std::string>& rows, int chosen)
{
    if (rows != setupRows || chosen != setupChosenRow) {
        sounds.playNear(Sound::keyClick);
    }
    setupRows = rows;
    setupChosenRow = chosen;
}

void ArenaView::hideSetupScreen()
{
    setupRows.clear();
}

bool ArenaView::isShowingSetupScreen() const
{
    return !setupRows.empty();
}

void ArenaView::displaySetupScreen()
{
    if (setupRows.empty()) {
        return;
    }
    const int left = setupLineLeft(windowWidth) - PANEL_PADDING;
    const int top = TITLE_BASELINE - 40;
    const int helpBaseline =
        SETUP_FIRST_BASELINE + static_cast<int>(setupRows.size()) * SETUP_LINE_SPACING + SETUP_LINE_SPACING;
    const int bottom = helpBaseline + SETUP_LINE_SPACING + PANEL_PADDING;

    const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.05f, 0.04f, 0.1f, 0.92f);
    glBegin(GL_QUADS);
    glVertex2i(left, top);
    glVertex2i(left + PANEL_WIDTH, top);
    glVertex2i(left + PANEL_WIDTH, bottom);
    glVertex2i(left, bottom);
    glEnd();
    glDisable(GL_BLEND);

    // The title in the winner's gold and size; the rows white, the chosen
    // one in the current player's gold, as on the overlay.
    glColor3f(1.0f, 0.85f, 0.2f);
    const int titleLeft = left + (PANEL_WIDTH - glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24,
                                                                 reinterpret_cast<const unsigned char*>(TITLE)))
                                     / 2;
    renderBitmapString(static_cast<float>(titleLeft), static_cast<float>(TITLE_BASELINE), 0,
                       GLUT_BITMAP_TIMES_ROMAN_24, TITLE);
    int baseline = SETUP_FIRST_BASELINE;
    for (std::size_t row = 0; row < setupRows.size(); ++row) {
        if (static_cast<int>(row) == setupChosenRow) {
            glColor3f(0.75f, 0.75f, 0.0f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        renderBitmapString(static_cast<float>(left + PANEL_PADDING), static_cast<float>(baseline), 0,
                           GLUT_BITMAP_8_BY_13, setupRows[row].c_str());
        baseline += SETUP_LINE_SPACING;
    }
    glColor3f(0.5f, 1.0f, 1.0f);
    baseline = helpBaseline;
    for (const char* line : HELP) {
        renderBitmapString(static_cast<float>(left + PANEL_PADDING), static_cast<float>(baseline), 0,
                           GLUT_BITMAP_8_BY_13, line);
        baseline += SETUP_LINE_SPACING - 4;
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    }
}
