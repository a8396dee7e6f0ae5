// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds in res/sounds: the generator writes them again byte for
// byte; each is a short, centred, unclipped 16-bit mono WAV; the flight loops
// without a click; the casts sound apart and the pitches move as the events do.
#include <sndfile.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/SoundFiles.h"

namespace {

constexpr int RATE = 22050;

std::string committed(const std::string& name)
{
    return std::string(KESTRUNE_SOURCE_DIR) + "/res/sounds/" + name;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> filesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct Recording {
    SF_INFO info{};
    std::vector<double> samples;  // full scale is 1

    double seconds() const { return static_cast<double>(samples.size()) / RATE; }
};

// A committed sound as libsndfile reads it; no samples when it cannot.
Recording load(const std::string& name)
{
    Recording recording;
    SNDFILE* file = sf_open(committed(name).c_str(), SFM_READ, &recording.info);
    if (file == nullptr) {
        return recording;
    }
    std::vector<short> pcm(static_cast<std::size_t>(recording.info.frames * recording.info.channels));
    pcm.resize(static_cast<std::size_t>(sf_read_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()))));
    sf_close(file);
    for (short sample : pcm) {
        recording.samples.push_back(sample / 32768.0);
    }
    return recording;
}

double peak(const std::vector<double>& samples)
{
    double highest = 0;
    for (double sample : samples) {
        highest = std::max(highest, std::abs(sample));
    }
    return highest;
}

double rms(const std::vector<double>& samples, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += samples[i] * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(to - from));
}

// Sign changes per second.
double zeroCrossingRate(const std::vector<double>& samples)
{
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        crossings += (samples[i] >= 0) != (samples[i - 1] >= 0);
    }
    return crossings * static_cast<double>(RATE) / static_cast<double>(samples.size());
}

// The power-weighted mean frequency, in Hz, of the samples in [from, to),
// over Hann-windowed frames of 512.
double meanFrequency(const std::vector<double>& samples, std::size_t from, std::size_t to)
{
    const std::size_t size = 512;
    std::vector<double> cosines(size);
    std::vector<double> sines(size);
    for (std::size_t n = 0; n < size; ++n) {
        cosines[n] = std::cos(2 * M_PI * n / size);
        sines[n] = std::sin(2 * M_PI * n / size);
    }
    double weighted = 0;
    double power = 0;
    std::vector<double> frame(size);
    for (std::size_t start = from; start + size <= to; start += size) {
        for (std::size_t n = 0; n < size; ++n) {
            frame[n] = samples[start + n] * (0.5 - 0.5 * cosines[n]);
        }
        for (std::size_t bin = 1; bin < size / 2; ++bin) {
            double real = 0;
            double imaginary = 0;
            for (std::size_t n = 0; n < size; ++n) {
                real += frame[n] * cosines[bin * n % size];
                imaginary += frame[n] * sines[bin * n % size];
            }
            const double binPower = real * real + imaginary * imaginary;
            weighted += binPower * bin * RATE / size;
            power += binPower;
        }
    }
    return power > 0 ? weighted / power : 0;
}

double meanFrequency(const std::vector<double>& samples)
{
    return meanFrequency(samples, 0, samples.size());
}

// The value below which the given share of the values lie.
double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

} // namespace

TEST(SoundGenerator, WritesTheCommittedFilesAgainByteForByte)
{
    std::string folder = "/tmp/kestrune-sounds-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const bool ran = runCommand(std::string(KESTRUNE_SOUNDGEN) + " '" + folder + "' >/dev/null").has_value();
    const std::set<std::string> written = filesIn(folder);
    std::vector<std::string> differing;
    for (const std::string& name : SOUND_FILES) {
        if (readFile(folder + "/" + name) != readFile(committed(name))) {
            differing.push_back(name);
        }
    }
    std::filesystem::remove_all(folder);

    ASSERT_TRUE(ran);
    const std::set<std::string> expected(SOUND_FILES.begin(), SOUND_FILES.end());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(filesIn(std::string(KESTRUNE_SOURCE_DIR) + "/res/sounds"), expected);
    EXPECT_EQ(differing, std::vector<std::string>{});
}

