#include "TestEnv.h"
#include "WaveOutput.h"
#include "inFreshProcess.h"

#include <vessik/core/LogManager.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>

#include <gtest/gtest.h>

#include <functional>

using vktest::Loudness;

namespace {

// Runs `test` with the audio going to a WAV file and the log open, in a
// process of its own: the audio back end reads where to play once per process.
void listening(const std::function<void(const vktest::TestEnv &, const vktest::WaveOutput &)> &test) {
    vktest::inFreshProcess([&test] {
        const vktest::TestEnv env;
        const vktest::WaveOutput output(env);
        ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
        test(env, output);
        vk::LogManager::getInstance().shutDown();
    });
}

bool stopped(const Loudness &heard) { return heard.span > 0 && heard.silent_tail > 0.4; }

} // namespace

TEST(SoundTest, PlaysItsLatestSamplesOnceThenSilence) {
    listening([](const vktest::TestEnv &env, const vktest::WaveOutput &output) {
        vk::Sound sound;
        ASSERT_EQ(sound.loadSound(vktest::makeTone(env, "short.wav", 0.1)), 0);
        ASSERT_EQ(sound.loadSound(vktest::makeTone(env, "long.wav", 0.5)), 0);
        sound.play(false);
        EXPECT_NEAR(output.listenUntil(stopped).span, 0.5, 0.02);
    });
}

TEST(SoundTest, LoopingSoundRepeatsUntilTheResourceManagerShutsDown) {
    listening([](const vktest::TestEnv &env, const vktest::WaveOutput &output) {
        vk::ResourceManager &rm = vk::ResourceManager::getInstance();
        ASSERT_EQ(rm.startUp(), 0);
        ASSERT_EQ(rm.loadSound(vktest::makeTone(env, "tick.wav", 0.1), "tick"), 0);
        rm.getSound("tick")->play(true);
        EXPECT_GT(output.listenUntil([](const Loudness &heard) { return heard.span > 0.5; }).span, 0.5);
        rm.shutDown();
        EXPECT_TRUE(stopped(output.listenUntil(stopped)));
    });
}

// What never loaded plays nothing, without a crash or the audio library's
// complaints on standard error.
TEST(SoundTest, MusicLoopsUntilStoppedThenIsSilentAndWhatNeverLoadedPlaysNothing) {
    listening([](const vktest::TestEnv &env, const vktest::WaveOutput &output) {
        vk::Sound unloaded;
        vk::Music unopened;
        vk::Music music;
        env.writeFile("text.wav", "not music\n");
        EXPECT_EQ(unloaded.loadSound(env.path("text.wav")), -1);
        EXPECT_EQ(unopened.loadMusic(env.path("text.wav")), -1);
        ASSERT_EQ(music.loadMusic(vktest::makeTone(env, "tune.wav", 0.2)), 0);
        ::testing::internal::CaptureStderr();
        unloaded.play(true);
        unopened.play(true);
        music.play(true);
        EXPECT_GT(output.listenUntil([](const Loudness &heard) { return heard.span > 0.7; }).span, 0.7);
        music.stop();
        EXPECT_TRUE(stopped(output.listenUntil(stopped)));
        unloaded.stop();
        unopened.stop();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    });
}

// Muted, nothing is heard, whether it started before or during the mute;
// unmuting brings back what still plays, and a stopped manager forgets both.
TEST(SoundTest, MuteSilencesSoundsAndMusicStartedBeforeOrWhileMuted) {
    listening([](const vktest::TestEnv &env, const vktest::WaveOutput &output) {
        vk::ResourceManager &rm = vk::ResourceManager::getInstance();
        ASSERT_EQ(rm.startUp(), 0);
        ASSERT_EQ(rm.loadSound(vktest::makeTone(env, "tick.wav", 0.1), "tick"), 0);
        ASSERT_EQ(rm.loadMusic(vktest::makeTone(env, "tune.wav", 0.2), "tune"), 0);
        rm.getMusic("tune")->play(true);
        rm.setMuted(true);
        rm.getSound("tick")->play(true);
        EXPECT_TRUE(rm.isMuted());
        // whatever reached the file before the mute ends well within this
        const auto heard = [&output] { return output.listenUntil([](const Loudness &) { return false; }, 1.5); };
        const Loudness muted = heard();
        EXPECT_GT(muted.silent_tail, 1.0) << "span " << muted.span;
        rm.setMuted(false);
        EXPECT_LT(output.listenUntil([](const Loudness &loud) { return loud.silent_tail < 0.1; }).silent_tail, 0.1);

        for (const auto &[asked, kept] :
             {std::pair{150.0f, 100.0f}, std::pair{-5.0f, 0.0f}, std::pair{40.0f, 40.0f}}) {
            rm.setMasterVolume(asked);
            EXPECT_EQ(rm.getMasterVolume(), kept);
        }
        rm.setMuted(true);
        rm.shutDown();
        EXPECT_FALSE(rm.isMuted());
        EXPECT_EQ(rm.getMasterVolume(), 100.0f);
    });
}
