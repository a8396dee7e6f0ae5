// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game keeps what it writes as it plays (its replays):
// $XDG_STATE_HOME/kestrune, or ~/.local/state/kestrune.
#pragma once

#include <string>

// The folder, or "" when neither XDG_STATE_HOME (an absolute path) nor HOME is set.
std::string stateFolder();
