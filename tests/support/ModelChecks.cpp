// SPDX-License-Identifier: GPL-3.0-or-later
// Battlefield checks shared by the model's tests.
#include "support/ModelChecks.h"

#include <sstream>

int columnHeight(const ArenaModel& model, int x, int z)
{
    int y = 0;
    while (y < model.getHeight() && model.testGround(x + 0.5, y + 0.5, z + 0.5)) {
        ++y;
    }
    return y;
}

std::string columnInvariantViolation(const ArenaModel& model)
{
    for (int x = 0; x < model.getWidth(); ++x) {
        for (int z = 0; z < model.getDepth(); ++z) {
            int top = columnHeight(model, x, z);
            for (int y = top; y < model.getHeight(); ++y) {
                if (model.testGround(x + 0.5, y + 0.5, z + 0.5)) {
                    std::ostringstream out;
                    out << "column (" << x << ", " << z << ") is solid up to " << top
                        << " but has a block at y = " << y;
                    return out.str();
                }
            }
        }
    }
    return "";
}
