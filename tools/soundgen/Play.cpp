// SPDX-License-Identifier: GPL-3.0-or-later
// The sounds of a game around the spells: blocks falling and landing, casters
// hurt and dying, the turn passing, the winner, and the console's keys.
#include <algorithm>
#include <cmath>

#include "Filter.h"
#include "Maths.h"
#include "Noise.h"
#include "Sounds.h"

namespace soundgen {

namespace {

// A sawtooth at the frequency the phase turns at, from its harmonics up to
// `highest` Hz, so that nothing folds back above Nyquist.
double saw(double phase, double frequency, double highest)
{
    double sum = 0;
    for (int k = 1; k * frequency < highest; ++k) {
        sum += sine(k * phase) / k;
    }
    return sum;
}

// One brass note added into sound: harmonics that brighten as the note
// swells, a scoop up to pitch, vibrato on long notes.
void addBrassNote(Samples& sound, double start, double length, double frequency, double loudness)
{
    const int first = frames(start);
    const int count = frames(length + 0.08);
    double phase = 0;
    for (int n = 0; n < count && first + n < static_cast<int>(sound.size()); ++n) {
        const double t = static_cast<double>(n) / RATE;
        const double swell = sCurve(0, 0.03, t) * (0.8 + 0.2 * halving(t, 0.04))
                           * (1 - sCurve(length, length + 0.08, t));
        const double vibrato = length > 0.5 ? 0.005 * sCurve(0.2, 0.5, t) * sine(5.5 * t) : 0;
        const double pitch = frequency * (1 - 0.02 * halving(t, 0.02) + vibrato);
        phase += pitch / RATE;
        const double brightness = 0.35 + 0.5 * swell;
        double tone = 0;
        double level = 1;
        for (int k = 1; k * pitch < 6000; ++k) {
            tone += level / k * sine(k * phase);
            level *= brightness;
        }
        sound[first + n] += loudness * swell * tone;
    }
}

} // namespace

// A whistle falling two octaves as a block drops, over a rumble that
// grows as it nears the ground.
Samples blockFall()
{
    const double length = 0.8;
    Noise noise(0xFA11);
    Filter rumble;
    double phase = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double x = i / (length * RATE);
        phase += glide(1400, 350, x) * (1 + 0.01 * sine(7.0 * i / RATE)) / RATE;
        rumble.tune(glide(300, 150, x), 0.7);
        const double whistle = sine(phase) + 0.2 * sine(2 * phase);
        const double fall = 3 * x * rumble.process(noise.white()).low;
        sound[i] = sCurve(0, 0.1, x) * (1 - sCurve(0.8, 1, x)) * (0.6 * whistle + fall);
    }
    return sound;
}

// A thud: a short low knock sinking from 160 to 70 Hz, and the crunch of
// earth, muffled.
Samples blockLand()
{
    const double length = 0.35;
    Noise noise(0x7A4D);
    Filter earth;
    earth.tune(900, 0.7);
    double phase = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        phase += (70 + 90 * halving(t, 0.02)) / RATE;
        const double knock = halving(t, 0.06) * sine(phase);
        const double dirt = 1.5 * halving(t, 0.03) * earth.process(noise.white()).low;
        sound[i] = saturate(2 * sCurve(0, 0.002, t) * (knock + dirt));
    }
    return sound;
}

// A grunt: a voice falling from 190 to 120 Hz, a little unsteady, through
// the formants of "uh".
Samples hurt()
{
    const double length = 0.4;
    Noise noise(0x0DC4);
    Filter jitter;
    jitter.tune(30, 0.7);
    Filter formants[3];
    const double centres[3] = {650, 1100, 2500};
    const double resonances[3] = {5, 6, 8};
    const double gains[3] = {1, 0.6, 0.2};
    for (int f = 0; f < 3; ++f) {
        formants[f].tune(centres[f], resonances[f]);
    }
    double phase = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double pitch = glide(190, 120, t / length) * (1 + 0.6 * jitter.process(noise.white()).low);
        phase += pitch / RATE;
        const double source = saw(phase, pitch, 5000) + 0.3 * noise.white();
        double voice = 0;
        for (int f = 0; f < 3; ++f) {
            voice += gains[f] * formants[f].process(source).band;
        }
        sound[i] = sCurve(0, 0.03, t) * halving(std::max(0.0, t - 0.05), 0.08) * voice;
    }
    return sound;
}

