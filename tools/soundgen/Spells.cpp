// SPDX-License-Identifier: GPL-3.0-or-later
// The spells' sounds: each cast, the shot in flight, and what each spell does
// where it lands.
#include <algorithm>
#include <cmath>

#include "Filter.h"
#include "Maths.h"
#include "Noise.h"
#include "Sounds.h"

namespace soundgen {

// A rising whoosh of noise whose band climbs with the flame, and the
// crackle of sparks, thicker as it grows.
Samples castFireball()
{
    const double length = 0.9;
    Noise noise(0x0F1AE);
    Filter whoosh;
    Filter body;
    Filter sparks;
    sparks.tune(2500, 0.7);
    double spark = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double x = i / (length * RATE);
        const double rise = std::min(x / 0.8, 1.0);
        whoosh.tune(glide(300, 4000, rise), 1.2);
        body.tune(glide(200, 900, rise), 0.7);
        const double air = whoosh.process(noise.white()).band + 0.5 * body.process(noise.white()).low;
        // A spark is a burst of noise half a millisecond long.
        if (noise.uniform() < 0.0015 + 0.006 * x) {
            spark = (0.5 + 0.5 * noise.uniform()) * (noise.uniform() < 0.5 ? -1 : 1);
        }
        spark *= 0.82;
        const double crackle = sparks.process(spark * noise.white()).high;
        const double swell = sCurve(0, 0.6, x) * (1 - sCurve(0.75, 1, x));
        sound[i] = swell * (air + 2.5 * crackle);
    }
    return sound;
}

// Noise through two narrow bands that circle each other ever faster, rising
// and falling: air spun into a funnel. Each band is two filters in a row, so
// that little noise passes far from it.
Samples castCyclone()
{
    const double length = 1.1;
    Noise noise(0xC1C10);
    Filter low[2];
    Filter high[2];
    double swirl = 0;  // turns
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double x = i / (length * RATE);
        swirl += glide(3, 9, x) / RATE;
        const double centre = glide(180, 800, sine(x / 2));
        for (int stage = 0; stage < 2; ++stage) {
            low[stage].tune(centre * power2(0.7 * sine(swirl)), 3);
            high[stage].tune(1.5 * centre * power2(0.7 * sine(swirl + 0.5)), 3);
        }
        const double input = noise.white();
        const double spun = low[1].process(low[0].process(input).band).band
                          + 0.7 * high[1].process(high[0].process(input).band).band;
        const double swell = sCurve(0, 0.25, x) * (1 - sCurve(0.7, 1, x));
        sound[i] = swell * (0.75 + 0.25 * sine(swirl + 0.25)) * spun;
    }
    return sound;
}

// A bright A major chord struck note by note, each note a pair of slightly
// detuned voices that beat against each other, under a fast tremolo.
Samples castNova()
{
    const double length = 1.2;
    const int chord[] = {16, 19, 24, 28};  // C#6, E6, A6, C#7
    Samples sound(frames(length));
    for (int voice = 0; voice < 4; ++voice) {
        const double frequency = note(chord[voice]);
        const double start = 0.05 * voice;
        for (std::size_t i = 0; i < sound.size(); ++i) {
            const double t = static_cast<double>(i) / RATE - start;
            if (t < 0) {
                continue;
            }
            const double level = sCurve(0, 0.03, t) * halving(std::max(0.0, t - 0.25), 0.3);
            const double tone = sine((frequency - 3) * t) + sine((frequency + 3) * t)
                              + 0.2 * sine(2 * frequency * t) + 0.1 * sine(3 * frequency * t);
            sound[i] += level * tone;
        }
    }
    for (std::size_t i = 0; i < sound.size(); ++i) {
        sound[i] *= 1 + 0.3 * sine(11.0 * i / RATE);
    }
    return sound;
}

