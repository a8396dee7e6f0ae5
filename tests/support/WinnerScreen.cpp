// SPDX-License-Identifier: GPL-3.0-or-later
// The winner's screen as the end-to-end tests read it from the window.
#include "support/WinnerScreen.h"

#include <algorithm>
#include <cstdlib>

#include "support/HudText.h"

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
constexpr int GLYPH_WIDTH = 8;
// The large line's baseline, and the second line's below it.
constexpr int WINNER_BASELINE = WINDOW_HEIGHT / 2;
constexpr int WINNER_LINE_SPACING = 34;
// Rows the large letters reach above and below their baseline.
constexpr int LARGE_ASCENT = 18;
constexpr int LARGE_DESCENT = 4;
constexpr Colour WINNER_GOLD{255, 217, 51};

// Pixels of the gold on the large line, and their leftmost and rightmost
// columns.
int largeLineGold(const Image& gold, int& left, int& right)
{
    left = gold.width;
    right = -1;
    int count = 0;
    for (int row = WINNER_BASELINE - LARGE_ASCENT; row <= WINNER_BASELINE + LARGE_DESCENT; ++row) {
        for (int x = 0; x < gold.width; ++x) {
            if (gold.rgb[(static_cast<std::size_t>(row) * gold.width + x) * 3] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                ++count;
            }
        }
    }
    return count;
}

} // namespace

Image onlyColour(const Image& image, Colour colour)
{
    Image picked = image;
    for (std::size_t i = 0; i + 2 < picked.rgb.size(); i += 3) {
        const bool match = std::abs(image.rgb[i] - colour.r) <= 8 && std::abs(image.rgb[i + 1] - colour.g) <= 8
                        && std::abs(image.rgb[i + 2] - colour.b) <= 8;
        picked.rgb[i] = picked.rgb[i + 1] = picked.rgb[i + 2] = match ? 255 : 0;
    }
    return picked;
}

bool showsWinner(const Image& image, const std::string& secondLine)
{
    const Image gold = onlyColour(image, WINNER_GOLD);
    int left = 0;
    int right = 0;
    const int count = largeLineGold(gold, left, right);
    const int secondLeft = (WINDOW_WIDTH - GLYPH_WIDTH * static_cast<int>(secondLine.size())) / 2;
    return count > 150 && std::abs((left + right) / 2 - WINDOW_WIDTH / 2) <= 10
        && readHudText(gold, secondLeft, WINNER_BASELINE + WINNER_LINE_SPACING) == secondLine;
}

bool showsAnyWinnerText(const Image& image)
{
    const Image gold = onlyColour(image, WINNER_GOLD);
    for (int left = 0; left < GLYPH_WIDTH; ++left) {
        if (!readHudText(gold, left, WINNER_BASELINE + WINNER_LINE_SPACING).empty()) {
            return true;
        }
    }
    int left = 0;
    int right = 0;
    return largeLineGold(gold, left, right) > 0;
}
