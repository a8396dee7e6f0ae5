// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game keeps its files, after the XDG base directories: its settings
// in $XDG_CONFIG_HOME/kestrune (~/.config/kestrune), what it writes as it
// plays (its replays) in $XDG_STATE_HOME/kestrune (~/.local/state/kestrune).
#pragma once

#include <string>

// Each folder, or "" when neither its variable (an absolute path) nor HOME is
// set.
std::string configFolder();
std::string stateFolder();
