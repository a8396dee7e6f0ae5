// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen as the view draws it: a dark panel over the battlefield
// with a title, the rows in the overlay's own font and a line of help.
#include "view/SetupPanel.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iterator>

#include "view/BitmapText.h"

namespace {

constexpr int PANEL_WIDTH = 480;
constexpr int PANEL_PADDING = 20;
constexpr int TITLE_BASELINE = 125;
constexpr int PANEL_TOP = TITLE_BASELINE - 40;
const char* const TITLE = "New game";
// The full sight shows where every shot will land: a help for learning,
// and against computer players, who know it anyway.
const char* const HELP[] = {"Up, Down: choose  Left, Right: change  type a name",
                            "Enter: start  Escape: back to the game",
                            "Full aiming help: for learning, or against computers"};
constexpr int HELP_LINE_COUNT = static_cast<int>(std::size(HELP));
constexpr int HELP_LINE_SPACING = SetupPanel::LINE_SPACING - 4;

} // namespace

int SetupPanel::lineLeft(int windowWidth)
{
    return std::max((windowWidth - PANEL_WIDTH) / 2, 0) + PANEL_PADDING;
}

SetupPanel::SetupPanel() : chosenRow(0)
{
}

bool SetupPanel::show(const std::vector<std::string>& shown, int chosen)
{
    const bool changed = shown != rows || chosen != chosenRow;
    rows = shown;
    chosenRow = chosen;
    return changed;
}

void SetupPanel::hide()
{
    rows.clear();
}

bool SetupPanel::isShowing() const
{
    return !rows.empty();
}

void SetupPanel::display(int windowWidth) const
{
    if (rows.empty()) {
        return;
    }
    const int left = lineLeft(windowWidth) - PANEL_PADDING;
    const int helpBaseline = FIRST_BASELINE + static_cast<int>(rows.size()) * LINE_SPACING + LINE_SPACING;
    const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    glDisable(GL_DEPTH_TEST);
    displayPanel(left, helpBaseline + (HELP_LINE_COUNT - 1) * HELP_LINE_SPACING + 4 + PANEL_PADDING);

    // The title in the winner's gold and size; the rows white, the chosen
    // one in the current player's gold, as on the overlay.
    glColor3f(1.0f, 0.85f, 0.2f);
    const int titleLeft = left + (PANEL_WIDTH - BitmapText::width(GLUT_BITMAP_TIMES_ROMAN_24, TITLE)) / 2;
    BitmapText::draw(static_cast<float>(titleLeft), static_cast<float>(TITLE_BASELINE), 0,
                     GLUT_BITMAP_TIMES_ROMAN_24, TITLE);
    int baseline = FIRST_BASELINE;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (static_cast<int>(row) == chosenRow) {
            glColor3f(0.75f, 0.75f, 0.0f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        BitmapText::draw(static_cast<float>(left + PANEL_PADDING), static_cast<float>(baseline), 0,
                         GLUT_BITMAP_8_BY_13, rows[row].c_str());
        baseline += LINE_SPACING;
    }
    glColor3f(0.5f, 1.0f, 1.0f);
    baseline = helpBaseline;
    for (const char* line : HELP) {
        BitmapText::draw(static_cast<float>(left + PANEL_PADDING), static_cast<float>(baseline), 0,
                         GLUT_BITMAP_8_BY_13, line);
        baseline += HELP_LINE_SPACING;
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    }
}

void SetupPanel::displayPanel(int left, int bottom) const
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.05f, 0.04f, 0.1f, 0.92f);
    glBegin(GL_QUADS);
    glVertex2i(left, PANEL_TOP);
    glVertex2i(left + PANEL_WIDTH, PANEL_TOP);
    glVertex2i(left + PANEL_WIDTH, bottom);
    glVertex2i(left, bottom);
    glEnd();
    glDisable(GL_BLEND);
}
