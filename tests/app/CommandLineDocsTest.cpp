// SPDX-License-Identifier: GPL-3.0-or-later
// The usage, the README's table of options and the manual page name the
// options of the game's option table, in its order.
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using Names = std::vector<std::string>;

std::string sourceFile(const std::string& relative)
{
    std::ifstream file(std::string(KESTRUNE_SOURCE_DIR) + "/" + relative);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The lines from the one that is exactly first up to the next one that
// starts with end.
std::vector<std::string> section(const std::string& text, const std::string& first, const std::string& end)
{
    std::istringstream lines(text);
    std::vector<std::string> found;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (inside && line.rfind(end, 0) == 0) {
            break;
        }
        if (inside) {
            found.push_back(line);
        }
        inside = inside || line == first;
    }
    return found;
}

// The words of a line that start with a dash, roff's "\-" read as "-".
Names dashedWords(std::string line)
{
    for (std::size_t at = line.find("\\-"); at != std::string::npos; at = line.find("\\-", at)) {
        line.erase(at, 1);
    }
    std::istringstream words(line);
    Names names;
    for (std::string word; words >> word;) {
        if (word[0] == '-') {
            names.push_back(word.back() == ',' ? word.substr(0, word.size() - 1) : word);
        }
    }
    return names;
}

void append(Names& names, const Names& more)
{
    names.insert(names.end(), more.begin(), more.end());
}

// "| `-w N` | ..." and "| `--wind`, `--no-wind` | ...": the first word of
// each quoted piece of the first cell.
Names readmeTable()
{
    Names names;
    for (const std::string& line : section(sourceFile("README.md"), "### Command-line options", "#")) {
        if (line.rfind("| `", 0) != 0) {
            continue;
        }
        const std::string cell = line.substr(2, line.find(" |", 2) - 2);
        for (std::size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open)) {
            const std::size_t close = cell.find('`', open + 1);
            std::istringstream quoted(cell.substr(open + 1, close - open - 1));
            std::string first;
            quoted >> first;
            names.push_back(first);
            open = close + 1;
        }
    }
    return names;
}

// The line after each ".TP" of OPTIONS names the option.
Names manualOptions()
{
    Names names;
    const std::vector<std::string> lines = section(sourceFile("data/kestrune.6.in"), ".SH OPTIONS", ".SH");
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == ".TP") {
            append(names, dashedWords(lines[i + 1]));
        }
    }
    return names;
}

Names manualSynopsis()
{
    Names names;
    for (const std::string& line : section(sourceFile("data/kestrune.6.in"), ".SH SYNOPSIS", ".SH")) {
        append(names, dashedWords(line));
    }
    return names;
}

// Option lines start with two blanks and a dash; the label ends at the
// first word without one.
Names usage()
{
    std::ostringstream text;
    printUsage(text);
    std::istringstream lines(text.str());
    Names names;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  -", 0) != 0) {
            continue;
        }
        std::istringstream words(line);
        for (std::string word; words >> word && word[0] == '-';) {
            names.push_back(word.back() == ',' ? word.substr(0, word.size() - 1) : word);
        }
    }
    return names;
}

} // namespace

TEST(CommandLineDocs, EveryListOfOptionsNamesTheTableInItsOrder)
{
    const Names table = commandLineOptionNames();
    ASSERT_EQ(table.size(), 27u);
    const struct {
        const char* where;
        std::function<Names()> names;
    } lists[] = {
        {"--help", usage},
        {"README.md's table", readmeTable},
        {"the manual's OPTIONS", manualOptions},
        {"the manual's SYNOPSIS", manualSynopsis},
    };
    for (const auto& list : lists) {
        EXPECT_EQ(list.names(), table) << list.where;
    }
}
