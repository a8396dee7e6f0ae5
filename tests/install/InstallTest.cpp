// SPDX-License-Identifier: GPL-3.0-or-later
// Kestrune installed like a Linux game: a prefix holding the program, its data,
// a desktop entry, an icon, AppStream metadata and a manual page; the game run
// from there finds its art from any folder; a Debian package of it all.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"
#include "support/SoundFiles.h"

namespace {

const std::vector<std::string> DATA_FILES = {
    "arrow.wrl", "grassCube.wrl", "dirtCube.wrl", "fireball.wrl", "wizard.wrl", "sorcerer.wrl",
    "wizard_kill.wrl", "wizard_spell.wrl", "wizard_hit.wrl", "wizard_idle.wrl",
    "sorcerer_kill.wrl", "sorcerer_spell.wrl", "sorcerer_hit.wrl", "sorcerer_idle.wrl"};

bool exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string freshFolder(const std::string& name)
{
    std::string folder = artifactPath(name);
    runCommand("rm -rf '" + folder + "' && mkdir -p '" + folder + "'");
    return folder;
}

// One installation for the whole suite, into a folder of the build tree.
const std::string& prefix()
{
    static const std::string folder = [] {
        std::string target = freshFolder("installed");
        runCommand(std::string(KESTRUNE_CMAKE) + " --install '" + KESTRUNE_BUILD_DIR + "' --prefix '" + target
                   + "' > /dev/null");
        return target;
    }();
    return folder;
}

std::string installedGame()
{
    return prefix() + "/games/kestrune";
}

// Starts the installed game from an empty folder, with no data in its
// environment unless asked.
struct InstalledGame {
    explicit InstalledGame(std::vector<std::string> arguments, std::vector<std::string> environment = {"KESTRUNE_DATA"})
        : game(std::move(arguments), freshFolder("elsewhere"), std::move(environment), installedGame())
    {
    }
    GameProcess game;
};

void quit(GameProcess& game)
{
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0) << game.errorText();
}

} // namespace

TEST(EndToEndInstall, ThePrefixHoldsTheGameAndEverythingAroundIt)
{
    const std::string& root = prefix();
    EXPECT_TRUE(exists(root + "/games/kestrune"));
    EXPECT_TRUE(exists(root + "/games/kestrune-replay"));
    EXPECT_TRUE(exists(root + "/share/man/man6/kestrune-replay.6.gz"));
    EXPECT_TRUE(exists(root + "/games/kestrune-server"));
    EXPECT_TRUE(exists(root + "/share/man/man6/kestrune-server.6.gz"));
    EXPECT_TRUE(exists(root + "/share/doc/kestrune/kestrune-server.service"));
    for (const std::string& file : DATA_FILES) {
        EXPECT_TRUE(exists(root + "/share/games/kestrune/res/" + file)) << file;
    }
    for (const std::string& file : SOUND_FILES) {
        EXPECT_TRUE(exists(root + "/share/games/kestrune/res/sounds/" + file)) << file;
    }
    EXPECT_TRUE(exists(root + "/share/applications/kestrune.desktop"));
    EXPECT_TRUE(exists(root + "/share/metainfo/kestrune.metainfo.xml"));
    EXPECT_TRUE(exists(root + "/share/man/man6/kestrune.6.gz"));
    EXPECT_TRUE(exists(root + "/share/doc/kestrune/copyright"));
    EXPECT_TRUE(exists(root + "/share/doc/kestrune/changelog.gz"));
    std::string icon = root + "/share/icons/hicolor/128x128/apps/kestrune.png";
    ASSERT_TRUE(exists(icon));
    EXPECT_EQ(imageSize(icon), std::make_pair(128, 128));
}

TEST(EndToEndInstall, TheIconIsTheWizardOnATransparentGround)
{
    auto icon = readImage(prefix() + "/share/icons/hicolor/128x128/apps/kestrune.png");
    ASSERT_TRUE(icon.has_value());
    auto alpha = runCommand("convert '" + prefix()
                            + "/share/icons/hicolor/128x128/apps/kestrune.png' -alpha extract -format '%[fx:mean]' info:");
    ASSERT_TRUE(alpha.has_value());
    const double covered = std::atof(alpha->c_str());
    EXPECT_GT(covered, 0.15);
    EXPECT_LT(covered, 0.6);
    // The robe's blue.
    EXPECT_GT(icon->count([](int r, int g, int b) { return b > 150 && b > r + 60 && b > g + 40; }), 1000);
}

TEST(EndToEndInstall, TheInstalledGameFindsItsArtFromAnyFolder)
{
    InstalledGame installed({"--seed", "2006", "--no-autocamera"});
    GameProcess& game = installed.game;
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    EXPECT_EQ(game.errorText(), "kestrune: game data from " + prefix() + "/share/games/kestrune/res\n");
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(game.key("v"));
    std::optional<Image> image = grabUntil(game, "installed-game.png", [](const Image& shown) {
        return shown.count([](int r, int g, int b) { return g > r + 30 && g > b + 30; }) > 10000;
    });
    ASSERT_TRUE(image.has_value());
    EXPECT_GT(image->count([](int r, int g, int b) { return g > r + 30 && g > b + 30; }), 10000);
    EXPECT_GT(image->count([](int, int g, int b) { return b > g + 30 && b > 60; }), 40);
    quit(game);
}

