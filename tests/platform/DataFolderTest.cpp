// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/ResourcePath.h"
#include "support/GameProcess.h"

namespace {

// Sets an environment variable for the length of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : name(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (hadValue) {
            previous = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment()
    {
        if (hadValue) {
            setenv(name.c_str(), previous.c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

private:
    std::string name;
    std::string previous;
    bool hadValue = false;
};

std::string folderWith(const std::string& name, const std::vector<std::string>& files)
{
    std::string folder = artifactPath("data-folders/" + name);
    runCommand("rm -rf '" + folder + "' && mkdir -p '" + folder + "'");
    for (const std::string& file : files) {
        std::ofstream(folder + "/" + file) << "#VRML V2.0 utf8\n";
    }
    return folder;
}

} // namespace

TEST(DataFolder, TheOptionThenTheEnvironmentThenTheUsualPlaces)
{
    ScopedEnvironment environment("KESTRUNE_DATA", "/from/environment");
    std::vector<std::string> candidates = dataFolderCandidates("/from/option");
    ASSERT_GE(candidates.size(), 5u);
    EXPECT_EQ(candidates[0], "/from/option");
    EXPECT_EQ(candidates[1], "/from/environment");
    EXPECT_EQ(candidates[2], "./res");
    EXPECT_EQ(candidates[3], executableFolder() + "/res");
    EXPECT_NE(candidates[4].find("share/games/kestrune/res"), std::string::npos);
}

TEST(DataFolder, WithoutOptionOrEnvironmentTheUsualPlacesOnly)
{
    ScopedEnvironment environment("KESTRUNE_DATA", nullptr);
    std::vector<std::string> candidates = dataFolderCandidates("");
    EXPECT_EQ(candidates.front(), "./res");
    // Installed under any prefix: found from the executable's own place.
    std::string executable = executableFolder();
    std::string prefix = executable.substr(0, executable.rfind('/'));
    EXPECT_EQ(candidates.back(), prefix + "/share/games/kestrune/res");
}

TEST(DataFolder, TheFirstFolderHoldingEveryFileWins)
{
    std::string partial = folderWith("partial", {"a.wrl"});
    std::string complete = folderWith("complete", {"a.wrl", "b.wrl"});
    std::string also = folderWith("also", {"a.wrl", "b.wrl"});
    EXPECT_EQ(findDataFolder({"/no/such/folder", partial, complete, also}, {"a.wrl", "b.wrl"}), complete);
    EXPECT_EQ(findDataFolder({partial, "/no/such/folder"}, {"a.wrl", "b.wrl"}), "");
    EXPECT_EQ(findDataFolder({}, {"a.wrl"}), "");
}
