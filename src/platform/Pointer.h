// SPDX-License-Identifier: GPL-3.0-or-later
// Moving and hiding the mouse pointer over the game window.
#pragma once

// Moves the pointer to (x, y) in the current window's pixels; the motion event
// this causes arrives at exactly that point.
void warpPointer(int x, int y);

void hidePointer();
