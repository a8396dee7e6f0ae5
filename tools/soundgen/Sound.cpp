// SPDX-License-Identifier: GPL-3.0-or-later
// The finish of every generated sound: centred, faded where it starts and
// stops, and normalised, so that none clicks or clips in the game.
#include "Sound.h"

#include <algorithm>
#include <cmath>

#include "Maths.h"

namespace soundgen {

namespace {

void removeMean(Samples& sound)
{
    double sum = 0;
    for (double sample : sound) {
        sum += sample;
    }
    const double mean = sum / static_cast<double>(sound.size());
    for (double& sample : sound) {
        sample -= mean;
    }
}

void normalise(Samples& sound)
{
    double peak = 0;
    for (double sample : sound) {
        peak = std::max(peak, std::abs(sample));
    }
    if (peak == 0) {
        return;
    }
    const double scale = PEAK / peak;
    for (double& sample : sound) {
        sample *= scale;
    }
}

} // namespace

void finishOneShot(Samples& sound)
{
    if (sound.empty()) {
        return;
    }
    removeMean(sound);
    const int length = static_cast<int>(sound.size());
    const int fadeIn = std::max(1, std::min(frames(0.004), length / 30));
    const int fadeOut = std::max(1, std::min(frames(0.040), length / 3));
    // Both fades reach 0 on the first and the last sample.
    Samples envelope(sound.size(), 1.0);
    for (int i = 0; i < fadeIn; ++i) {
        envelope[i] = sCurve(0, fadeIn, i);
    }
    for (int i = 0; i < fadeOut; ++i) {
        envelope[length - 1 - i] = sCurve(0, fadeOut, i);
    }
    double sum = 0;
    double weight = 0;
    for (int i = 0; i < length; ++i) {
        sound[i] *= envelope[i];
        sum += sound[i];
        weight += envelope[i];
    }
    // The fades leave a small offset in a short sound: it is taken out along
    // the same envelope, so that the ends stay at zero.
    for (int i = 0; i < length; ++i) {
        sound[i] -= sum / weight * envelope[i];
    }
    normalise(sound);
}

void finishLoop(Samples& sound)
{
    if (sound.empty()) {
        return;
    }
    removeMean(sound);
    normalise(sound);
    // Round the loop to start where it rises through zero most gently: a
    // player that starts it, or ends it at its end, does so without a click.
    std::size_t start = 0;
    double smallestStep = 2.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double before = sound[(i + sound.size() - 1) % sound.size()];
        if (before < 0.0 && sound[i] >= 0.0 && sound[i] - before < smallestStep) {
            smallestStep = sound[i] - before;
            start = i;
        }
    }
    std::rotate(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(start), sound.end());
}

std::vector<std::int16_t> toPcm(const Samples& sound)
{
    std::vector<std::int16_t> pcm;
    pcm.reserve(sound.size());
    for (double sample : sound) {
        const long level = std::lround(sample * 32767);
        pcm.push_back(static_cast<std::int16_t>(std::clamp(level, -32768L, 32767L)));
    }
    return pcm;
}

} // namespace soundgen
