// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/OpenAlSoundPlayer.h"

#include <AL/alext.h>

#include <alsa/asoundlib.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "math/TimeSystem.h"

namespace {

// The distance, in cells, at which a placed sound is heard as loud as its
// file; twice as far is half as loud.
constexpr float REFERENCE_DISTANCE = 6.0f;
constexpr float MAX_DISTANCE = 500.0f;
// The interface's sounds stay below the battle's.
constexpr float NEAR_GAIN = 0.6f;
// Sounds longer than this are not ours: they are refused, not read.
constexpr sf_count_t LONGEST_SOUND_SECONDS = 30;
// The pitch follows the view clock's speed within these.
constexpr double LOWEST_PITCH = 0.5;
constexpr double HIGHEST_PITCH = 2.0;
// Milliseconds a stopped loop plays on at no gain: the mixer fades a change of
// gain in over its next few milliseconds.
constexpr long FADE_LENGTH = 60;

// ALSA prints every failure to find a card itself, about ten lines on a
// machine without one; the player says it once.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void OpenAlSoundPlayer::DeviceCloser::operator()(ALCdevice* device) const
{
    alcCloseDevice(device);
}

void OpenAlSoundPlayer::ContextDestroyer::operator()(ALCcontext* context) const
{
    // A context may not be destroyed while it is the current one.
    if (alcGetCurrentContext() == context) {
        alcMakeContextCurrent(nullptr);
    }
    alcDestroyContext(context);
}

OpenAlSoundPlayer::OpenAlSoundPlayer(const std::string& soundFolder, std::ostream& errors, bool on)
    : folder(soundFolder), err(errors), opened(false), buffers{}, loopSource(0), playCount(0), enabled(on),
      volume(1.0), pitch(1.0f), resampler(-1)
{
    snd_lib_error_set_handler(quietAlsa);
    // OpenAL's own log, unless the player asked for it.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    if (on) {
        open();
    }
}

OpenAlSoundPlayer::~OpenAlSoundPlayer()
{
    if (context == nullptr) {
        return;
    }
    for (const Voice& voice : voices) {
        alSourceStop(voice.source);
        alDeleteSources(1, &voice.source);
    }
    for (ALuint buffer : buffers) {
        if (buffer != 0) {
            alDeleteBuffers(1, &buffer);
        }
    }
}

void OpenAlSoundPlayer::open()
{
    if (opened) {
        return;
    }
    opened = true;
    device.reset(alcOpenDevice(nullptr));
    if (device == nullptr) {
        err << "kestrune: no sound device; playing without sound" << std::endl;
        return;
    }
    context.reset(alcCreateContext(device.get(), nullptr));
    if (context == nullptr || alcMakeContextCurrent(context.get()) == ALC_FALSE) {
        err << "kestrune: the sound device " << alcGetString(device.get(), ALC_DEVICE_SPECIFIER)
            << " cannot play; playing without sound" << std::endl;
        context.reset();
        device.reset();
        return;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListenerf(AL_GAIN, static_cast<float>(volume));
    // The sounds are made at half the device's rate, mostly: the library's
    // best resampler (the last it lists) keeps their images out of the
    // treble, where the default one leaves them.
    if (alIsExtensionPresent("AL_SOFT_source_resampler") == AL_TRUE) {
        resampler = alGetInteger(AL_NUM_RESAMPLERS_SOFT) - 1;
    }
    // Without a data folder the game has said so already.
    if (folder.empty()) {
        return;
    }
    struct stat folderStatus {};
    if (stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode)) {
        err << "kestrune: no sounds in " << folder << "; playing without sound" << std::endl;
        return;
    }
    for (int i = 0; i < SOUND_COUNT; ++i) {
        loadSound(static_cast<Sound>(i));
    }
}

void OpenAlSoundPlayer::loadSound(Sound sound)
{
    const std::string path = folder + "/" + soundName(sound) + ".wav";
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        struct stat fileStatus {};
        err << "kestrune: sound " << path
            << (stat(path.c_str(), &fileStatus) != 0 ? " is missing" : " is not a sound file libsndfile reads")
            << "; it stays silent" << std::endl;
        return;
    }
    std::string problem;
    if (info.channels != 1) {
        problem = "it is not mono";
    } else if (info.frames <= 0) {
        problem = "it holds no sound";
    } else if (info.samplerate < 8000 || info.samplerate > 192000) {
        problem = "its sample rate is not one of sound";
    } else if (info.frames > LONGEST_SOUND_SECONDS * info.samplerate) {
        problem = "it is too long";
    }
    std::vector<short> samples;
    if (problem.empty()) {
        samples.resize(static_cast<std::size_t>(info.frames));
        if (sf_readf_short(file, samples.data(), info.frames) != info.frames) {
            problem = "it ends early";
        }
    }
    sf_close(file);
    if (!problem.empty()) {
        err << "kestrune: sound " << path << " refused: " << problem << "; it stays silent" << std::endl;
        return;
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(short)),
                 info.samplerate);
    if (alGetError() != AL_NO_ERROR) {
        err << "kestrune: sound " << path << " refused by the sound device; it stays silent" << std::endl;
        alDeleteBuffers(1, &buffer);
        return;
    }
    buffers[static_cast<std::size_t>(sound)] = buffer;
}

bool OpenAlSoundPlayer::hasDevice() const
{
    return device != nullptr;
}

bool OpenAlSoundPlayer::hasSound(Sound sound) const
{
    return buffers[static_cast<std::size_t>(sound)] != 0;
}

