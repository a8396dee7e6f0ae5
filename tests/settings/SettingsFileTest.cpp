// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "settings/SettingsFile.h"

namespace {

const std::string DEFAULTS_KEPT = "; using the defaults for what could not be read\n";

// A fresh folder under /tmp for each test's files, removed afterwards.
class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrune-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string put(const std::string& name, const std::string& content) const
    {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string contents(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Every name in the folder, however deep, to find stray temporary files.
    std::set<std::string> everything() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            names.insert(entry.path().string());
        }
        return names;
    }

    static int lineCount(const std::string& text)
    {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    struct Read {
        GameSetup setup;
        bool whole = false;
        std::string err;
    };

    static Read readOverDefaults(const std::string& path)
    {
        Read read;
        std::ostringstream err;
        read.whole = SettingsFile(path).read(read.setup, err);
        read.err = err.str();
        return read;
    }

    std::string folder;
};

using SettingsFileWrite = SettingsFiles;
using SettingsFileRead = SettingsFiles;

// Sets a variable of the environment for one test and puts it back after.
class ChangedVariable {
public:
    ChangedVariable(const char* name, const char* value) : name(name)
    {
        if (const char* old = std::getenv(name)) {
            saved = old;
        }
        put(value);
    }
    ~ChangedVariable() { put(saved ? saved->c_str() : nullptr); }
    ChangedVariable(const ChangedVariable&) = delete;
    ChangedVariable& operator=(const ChangedVariable&) = delete;

private:
    void put(const char* value) const
    {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }

    const char* name;
    std::optional<std::string> saved;
};

} // namespace

TEST_F(SettingsFileWrite, ANonDefaultSetupReadsBackTheSame)
{
    GameSetup setup;
    setup.players = 2;
    setup.seats[1] = {ComputerLevel::hard, "Ada Stone"};
    setup.width = 64;
    setup.depth = 64;
    setup.height = 32;
    setup.wind = true;
    setup.aimingHelp = AimingHelp::fullPath;
    const std::string path = folder + "/settings.ini";
    std::ostringstream err;
    ASSERT_TRUE(SettingsFile(path).write(setup, err));

    const Read read = readOverDefaults(path);
    EXPECT_TRUE(read.whole);
    EXPECT_EQ(err.str() + read.err, "");
    EXPECT_EQ(read.setup, setup);
}

TEST_F(SettingsFileWrite, TheDefaultSetupIsWrittenInThisShape)
{
    const std::string path = folder + "/settings.ini";
    std::ostringstream err;
    ASSERT_TRUE(SettingsFile(path).write(GameSetup{}, err));
    std::string expected = "; Kestrune remembers the last game started from its set-up screen here.\n"
                           "[game]\nplayers = 4\nwind = false\naiming_help = short\n"
                           "[battlefield]\nwidth = 15\ndepth = 15\nheight = 20\n";
    for (int seat = 1; seat <= MAX_SETUP_PLAYERS; ++seat) {
        expected += "[player " + std::to_string(seat) + "]\nkind = human\nname =\n";
    }
    EXPECT_EQ(contents(path), expected);
}

TEST_F(SettingsFileWrite, MissingFoldersAreMadeAndOnlyTheFileIsLeft)
{
    const std::string path = folder + "/config/kestrune/settings.ini";
    std::ostringstream err;
    ASSERT_TRUE(SettingsFile(path).write(GameSetup{}, err)) << err.str();
    // Written twice: the second replaces the first.
    ASSERT_TRUE(SettingsFile(path).write(GameSetup{}, err)) << err.str();

    const std::set<std::string> expected = {folder + "/config", folder + "/config/kestrune", path};
    EXPECT_EQ(everything(), expected);
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
}

