// SPDX-License-Identifier: GPL-3.0-or-later
// Typing the console line: opening it, a key at a time, and the view's copy of
// it kept up to date.
#include "controller/ConsoleLine.h"

#include <iostream>

#include "view/ArenaView.h"

namespace {

constexpr unsigned char KEY_BACKSPACE = 8;
constexpr unsigned char KEY_BACKQUOTE = 96;
constexpr unsigned char KEY_TILDE = 126;

} // namespace

ConsoleLine::ConsoleLine(ArenaView& view)
    : view(view)
{
}

bool ConsoleLine::opens(unsigned char key) const
{
    return !active && (key == KEY_BACKQUOTE || key == KEY_TILDE);
}

void ConsoleLine::open()
{
    std::cout << "Console ON" << std::endl;
    active = true;
    line.clear();
    view.updateConsoleCommandEdition(line);
}

void ConsoleLine::grow(unsigned char key)
{
    if (key == KEY_BACKSPACE) {
        if (!line.empty()) {
            line.pop_back();
        }
    } else {
        line += static_cast<char>(key);
    }
    view.updateConsoleCommandEdition(line);
}

void ConsoleLine::close()
{
    active = false;
}

bool ConsoleLine::isActive() const
{
    return active;
}

const std::string& ConsoleLine::getLine() const
{
    return line;
}
