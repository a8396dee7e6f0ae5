// SPDX-License-Identifier: GPL-3.0-or-later
// Checks on a battlefield that every test of the model wants: the column
// invariant and the heights of the columns.
#pragma once

#include <string>

#include "model/ArenaModel.h"

// Height of the solid run of column (x, z) from the floor.
int columnHeight(const ArenaModel& model, int x, int z);

// Empty when every column is solid from the floor to its top and empty above;
// otherwise the first offending cell, described.
std::string columnInvariantViolation(const ArenaModel& model);
