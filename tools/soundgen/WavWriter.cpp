// SPDX-License-Identifier: GPL-3.0-or-later
// The sound generator's output: WAV files through libsndfile, byte for byte
// the same on every run.
#include "WavWriter.h"

#include <sndfile.h>

#include "Maths.h"

namespace soundgen {

bool writeWav(const std::string& path, const Samples& sound, std::string& error)
{
    const std::vector<std::int16_t> pcm = toPcm(sound);
    SF_INFO info{};
    info.samplerate = RATE;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = sf_strerror(nullptr);
        return false;
    }
    // The PEAK chunk holds the time of writing, which would make every run's
    // file differ.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    const sf_count_t count = static_cast<sf_count_t>(pcm.size());
    const bool whole = sf_write_short(file, pcm.data(), count) == count;
    if (!whole) {
        error = sf_strerror(file);
    }
    if (sf_close(file) != 0 && whole) {
        error = "cannot close the file";
        return false;
    }
    return whole;
}

} // namespace soundgen
