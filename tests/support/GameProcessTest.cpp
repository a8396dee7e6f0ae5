// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/GameProcess.h"

#ifdef KESTRUNE_SANITIZE

// A stand-in for a game whose leak checker crashed at its very end, and one
// whose sanitizers reported a fault: only the first exit counts as clean.
TEST(GameProcessExit, ALeakCheckerCrashAloneCountsAsTheCleanExitItFollowed)
{
    GameProcess crashed({"-c", "echo Quitting; echo a warning >&2; "
                               "echo 'Tracer caught signal 11: addr=0x0' >&2; "
                               "echo '==7==LeakSanitizer has encountered a fatal error.' >&2; exit 1"},
                        "", {}, "/bin/sh");
    EXPECT_EQ(crashed.waitForExit(), 0);
    EXPECT_EQ(crashed.errorText(), "a warning\n");

    GameProcess leaked({"-c", "echo '==7==ERROR: LeakSanitizer: detected memory leaks' >&2; "
                              "echo 'Tracer caught signal 11' >&2; "
                              "echo '==7==LeakSanitizer has encountered a fatal error.' >&2; exit 1"},
                       "", {}, "/bin/sh");
    EXPECT_EQ(leaked.waitForExit(), 1);
}

#endif
