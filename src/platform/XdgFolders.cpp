// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/XdgFolders.h"

#include <cstdlib>

namespace {

// $variable/kestrune when variable holds an absolute path, else
// $HOME/homeFolder/kestrune.
std::string gameFolder(const char* variable, const char* homeFolder)
{
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') {
        return std::string(base) + "/kestrune";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/" + homeFolder + "/kestrune";
    }
    return "";
}

} // namespace

std::string configFolder()
{
    return gameFolder("XDG_CONFIG_HOME", ".config");
}

std::string stateFolder()
{
    return gameFolder("XDG_STATE_HOME", ".local/state");
}