TEST_F(SettingsFileWrite, ThroughLinksThatStayTheTargetIsRewrittenWithTheUmasksMode)
{
    std::filesystem::create_directories(folder + "/config/kestrune");
    std::filesystem::create_directory(folder + "/dotfiles");
    const std::string link = folder + "/config/kestrune/settings.ini";
    std::filesystem::create_symlink("../../dotfiles/settings.ini", link);
    const mode_t saved = umask(0);
    for (const mode_t mask : {0022, 0077, 0002}) {
        umask(mask);
        std::ostringstream err;
        EXPECT_TRUE(SettingsFile(link).write(GameSetup{}, err)) << err.str();
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        struct stat status {};
        EXPECT_EQ(stat((folder + "/dotfiles/settings.ini").c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0666u & ~mask) << std::oct << mask;
    }
    umask(saved);
}

TEST_F(SettingsFileWrite, AFailedWriteLeavesNoTraceAndKeepsWhatWasThere)
{
    std::filesystem::create_directory(folder + "/taken");
    put("taken/inside", "kept");
    put("blocker", "kept");
    const std::string older = put("older.ini", "[game]\nplayers = 3\n");
    GameSetup unwritable;
    unwritable.players = MAX_SETUP_PLAYERS + 1;
    const std::set<std::string> before = everything();

    const std::vector<std::pair<std::string, GameSetup>> cases = {
        {folder + "/taken", GameSetup{}},                         // a folder where the file goes
        {folder + "/blocker/kestrune/settings.ini", GameSetup{}}, // a file where a folder goes
        {older, unwritable},                                      // a set-up the file cannot hold
    };
    for (const auto& [path, setup] : cases) {
        SCOPED_TRACE(path);
        std::ostringstream err;
        EXPECT_FALSE(SettingsFile(path).write(setup, err));
        EXPECT_EQ(err.str().rfind("kestrune: cannot write settings " + path + ": ", 0), 0u) << err.str();
        EXPECT_EQ(lineCount(err.str()), 1);
    }
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(contents(folder + "/taken/inside"), "kept");
    EXPECT_EQ(contents(folder + "/blocker"), "kept");
    EXPECT_EQ(contents(older), "[game]\nplayers = 3\n");
}

TEST_F(SettingsFileRead, BadValuesCostOnlyThemselvesAndShareOneLine)
{
    const std::string path = put("settings.ini", "[player 3]\n"
                                                 "kind = expert\n" // line 2
                                                 "name = Bo\n"
                                                 "[battlefield]\n"
                                                 "width = 12abc\n"
                                                 "depth = 40\n"
                                                 "height = 99999999999\n"
                                                 "[game]\n"
                                                 "wind = on\n"
                                                 "players = many\n"
                                                 "players = 3\n"
                                                 "colour = red\n"
                                                 "[player 1]\n"
                                                 "kind = hard\n"
                                                 "name = Ada = Stone\n"
                                                 "[sounds]\n"
                                                 "volume = 3\n"
                                                 "loud = yes\n"
                                                 "this line has no equals sign\n"
                                                 "[player 9]\n"
                                                 "kind = easy\n");
    const Read read = readOverDefaults(path);

    GameSetup expected;
    expected.players = 3;
    expected.wind = true;
    expected.seats[0].computer = ComputerLevel::hard;
    expected.seats[2].name = "Bo";
    expected.depth = 40;
    EXPECT_EQ(read.setup, expected);
    EXPECT_FALSE(read.whole);
    // kind, width, height, colour, name, [sounds] once, the line without =, [player 9].
    EXPECT_EQ(read.err, "kestrune: settings " + path
                            + ": line 2: kind \"expert\" is not human, easy, normal or hard; 7 more"
                            + DEFAULTS_KEPT);
}

TEST_F(SettingsFileRead, EveryKindOfBadFileCostsOneLineAndKeepsTheDefaults)
{
    std::string garbage;
    for (int byte = 0; byte < 512; ++byte) {
        garbage += static_cast<char>(byte * 7);
    }
    const std::vector<std::pair<const char*, std::string>> files = {
        {"empty", ""},
        {"garbage", garbage},
        {"too few", "[game]\nplayers = 1\n"},
        {"too many", "[game]\nplayers = 9\n"},
        {"overflow", "[battlefield]\nwidth = 2147483648\n"},
        {"too large", "[battlefield]\nwidth = 300\ndepth = 20\nheight = 25\n"},
        {"too crowded", "[battlefield]\nwidth = 1\ndepth = 1\nheight = 5\n"},
        {"long name", "[player 2]\nname = " + std::string(MAX_NAME_LENGTH + 1, 'a') + "\n"},
        {"longer than a line", "[player 2]\nname = " + std::string(300, 'b') + "\n"},
        {"bad character", "[player 2]\nname = Ada!\n"},
        {"unknown kind", "[player 2]\nkind = wizard\n"},
        {"wrong type", "[game]\nwind = sometimes\n"},
        {"no section", "players = 3\n"},
        {"not ini", "<settings players=\"3\"/>\n"},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        const std::string path = put(name, content);
        const Read read = readOverDefaults(path);
        EXPECT_FALSE(read.whole);
        EXPECT_EQ(read.setup, GameSetup{});
        EXPECT_EQ(lineCount(read.err), 1) << read.err;
        EXPECT_EQ(read.err.rfind("kestrune: settings " + path + ": ", 0), 0u) << read.err;
        const std::size_t ending = read.err.size() - std::min(read.err.size(), DEFAULTS_KEPT.size());
        EXPECT_EQ(read.err.substr(ending), DEFAULTS_KEPT);
    }
}

TEST_F(SettingsFileRead, NothingOrNoFileAtThePathCostsOneLine)
{
    const std::string missing = folder + "/settings.ini";
    const Read read = readOverDefaults(missing);
    EXPECT_FALSE(read.whole);
    EXPECT_EQ(read.setup, GameSetup{});
    EXPECT_EQ(read.err, "kestrune: no settings at " + missing + " yet; using the defaults\n");

    // Opening the FIFO for reading would wait for a writer that never comes.
    const std::string fifo = folder + "/fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, folder}) {
        const Read notFile = readOverDefaults(path);
        EXPECT_FALSE(notFile.whole);
        EXPECT_EQ(notFile.setup, GameSetup{});
        EXPECT_EQ(notFile.err, "kestrune: settings " + path + ": not a regular file" + DEFAULTS_KEPT);
    }
}

TEST_F(SettingsFileRead, AnUnreadableFileCostsOneLine)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    const std::string path = put("settings.ini", "[game]\nplayers = 3\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    const Read read = readOverDefaults(path);
    EXPECT_EQ(read.setup, GameSetup{});
    EXPECT_EQ(lineCount(read.err), 1) << read.err;
    EXPECT_EQ(read.err.rfind("kestrune: settings " + path + ": cannot be opened", 0), 0u) << read.err;
}

TEST(SettingsFilePath, FollowsXdgConfigHomeThenHome)
{
    ChangedVariable home("HOME", "/home/ada");
    {
        ChangedVariable config("XDG_CONFIG_HOME", "/etc/ada");
        EXPECT_EQ(SettingsFile::defaultPath(), "/etc/ada/kestrune/settings.ini");
    }
    {
        // A relative XDG_CONFIG_HOME is to be ignored.
        ChangedVariable config("XDG_CONFIG_HOME", "ada/config");
        EXPECT_EQ(SettingsFile::defaultPath(), "/home/ada/.config/kestrune/settings.ini");
    }
    ChangedVariable config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SettingsFile::defaultPath(), "/home/ada/.config/kestrune/settings.ini");
    ChangedVariable noHome("HOME", nullptr);
    EXPECT_EQ(SettingsFile::defaultPath(), "");
}
