// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game finds its data files. The folders are tried in order, and the
// first that holds every file wins: the one named on the command line, the one
// in $KESTRUNE_DATA, ./res, res/ beside the executable, and the installed data
// folder (for the prefix the game was built for, and for the prefix it is
// actually installed under, found from the executable's place).
#pragma once

#include <string>
#include <vector>

// The folders to try; dataDirOption is the --data-dir value, "" when absent.
std::vector<std::string> dataFolderCandidates(const std::string& dataDirOption);

// The first folder holding every one of the files, or "".
std::string findDataFolder(const std::vector<std::string>& candidates, const std::vector<std::string>& files);

// The folder that holds the running executable, or "" when it cannot be told.
std::string executableFolder();
