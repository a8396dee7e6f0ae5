// SPDX-License-Identifier: GPL-3.0-or-later
// The sound player on OpenAL's file-writing device: what it plays is mixed in
// real time into a stereo WAV file, read back once the device is closed.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "audio/OpenAlSoundPlayer.h"
#include "support/ScriptedClock.h"
#include "support/SoundFiles.h"

namespace {

const std::string SOUNDS = std::string(KESTRUNE_SOURCE_DIR) + "/res/sounds";

// OpenAL reads its configuration once per process: every test of this file
// hears through the same file.
const std::string& outputFile()
{
    static const std::string file = [] {
        const std::string base = std::string(KESTRUNE_BUILD_DIR) + "/artifacts/heard-" + std::to_string(getpid());
        std::system(("mkdir -p '" + std::string(KESTRUNE_BUILD_DIR) + "/artifacts'").c_str());
        std::ofstream(base + ".conf") << "[wave]\nfile = " << base << ".wav\n";
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", (base + ".conf").c_str(), 1);
        return base + ".wav";
    }();
    return file;
}

struct Channels {
    double leftRms = 0;
    double rightRms = 0;
    double peak = 0;
    double seconds = 0;
};

Channels readHeard()
{
    SF_INFO info{};
    SNDFILE* file = sf_open(outputFile().c_str(), SFM_READ, &info);
    Channels heard;
    if (file == nullptr || info.channels != 2) {
        ADD_FAILURE() << "no stereo file at " << outputFile();
        if (file != nullptr) {
            sf_close(file);
        }
        return heard;
    }
    std::vector<double> samples(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_double(file, samples.data(), info.frames);
    sf_close(file);
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        heard.leftRms += samples[i] * samples[i];
        heard.rightRms += samples[i + 1] * samples[i + 1];
        heard.peak = std::max({heard.peak, std::abs(samples[i]), std::abs(samples[i + 1])});
    }
    const double frames = std::max<double>(static_cast<double>(info.frames), 1.0);
    heard.leftRms = std::sqrt(heard.leftRms / frames);
    heard.rightRms = std::sqrt(heard.rightRms / frames);
    heard.seconds = static_cast<double>(info.frames) / info.samplerate;
    return heard;
}

class SoundPlayback : public testing::Test {
protected:
    void SetUp() override
    {
        outputFile();
        player = std::make_unique<OpenAlSoundPlayer>(SOUNDS, errors);
        ASSERT_TRUE(player->hasDevice()) << errors.str();
        EXPECT_EQ(errors.str(), "");
        // At the origin, looking down -z with +y up: -x is on the left.
        player->setListener(Vector(0, 0, 0), Vector(0, 0, -1), Vector(0, 1, 0));
    }

    // Waits, as long as the device takes to mix them, for the sounds to end;
    // then closes the device, which finishes the file.
    Channels hearAll()
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (player->getPlayingCount() > 0 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(player->getPlayingCount(), 0);
        player.reset();
        return readHeard();
    }

    std::ostringstream errors;
    std::unique_ptr<OpenAlSoundPlayer> player;
};

} // namespace

TEST_F(SoundPlayback, ABlastOnTheListenersLeftIsLouderOnTheLeft)
{
    player->play(Sound::blastFireball, Vector(-5, 0, -2));
    const Channels heard = hearAll();
    EXPECT_GT(heard.seconds, 1.3);
    EXPECT_GT(heard.leftRms, 0.02);
    EXPECT_GT(heard.leftRms, 2 * heard.rightRms) << heard.leftRms << " " << heard.rightRms;
    EXPECT_LT(heard.peak, 1.0);
}

TEST_F(SoundPlayback, AFarBlastIsQuieterThanANearOne)
{
    player->play(Sound::blastFireball, Vector(0, 0, -60));
    const Channels far = hearAll();
    SetUp();
    player->play(Sound::blastFireball, Vector(0, 0, -6));
    const Channels near = hearAll();
    EXPECT_GT(near.leftRms, 4 * far.leftRms) << near.leftRms << " " << far.leftRms;
    EXPECT_GT(far.leftRms, 0.0);
}

