// SPDX-License-Identifier: GPL-3.0-or-later
// The built programs as they are installed: the checker needs no graphics or
// sound library, and the game takes no random number from the C library.
#include <gtest/gtest.h>

#include "support/GameProcess.h"

TEST(CheckerProgram, LinksNoGraphicsOrSoundLibrary)
{
    const std::optional<std::string> libraries = runCommand(std::string("ldd ") + KESTRUNE_REPLAY_BINARY);
    ASSERT_TRUE(libraries.has_value());
    EXPECT_NE(libraries->find("libc.so"), std::string::npos);
    for (const char* forbidden : {"libGL", "libglut", "libGLU", "libX11", "libopenal", "libsndfile", "libasound"}) {
        EXPECT_EQ(libraries->find(forbidden), std::string::npos) << forbidden << " in\n" << *libraries;
    }
}

TEST(CheckerProgram, TheGameImportsNoneOfTheCLibrarysRandomNumbers)
{
    const std::optional<std::string> imports =
        runCommand(std::string("nm -D --undefined-only ") + KESTRUNE_BINARY + " | awk '{print $NF}'");
    ASSERT_TRUE(imports.has_value());
    EXPECT_NE(imports->find("glutInit"), std::string::npos);
    for (const std::string symbol : {"rand", "srand", "random", "srandom"}) {
        EXPECT_EQ(("\n" + *imports).find("\n" + symbol + "\n"), std::string::npos) << symbol;
    }
}

TEST(CheckerProgram, SaysHowToUseItAndFailsWithoutAFile)
{
    const std::string checker = KESTRUNE_REPLAY_BINARY;
    EXPECT_EQ(runCommand(checker + " 2>/dev/null; echo exit=$?"), "exit=2\n");
    const std::optional<std::string> help = runCommand(checker + " --help");
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->rfind("Usage: kestrune-replay FILE...", 0), 0u);
    EXPECT_EQ(runCommand(checker + " /nonexistent.replay; echo exit=$?"),
              "/nonexistent.replay: cannot be read (No such file or directory)\nexit=1\n");
}
