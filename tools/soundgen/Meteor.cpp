// SPDX-License-Identifier: GPL-3.0-or-later
// The meteor's sounds: a heavy rock torn loose and hurled, and the crack with
// which it breaks in three at the top of its arc.
#include <algorithm>
#include <cmath>

#include "Filter.h"
#include "Maths.h"
#include "Noise.h"
#include "Sounds.h"

namespace soundgen {

// A deep growl that sinks as the rock is heaved up, a grinding band of noise
// that falls with it, and grit: short dry clicks of stone on stone.
Samples castMeteor()
{
    const double length = 1.0;
    Noise noise(0x3E7E0);
    Filter grind;
    Filter grit;
    grit.tune(1800, 0.9);
    double growl = 0; // turns
    double click = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double x = i / (length * RATE);
        growl += glide(75, 42, x) / RATE;
        grind.tune(glide(700, 140, x), 2.0);
        if (noise.uniform() < 0.004 * (1 - x)) {
            click = noise.uniform() < 0.5 ? -1 : 1;
        }
        click *= 0.7;
        const double rumble = sine(growl) + 0.4 * sine(2 * growl + 0.1) + 0.25 * sine(3 * growl);
        const double stone = grind.process(noise.white()).band;
        const double crackle = grit.process(click * noise.white()).band;
        const double swell = sCurve(0, 0.15, x) * (1 - sCurve(0.7, 1, x));
        sound[i] = saturate(swell * (0.8 * rumble + 1.5 * stone + 1.2 * crackle));
    }
    return sound;
}

// A sharp crack of stone, then three whistles that part from one another as
// the fragments fly apart: the middle one holds its pitch, the outer two bend
// away from it, one up and one down.
Samples splitMeteor()
{
    const double length = 0.8;
    Noise noise(0x59117);
    Filter crack;
    Filter whistles[3];
    const double bend[3] = {-0.5, 0.0, 0.4}; // octaves by the end
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double x = t / length;
        crack.tune(glide(5000, 900, std::min(t / 0.1, 1.0)), 0.8);
        const double snap = crack.process(noise.white()).high * halving(t, 0.02);
        double air = 0;
        for (int part = 0; part < 3; ++part) {
            whistles[part].tune(1400 * power2(bend[part] * sCurve(0.05, 0.6, t)), 9);
            air += whistles[part].process(noise.white()).band;
        }
        const double swell = sCurve(0.02, 0.12, t) * (1 - sCurve(0.5, 1, x));
        sound[i] = saturate(3 * snap + 0.6 * swell * air);
    }
    return sound;
}

} // namespace soundgen