TEST_F(SoundPlayback, SwitchedOffOrAtVolumeZeroNothingIsHeard)
{
    player->setEnabled(false);
    player->play(Sound::blastFireball, Vector(0, 0, -3));
    player->playNear(Sound::fanfare);
    player->startLoop(Sound::flight, Vector(0, 0, -3));
    EXPECT_EQ(player->getPlayingCount(), 0);
    player->setEnabled(true);
    player->setVolume(0.0);
    player->play(Sound::blastFireball, Vector(0, 0, -3));
    EXPECT_EQ(player->getPlayingCount(), 1);
    const Channels heard = hearAll();
    EXPECT_GT(heard.seconds, 1.3);
    EXPECT_EQ(heard.peak, 0.0);
}

TEST_F(SoundPlayback, AtMostThirtyTwoPlayTheOldestGivingWayButNotTheLoopNorToItsFade)
{
    ScriptedClock clock;
    player->startLoop(Sound::flight, Vector(0, 0, -3));
    for (int i = 0; i < 40; ++i) {
        player->play(Sound::fanfare, Vector(i, 0, -3));
    }
    EXPECT_EQ(player->getPlayingCount(), OpenAlSoundPlayer::MAX_VOICES);
    EXPECT_TRUE(player->isLoopPlaying());
    player->stopLoop();
    EXPECT_FALSE(player->isLoopPlaying());
    // The fading loop's source is the oldest: the end of its fade spares the
    // sound it went to.
    player->play(Sound::fanfare, Vector(0, 0, -3));
    clock.advance(1000);
    player->setListener(Vector(), Vector(0, 0, -1), Vector(0, 1, 0));
    EXPECT_EQ(player->getPlayingCount(), OpenAlSoundPlayer::MAX_VOICES);
    player->setEnabled(false);
    EXPECT_EQ(player->getPlayingCount(), 0);
}

TEST(SoundMuted, NoDeviceIsOpenedUntilTheSoundIsOnAndAMissingOneIsToldOnceThen)
{
    std::ostringstream errors;
    for (const bool missing : {false, true}) {
        // A folder where the device writes its file: no device opens.
        std::remove(outputFile().c_str());
        ASSERT_EQ(missing ? mkdir(outputFile().c_str(), 0755) : 0, 0);
        OpenAlSoundPlayer player(SOUNDS, errors, false);
        EXPECT_FALSE(player.hasDevice());
        EXPECT_EQ(errors.str(), "");
        for (const bool on : {true, false, true}) {
            player.setEnabled(on);
        }
        EXPECT_EQ(player.hasSound(Sound::fanfare), !missing);
    }
    rmdir(outputFile().c_str());
    EXPECT_EQ(errors.str(), "kestrune: no sound device; playing without sound\n");
}

TEST(SoundFilesRead, AMissingOrBrokenFileCostsOneLineAndTheRestPlays)
{
    outputFile();
    const std::string folder = std::string(KESTRUNE_BUILD_DIR) + "/artifacts/broken-sounds";
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "' && cp '" + SOUNDS + "'/*.wav '" + folder
                 + "' && rm '" + folder + "/hurt.wav'")
                    .c_str());
    std::ofstream(folder + "/death.wav") << "RIFF not really";
    std::ostringstream errors;
    {
        OpenAlSoundPlayer player(folder, errors);
        ASSERT_TRUE(player.hasDevice());
        EXPECT_FALSE(player.hasSound(Sound::hurt));
        EXPECT_FALSE(player.hasSound(Sound::death));
        EXPECT_TRUE(player.hasSound(Sound::fanfare));
        player.playNear(Sound::hurt);
        EXPECT_EQ(player.getPlayingCount(), 0);
        player.playNear(Sound::fanfare);
        EXPECT_EQ(player.getPlayingCount(), 1);
    }
    EXPECT_EQ(errors.str(), "kestrune: sound " + folder + "/hurt.wav is missing; it stays silent\n"
                            "kestrune: sound " + folder
                                + "/death.wav is not a sound file libsndfile reads; it stays silent\n");
    std::ostringstream noFolder;
    OpenAlSoundPlayer player(folder + "/none", noFolder);
    EXPECT_EQ(noFolder.str(), "kestrune: no sounds in " + folder + "/none; playing without sound\n");
    EXPECT_FALSE(player.hasSound(Sound::fanfare));
}
