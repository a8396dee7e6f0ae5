// SPDX-License-Identifier: GPL-3.0-or-later
// The part of a console table that does not depend on who acts: the prefix a
// handler speaks with, and per row a compiled pattern and its help lines. It
// echoes and normalises a line, answers "help" and finds the row that acts.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <boost/regex.hpp>

class ConsolePatterns {
public:
    // prefix: starts the echo and every refusal, as in "Model: ".
    explicit ConsolePatterns(std::string prefix);

    // A row tried after every row added before it. The pattern is compiled
    // here, once; help may be empty for a form another row's help describes.
    void add(const std::string& pattern, std::vector<std::string> help);

    // Echoes the line exactly as received on out, then returns it lower-cased
    // and trimmed: the command the rows are matched against.
    std::string receive(const std::string& line, std::ostream& out) const;
    // For the command "help", prints every row's help lines in row order on
    // out and returns true: "help" is never a row's to act on.
    bool answerHelp(const std::string& command, std::ostream& out) const;
    // The first row whose pattern matches the whole command, its groups in
    // groups (which point into command). A row on which the matcher gives up
    // counts as not matching.
    std::optional<std::size_t> firstMatch(const std::string& command, boost::smatch& groups) const;

    // One line on out: the prefix, then why a setting was refused.
    void refuse(const std::string& why, std::ostream& out) const;
    // The same for code outside the table that speaks with its prefix.
    static void refuse(const std::string& prefix, const std::string& why, std::ostream& out);

private:
    struct Row {
        boost::regex pattern;
        std::vector<std::string> help;
    };

    std::string prefix;
    std::vector<Row> rows;
};
