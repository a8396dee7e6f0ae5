// Data file lookup for a game that may be started from a source tree, a build
// folder or an installed location, from any working directory.
#include "platform/ResourcePath.h"

#include <unistd.h>

#include <climits>
#include <vector>

#ifndef KESTRUNE_DATA_DIR
#define KESTRUNE_DATA_DIR "/usr/local/share/games/kestrune"
#endif

namespace {

bool readable(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
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

std::string resourcePath(const std::string& name)
{
    if (readable(name)) {
        return name;
    }
    const std::string besideExecutable = executableFolder() + "/" + name;
    if (readable(besideExecutable)) {
        return besideExecutable;
    }
    const std::string installed = std::string(KESTRUNE_DATA_DIR) + "/" + name;
    if (readable(installed)) {
        return installed;
    }
    return name;
}
