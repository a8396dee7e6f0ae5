// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen as the view draws it over everything else: a dark panel
// with a title, its rows with the chosen one picked out, and a line of help.
#pragma once

#include <string>
#include <vector>

class SetupPanel {
public:
    // The rows, in the overlay's 8 x 13 font: the first row's baseline and
    // the step to the next, from the window's top, and their left edge for a
    // window of this width.
    static constexpr int FIRST_BASELINE = 160;
    static constexpr int LINE_SPACING = 20;
    static int lineLeft(int windowWidth);

    SetupPanel();

    // Shows the rows until hidden; true when that changed what is shown.
    bool show(const std::vector<std::string>& rows, int chosen);
    void hide();
    bool isShowing() const;
    // Over a window this wide.
    void display(int windowWidth) const;

private:
    void displayPanel(int left, int bottom) const;

    std::vector<std::string> rows; // empty while the screen is hidden
    int chosenRow;
};
