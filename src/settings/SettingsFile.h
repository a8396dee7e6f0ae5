// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: the set-up of the last game started from the set-up
// screen, kept between runs as a small INI file that a player may also edit.
#pragma once

#include <iosfwd>
#include <string>

#include "settings/GameSetup.h"

class SettingsFile {
public:
    // $XDG_CONFIG_HOME/kestrune/settings.ini when XDG_CONFIG_HOME holds an
    // absolute path, else $HOME/.config/kestrune/settings.ini; "" when
    // neither is set.
    static std::string defaultPath();

    explicit SettingsFile(std::string path);
    const std::string& getPath() const;

    // Reads the remembered set-up over `setup`: every value that reads well
    // replaces the one in setup, everything else is left as it was. True when
    // the whole file read well; otherwise one line on err says what did not,
    // however many things did not. Never blocks on what stands at the path.
    bool read(GameSetup& setup, std::ostream& err) const;

    // Writes setup atomically: a temporary file in the same folder, flushed
    // and synced, then renamed over the file; missing folders are made
    // (0755) and the file ends up 0666 less the umask, as a new file would.
    // A symbolic link at the path stays a link: its target is the file
    // rewritten, through a temporary file in the target's folder. A set-up
    // the file could not give back the same is not written. False and one
    // line on err when it cannot write; then no temporary file is left and
    // an older file is untouched.
    bool write(const GameSetup& setup, std::ostream& err) const;

private:
    std::string path;
};
