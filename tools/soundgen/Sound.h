// SPDX-License-Identifier: GPL-3.0-or-later
// A sound as the recipes make it (samples in doubles at RATE, any scale), and
// the finish every sound gets before it is written: no offset, a peak of 0.8
// of full scale, and short fades on the sounds that are played once.
#pragma once

#include <cstdint>
#include <vector>

namespace soundgen {

using Samples = std::vector<double>;

constexpr double PEAK = 0.8; // of full scale, about -2 dBFS

// Removes the mean, fades in over at most 4 ms and out over at most 40 ms,
// then scales the peak to PEAK.
void finishOneShot(Samples& sound);

// For a loop: removes the mean and scales the peak, but fades nothing, so
// that the last sample still leads into the first.
void finishLoop(Samples& sound);

// 16-bit samples, rounded and clamped.
std::vector<std::int16_t> toPcm(const Samples& sound);

} // namespace soundgen
