// SPDX-License-Identifier: GPL-3.0-or-later
// A two-pole state-variable filter (the trapezoidal form) with low-, band- and
// high-pass outputs at once. It stays stable while its cut-off moves every
// sample, which the sweeps need.
#pragma once

namespace soundgen {

class Filter {
public:
    struct Output {
        double low = 0;
        double band = 0;
        double high = 0;
    };

    // cutoff in Hz; resonance is Q: 0.5 for none, 0.707 for a flat pass
    // band, more for a ringing peak (the band output's gain there is Q).
    void tune(double cutoff, double resonance);
    Output process(double input);

private:
    double gain = 0;
    double damping = 2;
    double first = 0;  // the two integrators' states
    double second = 0;
};

} // namespace soundgen
