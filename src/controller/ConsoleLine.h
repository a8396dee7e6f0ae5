// SPDX-License-Identifier: GPL-3.0-or-later
// The console line being typed: opened by the backquote or the tilde, edited
// one key at a time (Backspace erases, every other key is typed, Escape
// included), closed by Enter. The view shows a copy of it after each change.
#pragma once

#include <string>

class ArenaView;

class ConsoleLine {
public:
    // view: not owned; outlives the line.
    explicit ConsoleLine(ArenaView& view);

    // True for a key that, pressed now, opens the line.
    bool opens(unsigned char key) const;
    // An empty line, open for typing.
    void open();
    void grow(unsigned char key);
    // Enter: the line stays as typed until the next open.
    void close();
    bool isActive() const;
    const std::string& getLine() const;

private:
    ArenaView& view; // not owned
    bool active = false;
    std::string line;
};
