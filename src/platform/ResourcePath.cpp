// SPDX-License-Identifier: GPL-3.0-or-later
// Data file lookup for a game that may be started from a source tree, a build
// folder or an installed location, from any working directory.
#include "platform/ResourcePath.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#ifndef KESTRUNE_DATA_DIR
#define KESTRUNE_DATA_DIR "/usr/local/share/games/kestrune/res"
#endif

namespace {

bool readable(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
}

// The folder's path as written, or "" for an empty value.
std::string folder(const char* value)
{
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

std::string executableFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (length <= 0) {
        return "";
    }
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::vector<std::string> dataFolderCandidates(const std::string& dataDirOption)
{
    std::vector<std::string> candidates;
    if (!dataDirOption.empty()) {
        candidates.push_back(dataDirOption);
    }
    const std::string fromEnvironment = folder(std::getenv("KESTRUNE_DATA"));
    if (!fromEnvironment.empty()) {
        candidates.push_back(fromEnvironment);
    }
    candidates.push_back("./res");
    const std::string executable = executableFolder();
    if (!executable.empty()) {
        candidates.push_back(executable + "/res");
    }
    candidates.push_back(KESTRUNE_DATA_DIR);
    // Installed as <prefix>/games/kestrune or <prefix>/bin/kestrune, under
    // whatever prefix it was installed.
    const std::size_t slash = executable.rfind('/');
    if (slash != std::string::npos) {
        const std::string installed = executable.substr(0, slash) + "/share/games/kestrune/res";
        if (installed != KESTRUNE_DATA_DIR) {
            candidates.push_back(installed);
        }
    }
    return candidates;
}

std::string findDataFolder(const std::vector<std::string>& candidates, const std::vector<std::string>& files)
{
    for (const std::string& candidate : candidates) {
        bool complete = true;
        for (const std::string& file : files) {
            if (!readable(candidate + "/" + file)) {
                complete = false;
                break;
            }
        }
        if (complete) {
            return candidate;
        }
    }
    return "";
}
