// SPDX-License-Identifier: GPL-3.0-or-later
// The game heard on the real binary. OpenAL's wave backend writes what a
// device would play into a file, in real time, so the file's length when a key
// goes is the key's place in the sound. A cast sounds at the press of Return;
// --mute opens no device; 'disable sound' and 'set volume 0' keep a game
// silent; a machine without a sound device gets one line and a silent game.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>

#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/GameSteps.h"

namespace {

using namespace std::chrono_literals;

// Four casters who all live through the first three plain shots.
const std::vector<std::string> GAME = {"--seed", "5"};

// Frames a second, which the tests ask OpenAL for.
constexpr int RATE = 44100;
// Silence is what OpenAL mixes when nothing plays: exact zeros. The least
// 16-bit sample is allowed, and nothing louder.
constexpr double SILENT_PEAK = 1.0 / 32768;
// Heard: -40 dBFS. A fireball's cast peaks at 0.2 to 0.4 in its first half
// second, and its attack passes this 0.1 s after its first sound.
constexpr double HEARD_LEVEL = 0.01;
// From a change the game has made to the first sound it governs in the file:
// the mixer's period (1024 frames) and the writer's buffer (4 KiB), about
// 35 ms together.
constexpr double MIXER_LAG = 0.1; // seconds
// The turn chime, and a little more.
constexpr double CHIME_SECONDS = 1.5;

long frames(double seconds)
{
    return std::lround(seconds * RATE);
}

// "1.23 s" for a frame, in failure messages.
std::string at(long frame)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << static_cast<double>(frame) / RATE << " s";
    return text.str();
}

// A game's sound as OpenAL's wave backend writes it, kept in the artifacts.
class Recording {
public:
    explicit Recording(const std::string& name)
        : soundPath(artifactPath(name + ".wav")), configPath(artifactPath(name + ".conf"))
    {
        // Until the game writes its own, the last run's file would answer.
        std::remove(soundPath.c_str());
        std::ofstream(configPath) << "[general]\nfrequency = " << RATE << "\n[wave]\nfile = " << soundPath << "\n";
    }

    std::vector<std::string> environment() const { return {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + configPath}; }

    // The frames written so far: now, as a place in the file. The header's
    // sizes stay open while the game plays, and libsndfile reads to the end.
    long framesNow() const
    {
        SF_INFO info{};
        SNDFILE* file = sf_open(soundPath.c_str(), SFM_READ, &info);
        if (file == nullptr) {
            return 0;
        }
        sf_close(file);
        return static_cast<long>(info.frames);
    }

    // Reads the game's output until the file holds at least count frames.
    bool waitForFrames(GameProcess& game, long count) const
    {
        const auto deadline = std::chrono::steady_clock::now() + E2E_TIMEOUT;
        while (framesNow() < count) {
            if (std::chrono::steady_clock::now() > deadline || !game.running()) {
                return false;
            }
            game.pause(20ms);
        }
        return true;
    }

    // Once the game has ended: the whole file, at full scale 1.
    bool read()
    {
        SF_INFO info{};
        SNDFILE* file = sf_open(soundPath.c_str(), SFM_READ, &info);
        if (file == nullptr) {
            return false;
        }
        channels = info.channels;
        samples.resize(static_cast<std::size_t>(info.frames * info.channels));
        const sf_count_t got = sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
        return got == info.frames && channels > 0 && info.samplerate == RATE;
    }

    long length() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }

    // The loudest sample of any channel in the frames [from, to).
    double peak(long from, long to) const
    {
        double highest = 0;
        for (long frame = std::max(from, 0L); frame < std::min(to, length()); ++frame) {
            highest = std::max(highest, loudness(frame));
        }
        return highest;
    }

    // The first frame from from on that is heard; length() when none is.
    long firstHeard(long from) const
    {
        long frame = std::max(from, 0L);
        while (frame < length() && loudness(frame) < HEARD_LEVEL) {
            ++frame;
        }
        return frame;
    }

private:
    double loudness(long frame) const
    {
        double highest = 0;
        for (int channel = 0; channel < channels; ++channel) {
            highest = std::max(highest, std::fabs(static_cast<double>(samples[frame * channels + channel])));
        }
        return highest;
    }

    std::string soundPath;
    std::string configPath;
    int channels = 0;
    std::vector<float> samples; // interleaved
};

// Presses Return until the game casts: the frames the file held at the press
// the game answered, or nothing.
std::optional<long> cast(GameProcess& game, const Recording& recording)
{
    const auto deadline = std::chrono::steady_clock::now() + E2E_TIMEOUT;
    while (std::chrono::steady_clock::now() < deadline && game.running()) {
        const long pressed = recording.framesNow();
        game.key("Return");
        if (game.waitForMatch("Dead Players: [0-9]+", 2s)) {
            return pressed;
        }
    }
    return std::nullopt;
}

// Runs a console line and waits for the view's echo of it.
bool enterLine(GameProcess& game, const std::string& line)
{
    return runConsoleLine(game, line) && game.waitForLine("View: " + line);
}

// Waits until the shot has played out, the next turn waits and its chime (if
// any sound) has rung out.
bool waitForNextTurn(GameProcess& game, const Recording& recording)
{
    return waitForTurnLine(game, false) && waitForTurnLine(game, true)
           && recording.waitForFrames(game, recording.framesNow() + frames(CHIME_SECONDS));
}

void quit(GameProcess& game)
{
    ASSERT_TRUE(game.key("Escape"));
    EXPECT_TRUE(game.waitForLine("Quitting"));
    EXPECT_EQ(game.waitForExit(), 0);
}

} // namespace