TEST(EndToEndInstall, TheDataDirOptionAndTheEnvironmentWinOverTheDefaults)
{
    std::string option = freshFolder("data-from-option");
    std::string environment = freshFolder("data-from-environment");
    runCommand("cp -r '" + prefix() + "'/share/games/kestrune/res/. '" + option + "'");
    runCommand("cp -r '" + prefix() + "'/share/games/kestrune/res/. '" + environment + "'");
    {
        InstalledGame installed({}, {"KESTRUNE_DATA=" + environment});
        ASSERT_TRUE(installed.game.waitForLine("Reshape 800 600"));
        EXPECT_EQ(installed.game.errorText(), "kestrune: game data from " + environment + "\n");
        quit(installed.game);
    }
    {
        InstalledGame installed({"--data-dir", option}, {"KESTRUNE_DATA=" + environment});
        ASSERT_TRUE(installed.game.waitForLine("Reshape 800 600"));
        EXPECT_EQ(installed.game.errorText(), "kestrune: game data from " + option + "\n");
        quit(installed.game);
    }
    {
        // A folder that lacks a file does not count.
        runCommand("rm '" + option + "/wizard_idle.wrl'");
        InstalledGame installed({"--data-dir", option});
        ASSERT_TRUE(installed.game.waitForLine("Reshape 800 600"));
        EXPECT_EQ(installed.game.errorText(), "kestrune: game data from " + prefix() + "/share/games/kestrune/res\n");
        quit(installed.game);
    }
}

TEST(EndToEndInstall, WithoutItsDataTheGameSaysWhereItLookedAndStillRuns)
{
    std::string bare = freshFolder("bare-install");
    runCommand("cp '" + installedGame() + "' '" + bare + "/kestrune'");
    GameProcess game({"--data-dir", "/no/such/folder"}, freshFolder("elsewhere"), {"KESTRUNE_DATA"}, bare + "/kestrune");
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    std::string errors = game.errorText();
    EXPECT_EQ(errors.rfind("kestrune: the game's data files were not found; looked in: /no/such/folder ./res ", 0), 0u)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    // With empty meshes the map is still built and played.
    EXPECT_TRUE(game.running());
    quit(game);
}

TEST(EndToEndInstall, TheDesktopEntryAndTheMetadataValidate)
{
    auto desktop = runCommand("desktop-file-validate '" + prefix() + "/share/applications/kestrune.desktop' 2>&1");
    ASSERT_TRUE(desktop.has_value());
    EXPECT_EQ(*desktop, "");
    auto entry = runCommand("cat '" + prefix() + "/share/applications/kestrune.desktop'");
    ASSERT_TRUE(entry.has_value());
    EXPECT_NE(entry->find("Categories=Game;StrategyGame;"), std::string::npos);
    EXPECT_NE(entry->find("Exec=kestrune"), std::string::npos);
    // Not even a pedantic note; the licence and this version's release are
    // in it.
    const std::string metainfo = prefix() + "/share/metainfo/kestrune.metainfo.xml";
    auto validation = runCommand("appstreamcli validate --pedantic --no-net '" + metainfo + "' 2>&1");
    ASSERT_TRUE(validation.has_value()) << "appstreamcli found problems";
    EXPECT_EQ(validation->find("pedantic"), std::string::npos) << *validation;
    auto metadata = runCommand("cat '" + metainfo + "'");
    ASSERT_TRUE(metadata.has_value());
    EXPECT_NE(metadata->find("<project_license>GPL-3.0-or-later</project_license>"), std::string::npos);
    EXPECT_NE(metadata->find(std::string("<release version=\"") + KESTRUNE_VERSION + "\""), std::string::npos);
}

TEST(EndToEndInstall, TheManualPageRendersWithoutWarnings)
{
    std::string page = prefix() + "/share/man/man6/kestrune.6.gz";
    auto warnings = runCommand("zcat '" + page + "' | groff -man -ww -Tutf8 2>&1 >/dev/null");
    ASSERT_TRUE(warnings.has_value());
    EXPECT_EQ(*warnings, "");
    auto text = runCommand("MANWIDTH=80 man -l '" + page + "' 2>/dev/null | col -b");
    ASSERT_TRUE(text.has_value());
    for (const std::string& section :
         {std::string("OPTIONS"), std::string("CONTROLS"), std::string("CONSOLE COMMANDS"), std::string("FILES"),
          std::string("--data-dir"), std::string("--version"), std::string("set radius_bomb_size"),
          std::string("set speed"), std::string("set grid"), std::string("COPYRIGHT"),
          std::string("/usr/share/doc/kestrune/copyright"), std::string("Kestrune ") + KESTRUNE_VERSION}) {
        EXPECT_NE(text->find(section), std::string::npos) << section;
    }
}