TEST(SoundFiles, AreMono16BitWavAt22050Hz)
{
    for (const std::string& name : SOUND_FILES) {
        Recording sound = load(name);
        EXPECT_EQ(sound.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
        EXPECT_EQ(sound.info.channels, 1) << name;
        EXPECT_EQ(sound.info.samplerate, RATE) << name;
        EXPECT_EQ(static_cast<sf_count_t>(sound.samples.size()), sound.info.frames) << name;
    }
}

TEST(SoundFiles, AreAsShortAsTheirMoments)
{
    for (const std::string& name : SOUND_FILES) {
        const double seconds = load(name).seconds();
        EXPECT_GT(seconds, 0.01) << name;
        if (name == "key_click.wav") {
            EXPECT_LT(seconds, 0.1);
        } else if (name == "fanfare.wav") {
            EXPECT_LE(seconds, 3.0);
        } else if (name == "flight.wav") {
            EXPECT_NEAR(seconds, 1.0, 0.1);
        } else {
            EXPECT_LE(seconds, 1.5) << name;
        }
    }
}

TEST(SoundFiles, AreLoudButNeverClippedAndCentredOnZero)
{
    for (const std::string& name : SOUND_FILES) {
        const std::vector<double> samples = load(name).samples;
        ASSERT_FALSE(samples.empty()) << name;
        // About -1 dBFS at most, normalised near 0.8.
        EXPECT_LE(peak(samples), 0.89) << name;
        EXPECT_GE(peak(samples), 0.7) << name;
        EXPECT_GT(rms(samples, 0, samples.size()), 0.05) << name;
        double sum = 0;
        for (double sample : samples) {
            sum += sample;
        }
        EXPECT_NEAR(sum / static_cast<double>(samples.size()), 0.0, 0.001) << name;
    }
}

TEST(SoundFiles, SoundsPlayedOnceStartAndEndInSilence)
{
    for (const std::string& name : SOUND_FILES) {
        if (name == "flight.wav") {
            continue;
        }
        const std::vector<double> samples = load(name).samples;
        ASSERT_GT(samples.size(), 2u) << name;
        // Within two units of the 16-bit scale.
        EXPECT_LE(std::abs(samples.front()), 2 / 32768.0) << name;
        EXPECT_LE(std::abs(samples.back()), 2 / 32768.0) << name;
    }
}

TEST(SoundFiles, TheFlightLoopsWithoutAClick)
{
    const std::vector<double> samples = load("flight.wav").samples;
    ASSERT_GT(samples.size(), 1000u);
    std::vector<double> jumps;
    std::vector<double> bends;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        jumps.push_back(std::abs(samples[i] - samples[i - 1]));
        if (i >= 2) {
            bends.push_back(std::abs(samples[i] - 2 * samples[i - 1] + samples[i - 2]));
        }
    }
    const std::size_t last = samples.size() - 1;
    // From the last sample to the first, the wave neither jumps nor turns
    // more sharply than it does anywhere inside.
    EXPECT_LE(std::abs(samples[0] - samples[last]), percentile(jumps, 0.9));
    EXPECT_LE(std::abs(samples[0] - 2 * samples[last] + samples[last - 1]), percentile(bends, 0.9));
    EXPECT_LE(std::abs(samples[1] - 2 * samples[0] + samples[last]), percentile(bends, 0.9));
    // Not faded: a loop that dipped to silence at its ends would pulse.
    const std::size_t tenth = samples.size() / 10;
    const double whole = rms(samples, 0, samples.size());
    EXPECT_GT(rms(samples, 0, tenth), 0.5 * whole);
    EXPECT_GT(rms(samples, samples.size() - tenth, samples.size()), 0.5 * whole);
}

TEST(SoundFiles, TheCastsSoundClearlyApart)
{
    const std::vector<std::string> casts = {"cast_fireball.wav", "cast_cyclone.wav", "cast_nova.wav",
                                            "cast_meteor.wav"};
    std::vector<double> frequencies;
    std::vector<double> crossings;
    for (const std::string& name : casts) {
        const std::vector<double> samples = load(name).samples;
        frequencies.push_back(meanFrequency(samples));
        crossings.push_back(zeroCrossingRate(samples));
    }
    for (std::size_t a = 0; a < casts.size(); ++a) {
        for (std::size_t b = a + 1; b < casts.size(); ++b) {
            const auto ratio = [](double one, double other) { return std::max(one, other) / std::min(one, other); };
            const double brightness = ratio(frequencies[a], frequencies[b]);
            const double busyness = ratio(crossings[a], crossings[b]);
            EXPECT_GT(brightness, 1.3) << casts[a] << " " << frequencies[a] << " Hz, " << casts[b] << " "
                                       << frequencies[b] << " Hz";
            EXPECT_GT(busyness, 1.3) << casts[a] << " " << crossings[a] << "/s, " << casts[b] << " "
                                     << crossings[b] << "/s";
        }
    }
}

TEST(SoundFiles, PitchesMoveTheWayTheEventsDo)
{
    // The mean frequency of the last third against that of the first.
    const auto rise = [](const std::string& name) {
        const std::vector<double> samples = load(name).samples;
        const std::size_t third = samples.size() / 3;
        return meanFrequency(samples, samples.size() - third, samples.size())
             / meanFrequency(samples, 0, third);
    };
    EXPECT_GT(rise("cast_fireball.wav"), 1.5);
    EXPECT_LT(rise("blast_fireball.wav"), 1 / 1.5);
    EXPECT_LT(rise("block_fall.wav"), 1 / 1.5);
    EXPECT_LT(rise("death.wav"), 1 / 1.5);
}