// A hollow tone sinking from 420 to 70 Hz, its vibrato slowing and its
// upper harmonics closing as it fades away.
Samples death()
{
    const double length = 1.5;
    double phase = 0;
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double x = i / (length * RATE);
        const double t = static_cast<double>(i) / RATE;
        const double pitch = glide(420, 70, x) * (1 + 0.015 * (1 - x) * sine(glide(6, 2, x) * t));
        phase += pitch / RATE;
        const double brightness = 0.6 * (1 - x);
        double tone = 0;
        double level = 1;
        for (int k = 1; k <= 9; k += 2) {
            tone += level / (k * k) * sine(k * phase);
            level *= brightness;
        }
        sound[i] = sCurve(0, 0.05, t) * (1 - x) * (1 - x) * tone;
    }
    return sound;
}

// Two soft bell notes a fourth apart, G5 then C6.
Samples turnChime()
{
    const double length = 1.0;
    const double starts[2] = {0, 0.16};
    const double frequencies[2] = {note(10), note(15)};
    Samples sound(frames(length));
    for (int n = 0; n < 2; ++n) {
        for (std::size_t i = 0; i < sound.size(); ++i) {
            const double t = static_cast<double>(i) / RATE - starts[n];
            if (t < 0) {
                continue;
            }
            const double turns = frequencies[n] * t;
            const double tone = halving(t, 0.25) * sine(turns) + 0.15 * halving(t, 0.08) * sine(2.76 * turns)
                              + 0.05 * halving(t, 0.04) * sine(5.4 * turns);
            sound[i] += (n == 0 ? 1 : 0.9) * sCurve(0, 0.004, t) * tone;
        }
    }
    return sound;
}

// The winner's call on brass: three quick Cs, an E, a C, and a long C major
// chord.
Samples fanfare()
{
    const double length = 2.4;
    Samples sound(frames(length));
    struct Note {
        double start;
        double length;  // seconds
        int semitones;  // from A4
    };
    const Note melody[] = {{0.00, 0.13, 3}, {0.15, 0.13, 3}, {0.30, 0.13, 3},
                           {0.45, 0.35, 7}, {0.82, 0.16, 3}, {1.00, 1.20, 10}};
    for (const Note& part : melody) {
        addBrassNote(sound, part.start, part.length, note(part.semitones), 1);
    }
    addBrassNote(sound, 1.00, 1.20, note(7), 0.6);
    addBrassNote(sound, 1.00, 1.20, note(3), 0.6);
    return sound;
}

// A tick: a grain of bright noise and a very short 1.8 kHz ping.
Samples keyClick()
{
    const double length = 0.03;
    Noise noise(0xC11C);
    Filter tick;
    tick.tune(3000, 0.7);
    Samples sound(frames(length));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        sound[i] = halving(t, 0.002) * tick.process(noise.white()).high + 0.5 * halving(t, 0.004) * sine(1800 * t);
    }
    return sound;
}

std::vector<SoundFile> allSounds()
{
    std::vector<SoundFile> sounds = {
        {"cast_fireball.wav", castFireball()}, {"cast_cyclone.wav", castCyclone()},
        {"cast_nova.wav", castNova()},         {"flight.wav", flight()},
        {"blast_fireball.wav", blastFireball()}, {"roar_cyclone.wav", roarCyclone()},
        {"ring_nova.wav", ringNova()},         {"block_fall.wav", blockFall()},
        {"block_land.wav", blockLand()},       {"hurt.wav", hurt()},
        {"death.wav", death()},                {"turn_chime.wav", turnChime()},
        {"fanfare.wav", fanfare()},            {"key_click.wav", keyClick()},
        {"cast_meteor.wav", castMeteor()},     {"split_meteor.wav", splitMeteor()},
    };
    for (SoundFile& sound : sounds) {
        if (sound.name == "flight.wav") {
            finishLoop(sound.samples);
        } else {
            finishOneShot(sound.samples);
        }
    }
    return sounds;
}

} // namespace soundgen