TEST(EndToEndInstall, ADebianPackageHoldsTheWholeGame)
{
    std::string output = freshFolder("package");
    ASSERT_TRUE(runCommand("cd '" + std::string(KESTRUNE_BUILD_DIR) + "' && " + KESTRUNE_CPACK + " -G DEB -B '" + output
                           + "' > /dev/null 2>&1")
                    .has_value());
    auto package = runCommand("ls '" + output + "'/kestrune_*.deb");
    ASSERT_TRUE(package.has_value());
    std::string deb = package->substr(0, package->find('\n'));
    auto contents = runCommand("dpkg-deb --contents '" + deb + "'");
    ASSERT_TRUE(contents.has_value());
    for (const std::string& file :
         {std::string("./usr/games/kestrune"), std::string("./usr/games/kestrune-replay"), std::string("./usr/games/kestrune-server"),
          std::string("./usr/share/man/man6/kestrune-replay.6.gz"), std::string("./usr/share/applications/kestrune.desktop"),
          std::string("./usr/share/icons/hicolor/128x128/apps/kestrune.png"),
          std::string("./usr/share/metainfo/kestrune.metainfo.xml"), std::string("./usr/share/man/man6/kestrune.6.gz"),
          std::string("./usr/share/games/kestrune/res/wizard.wrl"),
          std::string("./usr/share/games/kestrune/res/sounds/fanfare.wav"),
          std::string("./usr/share/doc/kestrune/copyright"),
          std::string("./usr/share/doc/kestrune/changelog.gz"), std::string("./usr/share/lintian/overrides/kestrune")}) {
        EXPECT_NE(contents->find(file + "\n"), std::string::npos) << file;
    }
    auto depends = runCommand("dpkg-deb --field '" + deb + "' Depends");
    ASSERT_TRUE(depends.has_value());
    for (const char* library : {"libglut", "libglu", "libboost-regex", "libopenal1", "libsndfile1", "libenet7"}) {
        EXPECT_NE(depends->find(library), std::string::npos) << *depends;
    }
    auto version = runCommand("dpkg-deb --field '" + deb + "' Version");
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, std::string(KESTRUNE_VERSION) + "\n");

    // Inside: a stripped program, the machine-readable copyright under the
    // GPL, the project's changelog compressed.
    const std::string unpacked = freshFolder("package-contents");
    ASSERT_TRUE(runCommand("dpkg-deb -x '" + deb + "' '" + unpacked + "'").has_value());
    auto program = runCommand("file -b '" + unpacked + "/usr/games/kestrune'");
    ASSERT_TRUE(program.has_value());
    EXPECT_NE(program->find(", stripped"), std::string::npos) << *program;
    auto copyright = runCommand("cat '" + unpacked + "/usr/share/doc/kestrune/copyright'");
    ASSERT_TRUE(copyright.has_value());
    EXPECT_EQ(copyright->rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n", 0), 0u);
    EXPECT_NE(copyright->find("License: GPL-3.0+\n"), std::string::npos);
    auto changelog = runCommand("zcat '" + unpacked + "/usr/share/doc/kestrune/changelog.gz'");
    auto source = runCommand("cat '" + std::string(KESTRUNE_SOURCE_DIR) + "/CHANGELOG.md'");
    ASSERT_TRUE(changelog.has_value() && source.has_value());
    EXPECT_EQ(*changelog, *source);
    EXPECT_NE(changelog->find("## " + std::string(KESTRUNE_VERSION) + " "), std::string::npos);
}

namespace {

// What Debian's checker says of a package: its error and warning lines.
std::vector<std::string> lintianComplaints(const std::string& deb)
{
    auto report = runCommand("lintian '" + deb + "' 2>/dev/null; true");
    std::vector<std::string> complaints;
    if (!report) {
        complaints.push_back("lintian did not run");
        return complaints;
    }
    std::istringstream lines(*report);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("E: ", 0) == 0 || line.rfind("W: ", 0) == 0) {
            complaints.push_back(line);
        }
    }
    return complaints;
}

std::string packageWith(const std::string& folder, const std::string& cpackArguments)
{
    const std::string output = freshFolder(folder);
    runCommand("cd '" + std::string(KESTRUNE_BUILD_DIR) + "' && " + KESTRUNE_CPACK + " -G DEB -B '" + output + "' "
               + cpackArguments + " > /dev/null 2>&1");
    auto package = runCommand("ls '" + output + "'/kestrune_*.deb");
    return package ? package->substr(0, package->find('\n')) : "";
}

} // namespace

TEST(EndToEndInstall, DebiansCheckerAcceptsThePackage)
{
    // With the placeholder maintainer, its address is all it finds wrong.
    const std::string placeholder = packageWith("package-placeholder", "");
    ASSERT_FALSE(placeholder.empty());
    EXPECT_EQ(lintianComplaints(placeholder),
              std::vector<std::string>{"E: kestrune: bogus-mail-host Maintainer kestrune@localhost"});
    // Published under a real name and address, nothing.
    const std::string published =
        packageWith("package-published", "-D 'CPACK_DEBIAN_PACKAGE_MAINTAINER=Ada Publisher <ada@kestrune.org>'");
    ASSERT_FALSE(published.empty());
    EXPECT_EQ(lintianComplaints(published), std::vector<std::string>{});
}
