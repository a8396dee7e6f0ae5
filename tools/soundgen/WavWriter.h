// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a finished sound as a WAV file the way the game's files are kept:
// 16-bit PCM, one channel, RATE frames per second, nothing that changes from
// one run to the next.
#pragma once

#include <string>

#include "Sound.h"

namespace soundgen {

// False, with the reason in error, when the file cannot be written whole.
bool writeWav(const std::string& path, const Samples& sound, std::string& error);

} // namespace soundgen
