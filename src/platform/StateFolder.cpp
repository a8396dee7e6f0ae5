// SPDX-License-Identifier: GPL-3.0-or-later
// The game's state folder after the XDG base directory rules.
#include "platform/StateFolder.h"

#include <cstdlib>

std::string stateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return std::string(state) + "/kestrune";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/state/kestrune";
    }
    return "";
}
