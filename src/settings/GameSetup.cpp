// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/GameSetup.h"

#include <cstring>

#include "model/ArenaModel.h"

bool isNameCharacter(char c)
{
    // ASCII only, whatever the locale: the overlay's fonts have no other.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
           || (c != '\0' && std::strchr(" -'._", c) != nullptr);
}

std::string nameProblem(const std::string& name)
{
    if (name.size() > MAX_NAME_LENGTH) {
        return "longer than " + std::to_string(MAX_NAME_LENGTH) + " characters";
    }
    bool blank = true;
    for (char c : name) {
        if (!isNameCharacter(c)) {
            return "only letters, digits, blanks and - ' . _ may make a name";
        }
        blank = blank && c == ' ';
    }
    if (blank) {
        return "a name needs more than blanks";
    }
    return name.front() == ' ' || name.back() == ' ' ? "a name may not begin or end with a blank" : "";
}

std::string battlefieldProblem(long width, long depth, long height, long players)
{
    return ArenaModel::gridProblem(width, depth, height, players, DEFAULT_PLAYER_WIDTH);
}