// One second of rushing flame with a low hum, that loops: every tone and
// every wobble has a whole number of periods in the second, and the noise is
// filtered round the loop twice, so that its end leads into its start as
// any sample leads into the next.
Samples flight()
{
    const int length = RATE;
    Noise noise(0xF11E);
    Samples white(length);
    for (double& sample : white) {
        sample = noise.white();
    }
    Filter flame;
    Samples sound(length);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < length; ++i) {
            const double turns = static_cast<double>(i) / length;  // of the loop
            flame.tune(700 * power2(0.5 * sine(2 * turns)), 0.9);
            const double rush = flame.process(white[i]).low * (0.6 + 0.4 * sine(4 * turns));
            const double hum = 0.35 * sine(110 * turns) + 0.15 * sine(220 * turns) + 0.1 * sine(165 * turns);
            sound[i] = (2.0 * rush + hum) * (1 + 0.2 * sine(8 * turns + 0.1));
        }
    }
    return sound;
}

// A crack of noise whose brightness falls away, a thump that drops from 150
// to 45 Hz, and a rumble that outlasts both.
Samples blastFireball()
{
    const double length = 1.4;
    Noise noise(0xB1A57);
    Filter burst;
    Filter rumble;
    rumble.tune(150, 0.7);
    double thump = 0;  // turns
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        burst.tune(glide(6000, 250, std::min(t / 0.8, 1.0)), 0.7);
        const double crack = burst.process(noise.white()).low * (halving(t, 0.08) + 0.4 * halving(t, 0.35));
        thump += (45 + 105 * halving(t, 0.05)) / RATE;
        const double boom = sCurve(0, 0.003, t) * halving(t, 0.15) * sine(thump);
        const double roll = 4 * rumble.process(noise.white()).low * sCurve(0, 0.05, t) * halving(t, 0.4);
        sound[i] = saturate(1.5 * (crack + boom + roll));
    }
    return sound;
}

// Wind roaring: a wide band of noise that wanders in gusts, a low rumble
// beneath it, and a thin whistle above.
Samples roarCyclone()
{
    const double length = 1.5;
    Noise noise(0x60A2);
    Filter wind;
    Filter rumble;
    Filter whistle;
    rumble.tune(180, 0.7);
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double centre = 350 * power2(0.8 * sine(0.7 * t) + 0.3 * sine(3.1 * t + 0.2));
        wind.tune(centre, 1.5);
        whistle.tune(3 * centre, 12);
        const double input = noise.white();
        const double air = wind.process(input).band + 2.5 * rumble.process(noise.white()).low
                         + 0.15 * whistle.process(input).band;
        const double gusts = 0.8 + 0.2 * sine(5 * t);
        sound[i] = saturate(sCurve(0, 0.3, t) * (1 - sCurve(1.0, 1.5, t)) * gusts * air);
    }
    return sound;
}

// A bell: a struck hum, prime, tierce, quint and nominal over C5 and a few
// higher partials, each dying at its own pace; each partial is a pair of
// voices drifting apart, so that the ring beats faster as it spreads.
Samples ringNova()
{
    const double length = 1.5;
    struct Partial {
        double ratio;
        double level;
        double halfLife;  // seconds
    };
    const Partial partials[] = {{0.5, 0.5, 0.9}, {1.0, 1.0, 0.6}, {1.2, 0.6, 0.45}, {1.5, 0.4, 0.4},
                                {2.0, 0.7, 0.35}, {2.74, 0.35, 0.2}, {3.76, 0.25, 0.15}, {5.4, 0.15, 0.1}};
    const double base = note(3);  // C5
    Noise noise(0x0B0E);
    Filter strike;
    strike.tune(3000, 2);
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        // Half the beat rate of a pair, in Hz, times t.
        const double drift = (0.4 + 1.5 * t) * t;
        double ring = 0;
        for (const Partial& partial : partials) {
            const double turns = base * partial.ratio * t;
            ring += partial.level * halving(t, partial.halfLife) * (sine(turns - drift) + sine(turns + drift));
        }
        const double hit = strike.process(noise.white()).band * halving(t, 0.004);
        sound[i] = sCurve(0, 0.002, t) * ring + 3 * hit;
    }
    return sound;
}

} // namespace soundgen
