// SPDX-License-Identifier: GPL-3.0-or-later
// Reads console lines for the model, the view and the controller alike: echo,
// help, whole-line matching that survives hostile input, and refusals.
#include "console/ConsolePatterns.h"

#include <ostream>
#include <stdexcept>
#include <utility>

#include <boost/algorithm/string.hpp>

ConsolePatterns::ConsolePatterns(std::string prefix)
    : prefix(std::move(prefix))
{
}

void ConsolePatterns::add(const std::string& pattern, std::vector<std::string> help)
{
    rows.push_back(Row{boost::regex(pattern), std::move(help)});
}

std::string ConsolePatterns::receive(const std::string& line, std::ostream& out) const
{
    out << prefix << line << std::endl;
    std::string command = line;
    boost::algorithm::to_lower(command);
    boost::algorithm::trim(command);
    return command;
}

bool ConsolePatterns::answerHelp(const std::string& command, std::ostream& out) const
{
    if (command != "help") {
        return false;
    }
    for (const Row& row : rows) {
        for (const std::string& help : row.help) {
            out << help << std::endl;
        }
    }
    return true;
}

std::optional<std::size_t> ConsolePatterns::firstMatch(const std::string& command,
                                                       boost::smatch& groups) const
{
    for (std::size_t index = 0; index < rows.size(); ++index) {
        try {
            if (boost::regex_match(command, groups, rows[index].pattern)) {
                return index;
            }
        } catch (const std::runtime_error&) {
            // Boost gives up on a line that would take it too long or too
            // deep (a typed or pasted line is anyone's): that row is no match.
        }
    }
    return std::nullopt;
}

void ConsolePatterns::refuse(const std::string& why, std::ostream& out) const
{
    refuse(prefix, why, out);
}

void ConsolePatterns::refuse(const std::string& prefix, const std::string& why, std::ostream& out)
{
    out << prefix << why << std::endl;
}