TEST(EndToEndSound, TheCastIsHeardWithinHalfASecondOfReturn)
{
    Recording recording("sound-cast");
    GameProcess game(GAME, "", recording.environment());
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(waitForTurnLine(game, true));
    ASSERT_TRUE(recording.waitForFrames(game, recording.framesNow() + frames(CHIME_SECONDS)));

    const auto pressed = cast(game, recording);
    ASSERT_TRUE(pressed.has_value()) << outputTail(game);
    ASSERT_TRUE(recording.waitForFrames(game, *pressed + frames(1)));
    quit(game);
    EXPECT_EQ(game.errorText(), "");

    // The turn's chime at the start, quiet before the key, the cast after it.
    ASSERT_TRUE(recording.read());
    const long halfSecond = frames(0.5);
    EXPECT_GT(recording.peak(0, *pressed - halfSecond), HEARD_LEVEL) << "no turn chime before " << at(*pressed);
    EXPECT_LE(recording.peak(*pressed - halfSecond, *pressed), SILENT_PEAK)
        << "sound before Return at " << at(*pressed);
    const long heard = recording.firstHeard(*pressed);
    EXPECT_LT(heard - *pressed, halfSecond) << "Return at " << at(*pressed) << ", first heard at " << at(heard);
}

TEST(EndToEndSound, MutedNoSoundDeviceIsOpened)
{
    Recording recording("sound-mute");
    std::vector<std::string> arguments = GAME;
    arguments.push_back("--mute");
    GameProcess game(arguments, "", recording.environment());
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(waitForTurnLine(game, true));

    // A cast, its shot and the next turn: OpenAL's device never makes its file.
    ASSERT_TRUE(cast(game, recording).has_value()) << outputTail(game);
    ASSERT_TRUE(waitForTurnLine(game, false) && waitForTurnLine(game, true)) << outputTail(game);
    quit(game);
    EXPECT_EQ(game.errorText(), "");
    EXPECT_FALSE(recording.read());
}

TEST(EndToEndSound, DisabledOrAtVolumeZeroTheCastsAreSilent)
{
    Recording recording("sound-console");
    GameProcess game(GAME, "", recording.environment());
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());
    ASSERT_TRUE(waitForTurnLine(game, true));

    // Switched off: a cast, its shot and the next turn's chime.
    ASSERT_TRUE(enterLine(game, "disable sound")) << outputTail(game);
    const long disabled = recording.framesNow();
    const auto firstCast = cast(game, recording);
    ASSERT_TRUE(firstCast.has_value()) << outputTail(game);
    ASSERT_TRUE(waitForNextTurn(game, recording));
    const long enabling = recording.framesNow();

    // On again, but at volume 0, which a refused volume leaves as it is.
    ASSERT_TRUE(enterLine(game, "enable sound")) << outputTail(game);
    ASSERT_TRUE(enterLine(game, "set volume 0")) << outputTail(game);
    const long turnedDown = recording.framesNow();
    ASSERT_TRUE(runConsoleLine(game, "set volume 2"));
    EXPECT_TRUE(game.waitForLine("View: volume 2 refused: the volume runs from 0 (silent) to 1")) << outputTail(game);
    const auto secondCast = cast(game, recording);
    ASSERT_TRUE(secondCast.has_value()) << outputTail(game);
    ASSERT_TRUE(waitForNextTurn(game, recording));
    const long turningUp = recording.framesNow();

    // Turned up, the next cast is heard: the switches made the silence.
    ASSERT_TRUE(enterLine(game, "set volume 1")) << outputTail(game);
    const auto thirdCast = cast(game, recording);
    ASSERT_TRUE(thirdCast.has_value()) << outputTail(game);
    ASSERT_TRUE(recording.waitForFrames(game, *thirdCast + frames(1)));
    quit(game);
    EXPECT_EQ(game.errorText(), "");

    // The key clicks of a line typed while the sound is on end within the
    // mixer's lag of its echo.
    ASSERT_TRUE(recording.read());
    const long lag = frames(MIXER_LAG);
    EXPECT_LE(recording.peak(disabled + lag, enabling), SILENT_PEAK)
        << "sound while disabled, from " << at(disabled) << " to " << at(enabling) << "; the cast at "
        << at(*firstCast);
    EXPECT_LE(recording.peak(turnedDown + lag, turningUp), SILENT_PEAK)
        << "sound at volume 0, from " << at(turnedDown) << " to " << at(turningUp) << "; the cast at "
        << at(*secondCast);
    const long heard = recording.firstHeard(*thirdCast);
    EXPECT_LT(heard - *thirdCast, frames(0.5))
        << "Return at " << at(*thirdCast) << ", first heard at " << at(heard);
}

TEST(EndToEndSound, WithoutADeviceOneLineSaysSoAndTheGamePlaysOn)
{
    // A card that no machine has, so that ALSA fails everywhere; OpenAL's log
    // level is the game's to choose.
    const std::string configPath = artifactPath("sound-no-device.conf");
    std::ofstream(configPath) << "[alsa]\ndevice = hw:CARD=kestrune_none\n";
    GameProcess game(GAME, "", {"ALSOFT_DRIVERS=alsa", "ALSOFT_CONF=" + configPath, "ALSOFT_LOGLEVEL"});
    ASSERT_TRUE(game.waitForLine("Reshape 800 600")) << game.errorText();
    ASSERT_FALSE(game.window().empty());

    EXPECT_TRUE(fireWhenReady(game).has_value()) << outputTail(game);
    EXPECT_TRUE(enterLine(game, "set volume 0.5")) << outputTail(game);
    quit(game);
    EXPECT_EQ(game.errorText(), "kestrune: no sound device; playing without sound\n");
}
