// SPDX-License-Identifier: GPL-3.0-or-later
// The sound generator's filter: noise becomes wind, whooshes and rumbles
// through it.
#include "Filter.h"

#include <algorithm>

#include "Maths.h"

namespace soundgen {

void Filter::tune(double cutoff, double resonance)
{
    // tan(pi f / rate), kept clear of Nyquist where it grows without bound.
    const double turns = std::clamp(cutoff / RATE, 1e-5, 0.49) / 2;
    gain = sine(turns) / cosine(turns);
    damping = 1 / resonance;
}

Filter::Output Filter::process(double input)
{
    Output out;
    out.high = (input - (gain + damping) * first - second) / (1 + gain * (gain + damping));
    out.band = gain * out.high + first;
    first = gain * out.high + out.band;
    out.low = gain * out.band + second;
    second = gain * out.band + out.low;
    return out;
}

} // namespace soundgen
