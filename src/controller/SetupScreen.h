// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game screen's state: the set-up being edited and the row the player
// is on. Up and Down move between rows, Left and Right change the row's value,
// letters type a caster's name, Enter asks to start and Escape (or F2) to
// close. It knows nothing of the game it is drawn over.
#pragma once

#include <string>
#include <vector>

#include "settings/GameSetup.h"

// One of the battlefields the screen offers.
struct BattlefieldSize {
    const char* name;
    int width;
    int depth;
    int height;
};

class SetupScreen {
public:
    // What a key asks of the game behind the screen.
    enum class Answer { stay, start, close };

    // Small (the first battlefield), medium, large and huge.
    static const std::vector<BattlefieldSize>& battlefieldSizes();

    // Opens on this set-up, on the first row. A battlefield of another size
    // than the four (from the console or the command line) is offered too, as
    // "custom", while the screen stays open.
    void open(const GameSetup& setup);
    void close();
    bool isOpen() const;

    Answer keyboard(unsigned char key);
    // GLUT's codes of the arrow keys and F2.
    Answer specialKeyboard(int key);

    const GameSetup& getSetup() const;
    int getRow() const;
    int getRowCount() const;
    // The rows as the screen shows them, the chosen one marked with "> ".
    std::vector<std::string> getLines() const;

private:
    enum class RowKind { casters, seat, battlefield, wind, aimingHelp, start };
    RowKind rowKind(int index) const;
    void change(int step);
    // The sizes offered: the custom one, if any, then the four.
    std::vector<BattlefieldSize> offeredSizes() const;
    int chosenSize() const;

    GameSetup setup;
    bool opened = false;
    int row = 0;
    bool customOffered = false;
    BattlefieldSize custom{"custom", 0, 0, 0};
};
