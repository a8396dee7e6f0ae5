// SPDX-License-Identifier: GPL-3.0-or-later
// One line at the bottom of the window that reminds a human player of the
// keys while its turn waits for the cast. Not for a computer player's turn,
// nor in a replay, nor on the new-game screen.
#pragma once

#include <string>

class PlayingAids;
class ViewOverlay;

class KeyHint {
public:
    // UTF-8; the arrows and the dash are drawn, the bitmap fonts having none.
    static const std::string TEXT;
    // Pixels: the line's baseline above the window's bottom edge.
    static constexpr int BASELINE_FROM_BOTTOM = 22;

    // aids: not owned; says when a turn waits and whether aids are shown.
    // overlay: not owned; the window's size. Both outlive the hint.
    KeyHint(const PlayingAids& aids, const ViewOverlay& overlay);

    // Whether the current turn is a human's in a live game; the controller,
    // which knows the players' kinds and the replay, says so at each step.
    void setHumanTurn(bool human);
    // TEXT while a human's turn waits and aids are shown; "" otherwise.
    std::string line() const;
    void display() const;

private:
    const PlayingAids& aids;    // not owned
    const ViewOverlay& overlay; // not owned
    bool humanTurn;
};
