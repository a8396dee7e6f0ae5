// SPDX-License-Identifier: GPL-3.0-or-later
// The sound heard through OpenAL: the first device the system offers, one
// buffer per sound file and at most MAX_VOICES sources playing at once. A
// machine without a device plays silent after one line on the error stream;
// a game started muted opens the device only when its sound is switched on.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <array>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/SoundPlayer.h"

class OpenAlSoundPlayer : public SoundPlayer {
public:
    static constexpr int MAX_VOICES = 32;

    // Opens the system's sound device and reads every sound from folder
    // ("<data folder>/sounds"); "" reads none. Made switched off (--mute), it
    // opens nothing until it is first switched on. No device, or a sound file
    // missing or unreadable: one line each on err, once, and the rest plays.
    // The sound library's own complaints are kept off the error stream.
    // err: not owned; the game's error stream, which outlives the player.
    OpenAlSoundPlayer(const std::string& folder, std::ostream& err, bool enabled = true);
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

    struct DeviceCloser {
        void operator()(ALCdevice* device) const;
    };
    struct ContextDestroyer {
        void operator()(ALCcontext* context) const;
    };

    // The device, its context and the sounds, the first time it is called;
    // a device that failed is not asked for again.
    void open();
    void loadSound(Sound sound);
    // A source for a new sound: an idle one, a new one while fewer than
    // MAX_VOICES exist, or else the oldest one-shot's, stopped. 0 when none.
    ALuint takeSource();
    // Stops the loops that were silenced long enough ago.
    void stopFadedLoops();
    // Starts sound on a source taken for it; 0 when it cannot play.
    ALuint start(Sound sound, const Vector& place, bool nearListener, bool looping);

    std::string folder;
    std::ostream& err; // not owned
    bool opened;       // open has been tried
    // Owned; null without a device. The context is declared after the device
    // so that it goes first, whatever step of open failed.
    std::unique_ptr<ALCdevice, DeviceCloser> device;
    std::unique_ptr<ALCcontext, ContextDestroyer> context;
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
