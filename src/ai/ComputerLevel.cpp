// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the computer players' levels, as the command line, the console
// and the overlay write them.
#include "ai/ComputerLevel.h"

const char* levelName(ComputerLevel level)
{
    switch (level) {
    case ComputerLevel::easy:
        return "easy";
    case ComputerLevel::hard:
        return "hard";
    case ComputerLevel::normal:
        break;
    }
    return "normal";
}

std::optional<ComputerLevel> parseLevel(const std::string& word)
{
    for (ComputerLevel level : {ComputerLevel::easy, ComputerLevel::normal, ComputerLevel::hard}) {
        if (word == levelName(level)) {
            return level;
        }
    }
    return std::nullopt;
}
