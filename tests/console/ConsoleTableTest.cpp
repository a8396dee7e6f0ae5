// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console/ConsoleTable.h"

namespace {

// An owner that only remembers what its rows told it.
struct Notebook {
    std::vector<std::string> notes;
};

using Groups = boost::smatch;

ConsoleTable<Notebook>::Action note(const std::string& what)
{
    return [what](Notebook& book, const Groups& g) { book.notes.push_back(what + " " + g[1].str()); };
}

// Built once and shared, as the game's handlers build theirs.
const ConsoleTable<Notebook>& walkTable()
{
    static const ConsoleTable<Notebook> table("Walk: ", {
        {"go (\\d+)", {"go steps", "  go 3"}, note("steps")},
        {"go (\\w+)", {}, note("towards")},
        {"turn (left|right)", {"turn left/right"}, note("turn")},
    });
    return table;
}

std::string handled(const ConsoleTable<Notebook>& table, Notebook& book, const std::string& line)
{
    testing::internal::CaptureStdout();
    table.handle(book, line);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(ConsoleTable, EchoesTheLineAsReceivedAndMatchesItWithoutCaseOrSurroundingBlanks)
{
    Notebook book;
    EXPECT_EQ(handled(walkTable(), book, "  TURN Left \t"), "Walk:   TURN Left \t\n");
    EXPECT_EQ(book.notes, std::vector<std::string>{"turn left"});
}

TEST(ConsoleTable, TheFirstMatchingRowActs)
{
    Notebook book;
    handled(walkTable(), book, "go 12");
    handled(walkTable(), book, "go north");
    EXPECT_EQ(book.notes, (std::vector<std::string>{"steps 12", "towards north"}));
}

TEST(ConsoleTable, ALineNoRowMatchesWhollyIsOnlyEchoed)
{
    Notebook book;
    for (const std::string line : {"go", "go 3 north", "turn back", "jump", ""}) {
        EXPECT_EQ(handled(walkTable(), book, line), "Walk: " + line + "\n");
    }
    EXPECT_TRUE(book.notes.empty());
}

TEST(ConsoleTable, HelpPrintsTheRowsHelpLinesInRowOrderAndNothingActs)
{
    Notebook book;
    EXPECT_EQ(handled(walkTable(), book, " Help "), "Walk:  Help \ngo steps\n  go 3\nturn left/right\n");
    EXPECT_TRUE(book.notes.empty());
}

TEST(ConsoleTable, ALineTheMatcherGivesUpOnMatchesNoRowAndTheNextRowIsTried)
{
    // Boost refuses to backtrack through every way of splitting the x's.
    const ConsoleTable<Notebook> table("Test: ", {
        {"((x+x+)+)y", {}, note("hostile")},
        {"(x+)", {}, note("plain")},
    });
    Notebook book;
    const std::string line(40, 'x');
    EXPECT_EQ(handled(table, book, line), "Test: " + line + "\n");
    EXPECT_EQ(book.notes, std::vector<std::string>{"plain " + line});
}

TEST(ConsoleTable, ARowActsOnTheOwnerItIsHandedSoACopyIsActedOnAlone)
{
    Notebook original;
    handled(walkTable(), original, "go 1");
    Notebook copy = original;
    handled(walkTable(), copy, "go 2");
    EXPECT_EQ(original.notes, std::vector<std::string>{"steps 1"});
    EXPECT_EQ(copy.notes, (std::vector<std::string>{"steps 1", "steps 2"}));
}

TEST(ConsoleTable, ARefusalIsOneLineInTheTablesVoice)
{
    static const ConsoleTable<Notebook> table("Gate: ", {
        {"open (\\w+)", {}, [](Notebook&, const Groups& g) { table.refuse(g[1].str() + " stays shut"); }},
    });
    Notebook book;
    EXPECT_EQ(handled(table, book, "Open North"), "Gate: Open North\nGate: north stays shut\n");
}
