// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the game's overlay text back out of a picture of its window, glyph by
// glyph, against the 8 x 13 bitmap font as GLUT draws it in the test process.
// End-to-end tests wait on what the overlay says (an aim, a spell) the way a
// player reads it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/GameProcess.h"

// Where the game writes its overlay: pixels from the window's top-left corner.
constexpr int HUD_LEFT = 5;
constexpr int HUD_FIRST_PLAYER_BASELINE = 70;
constexpr int HUD_LINE_SPACING = 20;

// The text drawn from left along the baseline in any of the overlay's colours,
// trailing blanks left out; a glyph that matches no character reads as '?'.
std::string readHudText(const Image& image, int left, int baseline);

// The overlay's lines under the frame-rate line: one per player, then the
// spell, read down to the first empty one.
std::vector<std::string> readHudLines(const Image& image);

// A player line's aim as the overlay shows it: "Player: name(hp) yaw pitch
// power (x, y, z)".
struct HudAim {
    double yaw = 0;
    double pitch = 0;
    double power = 0;
    bool operator==(const HudAim& other) const
    {
        return yaw == other.yaw && pitch == other.pitch && power == other.power;
    }
};
std::optional<HudAim> readHudAim(const std::string& playerLine);
