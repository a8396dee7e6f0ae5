// Where the game finds its data files: in ./res first, then in res/ beside
// the executable, then in the installed data folder.
#pragma once

#include <string>

// The path to open for a data file named like "res/wizard.wrl". When no
// folder holds it the name comes back unchanged, so that opening it fails
// and the loader's warning names it.
std::string resourcePath(const std::string& name);

// The folder that holds the running executable, or "" when it cannot be told.
std::string executableFolder();
