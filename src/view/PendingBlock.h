// SPDX-License-Identifier: GPL-3.0-or-later
// A block that has fallen to a new cell and rejoins the terrain there once its
// fall has been shown; until then its fall animation draws it.
#pragma once

#include "math/Vector.h"
#include "view/TerrainChunks.h"

struct PendingBlock {
    Vector cell;                // where it lands
    TerrainChunks::Block block; // grass or dirt, as it was before it fell
};
