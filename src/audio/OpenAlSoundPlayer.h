// SPDX-License-Identifier: GPL-3.0-or-later
// The sound heard through OpenAL: the first device the system offers, one
// buffer per sound file and at most MAX_VOICES sources playing at once. A
// machine without a device plays silent after one line on the error stream.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <array>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "audio/SoundPlayer.h"

class OpenAlSoundPlayer : public SoundPlayer {
public:
    static constexpr int MAX_VOICES = 32;

    // Opens the system's sound device and reads every sound from folder
    // ("<data folder>/sounds"); "" reads none. No device, or a sound file
    // missing or unreadable: one line each on err, and the rest plays. The
    // sound library's own complaints are kept off the error stream.
    OpenAlSoundPlayer(const std::string& folder, std::ostream& err);
    ~OpenAlSoundPlayer() override;
    OpenAlSoundPlayer(const OpenAlSoundPlayer&) = delete;
    OpenAlSoundPlayer& operator=(const OpenAlSoundPlayer&) = delete;

    bool hasDevice() const;
    // Whether a sound's file was read.
    bool hasSound(Sound sound) const;
    // Sources playing now, the loop included.
    int getPlayingCount() const;
    bool isLoopPlaying() const;

    void setListener(const Vector& position, const Vector& forward, const Vector& up) override;
    void setSpeed(double speed) override;
    void play(Sound sound, const Vector& place) override;
    void playNear(Sound sound) override;
    void startLoop(Sound sound, const Vector& place) override;
    void moveLoop(const Vector& place) override;
    void stopLoop() override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    void setVolume(double volume) override;
    double getVolume() const override;

private:
    struct Voice {
        ALuint source;
        unsigned long started; // order of the play that took it
    };

    void loadSound(Sound sound, const std::string& folder, std::ostream& err);
    // A source for a new sound: an idle one, a new one while fewer than
    // MAX_VOICES exist, or else the oldest one-shot's, stopped. 0 when none.
    ALuint takeSource();
    // Stops the loops that were silenced long enough ago.
    void stopFadedLoops();
    // Starts sound on a source taken for it; 0 when it cannot play.
    ALuint start(Sound sound, const Vector& place, bool nearListener, bool looping);

    ALCdevice* device;   // owned; null without a device
    ALCcontext* context; // owned
    std::array<ALuint, SOUND_COUNT> buffers; // 0 for a sound whose file was not read
    std::vector<Voice> voices;
    ALuint loopSource; // 0 while no loop plays
    std::vector<std::pair<ALuint, long>> fading; // stopped loops, silent since when (ms)
    unsigned long playCount;
    bool enabled;
    double volume;
    float pitch;
    ALint resampler; // the library's best, or -1 for its default
};
