// SPDX-License-Identifier: GPL-3.0-or-later
// kestrune_soundgen: synthesises the game's sixteen sounds and writes them as
// WAV files (16-bit, mono, 22050 Hz) into a folder that must exist.
//
//     kestrune_soundgen [folder]      (default: res/sounds)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "Maths.h"
#include "Sounds.h"
#include "WavWriter.h"

using namespace soundgen;

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "res/sounds";
    const std::vector<SoundFile> sounds = allSounds();
    for (const SoundFile& sound : sounds) {
        std::string error;
        if (!writeWav(folder + "/" + sound.name, sound.samples, error)) {
            std::cerr << "kestrune_soundgen: cannot write " << folder << "/" << sound.name << ": " << error
                      << std::endl;
            return 1;
        }
        double peak = 0;
        for (double sample : sound.samples) {
            peak = std::max(peak, std::abs(sample));
        }
        char line[128];
        std::snprintf(line, sizeof line, "%-20s %5.3f s, peak %.3f", sound.name.c_str(),
                      static_cast<double>(sound.samples.size()) / RATE, peak);
        std::cout << line << std::endl;
    }
    std::cout << "wrote " << sounds.size() << " files to " << folder << std::endl;
    return 0;
}