int OpenAlSoundPlayer::getPlayingCount() const
{
    int playing = 0;
    for (const Voice& voice : voices) {
        ALint state = AL_STOPPED;
        alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
        playing += state == AL_PLAYING ? 1 : 0;
    }
    return playing;
}

bool OpenAlSoundPlayer::isLoopPlaying() const
{
    ALint state = AL_STOPPED;
    if (loopSource != 0) {
        alGetSourcei(loopSource, AL_SOURCE_STATE, &state);
    }
    return state == AL_PLAYING;
}

void OpenAlSoundPlayer::setListener(const Vector& position, const Vector& forward, const Vector& up)
{
    if (device == nullptr) {
        return;
    }
    stopFadedLoops();
    alListener3f(AL_POSITION, static_cast<float>(position.x), static_cast<float>(position.y),
                 static_cast<float>(position.z));
    const float orientation[] = {static_cast<float>(forward.x), static_cast<float>(forward.y),
                                 static_cast<float>(forward.z), static_cast<float>(up.x),
                                 static_cast<float>(up.y),      static_cast<float>(up.z)};
    alListenerfv(AL_ORIENTATION, orientation);
}

void OpenAlSoundPlayer::setSpeed(double speed)
{
    const double clamped = std::isfinite(speed) ? std::clamp(speed, LOWEST_PITCH, HIGHEST_PITCH) : 1.0;
    pitch = static_cast<float>(clamped);
    if (loopSource != 0) {
        alSourcef(loopSource, AL_PITCH, pitch);
    }
}

void OpenAlSoundPlayer::play(Sound sound, const Vector& place)
{
    start(sound, place, false, false);
}

void OpenAlSoundPlayer::playNear(Sound sound)
{
    start(sound, Vector(), true, false);
}

void OpenAlSoundPlayer::startLoop(Sound sound, const Vector& place)
{
    stopLoop();
    loopSource = start(sound, place, false, true);
}

void OpenAlSoundPlayer::moveLoop(const Vector& place)
{
    if (loopSource != 0) {
        alSource3f(loopSource, AL_POSITION, static_cast<float>(place.x), static_cast<float>(place.y),
                   static_cast<float>(place.z));
    }
}

void OpenAlSoundPlayer::stopLoop()
{
    // Cut off in the middle of a wave it would click: it falls silent first,
    // and stops a little later.
    if (loopSource != 0) {
        alSourcef(loopSource, AL_GAIN, 0.0f);
        alSourcei(loopSource, AL_LOOPING, AL_FALSE);
        fading.push_back({loopSource, TimeSystem::getTimeMiliseconds()});
        loopSource = 0;
    }
}

void OpenAlSoundPlayer::stopFadedLoops()
{
    const long now = TimeSystem::getTimeMiliseconds();
    for (auto faded = fading.begin(); faded != fading.end();) {
        if (now - faded->second >= FADE_LENGTH) {
            alSourceStop(faded->first);
            faded = fading.erase(faded);
        } else {
            ++faded;
        }
    }
}

void OpenAlSoundPlayer::setEnabled(bool on)
{
    enabled = on;
    if (on) {
        open();
    } else {
        stopLoop();
        fading.clear();
        for (const Voice& voice : voices) {
            alSourceStop(voice.source);
        }
    }
}

bool OpenAlSoundPlayer::isEnabled() const
{
    return enabled;
}

void OpenAlSoundPlayer::setVolume(double v)
{
    volume = std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : volume;
    if (device != nullptr) {
        alListenerf(AL_GAIN, static_cast<float>(volume));
    }
}

double OpenAlSoundPlayer::getVolume() const
{
    return volume;
}

ALuint OpenAlSoundPlayer::takeSource()
{
    Voice* oldest = nullptr;
    for (Voice& voice : voices) {
        ALint state = AL_STOPPED;
        alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING && voice.source != loopSource) {
            voice.started = ++playCount;
            return voice.source;
        }
        if (voice.source != loopSource && (oldest == nullptr || voice.started < oldest->started)) {
            oldest = &voice;
        }
    }
    if (voices.size() < static_cast<std::size_t>(MAX_VOICES)) {
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() == AL_NO_ERROR) {
            voices.push_back({source, ++playCount});
            return source;
        }
    }
    if (oldest == nullptr) {
        return 0;
    }
    alSourceStop(oldest->source);
    oldest->started = ++playCount;
    return oldest->source;
}

ALuint OpenAlSoundPlayer::start(Sound sound, const Vector& place, bool nearListener, bool looping)
{
    const ALuint buffer = buffers[static_cast<std::size_t>(sound)];
    if (!enabled || device == nullptr || buffer == 0) {
        return 0;
    }
    const ALuint source = takeSource();
    if (source == 0) {
        return 0;
    }
    // A loop's source may end its fade early, or give way as the oldest: the
    // new sound must not be stopped when that fade would have ended.
    fading.erase(std::remove_if(fading.begin(), fading.end(),
                                [source](const std::pair<ALuint, long>& faded) { return faded.first == source; }),
                 fading.end());
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_SOURCE_RELATIVE, nearListener ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_POSITION, static_cast<float>(place.x), static_cast<float>(place.y),
               static_cast<float>(place.z));
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_GAIN, nearListener ? NEAR_GAIN : 1.0f);
    alSourcef(source, AL_PITCH, pitch);
    alSourcef(source, AL_REFERENCE_DISTANCE, REFERENCE_DISTANCE);
    alSourcef(source, AL_MAX_DISTANCE, MAX_DISTANCE);
    if (resampler >= 0) {
        alSourcei(source, AL_SOURCE_RESAMPLER_SOFT, resampler);
    }
    alSourcePlay(source);
    return source;
}
