// SPDX-License-Identifier: GPL-3.0-or-later
// The casters' marking colours: bright enough to read over the dark sky and
// the grass, none of them the overlay's own white or gold.
#include "view/PlayerColour.h"

namespace {

constexpr PlayerColour PALETTE[] = {
    {1.0f, 0.35f, 0.3f}, // red
    {0.4f, 0.65f, 1.0f}, // blue
    {0.45f, 1.0f, 0.4f}, // green
    {0.85f, 0.5f, 1.0f}, // violet
    {0.3f, 0.95f, 0.95f}, // cyan
    {1.0f, 0.55f, 0.1f}, // orange
    {1.0f, 0.55f, 0.8f}, // pink
    {0.8f, 0.8f, 0.8f}, // silver
};
constexpr int PALETTE_SIZE = static_cast<int>(sizeof(PALETTE) / sizeof(PALETTE[0]));

} // namespace

PlayerColour PlayerColour::of(int id)
{
    const int index = id % PALETTE_SIZE;
    return PALETTE[index < 0 ? index + PALETTE_SIZE : index];
}
