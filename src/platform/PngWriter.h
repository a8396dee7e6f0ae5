// SPDX-License-Identifier: GPL-3.0-or-later
// Writes 8-bit RGB or RGBA pictures as PNG files, with no library beyond the
// standard one: stored (uncompressed) deflate blocks.
#pragma once

#include <string>
#include <vector>

// pixels: rows of width * channels bytes (channels 3 or 4), the first row at
// the bottom when bottomUp (as OpenGL reads them), else at the top.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels,
              int channels, bool bottomUp);
