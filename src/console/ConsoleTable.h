// SPDX-License-Identifier: GPL-3.0-or-later
// A console handler's commands as one table: rows of pattern, help lines and
// action, tried in order. The table holds no owner: one table per class,
// built once, serves every instance and every copy of it, and an action acts
// on the owner it is handed.
#pragma once

#include <cstddef>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <boost/regex.hpp>

#include "console/ConsolePatterns.h"

template <class Owner>
class ConsoleTable {
public:
    // groups: of the lower-cased, trimmed line; [0] is the whole of it.
    using Action = std::function<void(Owner&, const boost::smatch&)>;

    struct Row {
        std::string pattern; // must match the whole lower-cased, trimmed line
        std::vector<std::string> help; // printed by "help"; may be empty
        Action action;
    };

    // prefix: starts the echo and every refusal, as in "Model: ".
    ConsoleTable(std::string prefix, std::vector<Row> rows)
        : patterns(std::move(prefix))
    {
        for (Row& row : rows) {
            patterns.add(row.pattern, std::move(row.help));
            actions.push_back(std::move(row.action));
        }
    }

    // Echoes the line on out, then answers "help" or lets the first matching
    // row act on owner; a line no row matches is only echoed. True when the
    // line was help or a row took it.
    bool handle(Owner& owner, const std::string& line, std::ostream& out = std::cout) const
    {
        // The groups point into command: it lives until the action is done.
        const std::string command = patterns.receive(line, out);
        if (patterns.answerHelp(command, out)) {
            return true;
        }
        boost::smatch groups;
        if (const std::optional<std::size_t> row = patterns.firstMatch(command, groups)) {
            actions[*row](owner, groups);
            return true;
        }
        return false;
    }

    // One line on out: the prefix, then why a setting was refused.
    void refuse(const std::string& why, std::ostream& out = std::cout) const
    {
        patterns.refuse(why, out);
    }

private:
    ConsolePatterns patterns;
    std::vector<Action> actions; // one per row of patterns, in the same order
};
