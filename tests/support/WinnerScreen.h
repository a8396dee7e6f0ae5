// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the winner's screen of an 800 x 600 window: the winner's name large
// and centred on the middle line, and a line in the overlay's font under it.
#pragma once

#include <string>

#include "support/GameProcess.h"

struct Colour {
    int r;
    int g;
    int b;
};

// The picture with only the pixels of one colour left, white on black, for
// the overlay reader, which knows the overlay's usual colours only.
Image onlyColour(const Image& image, Colour colour);

// Whether the window shows the winner's large line, centred, and secondLine
// centred under it.
bool showsWinner(const Image& image, const std::string& secondLine);

// Whether any text of the winner's colour is left on the winner's lines,
// wherever along them it starts.
bool showsAnyWinnerText(const Image& image);
