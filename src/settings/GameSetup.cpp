// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/GameSetup.h"

#include <cctype>
#include <cstring>

#include "model/ArenaModel.h"

bool isNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || (c != '\0' && std::strchr(" -'._", c) != nullptr);
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
    return blank ? "a name needs more than blanks" : "";
}

std::string battlefieldProblem(long width, long depth, long height, long players)
{
    return ArenaModel::gridProblem(width, depth, height, players, DEFAULT_PLAYER_WIDTH);
}
