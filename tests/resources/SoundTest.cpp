#include "LogManager.h"
#include "Sound.h"
#include "TestEnv.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// A test that listens: the audio goes to a WAV file, the log is open.
struct SoundTest : ::testing::Test {
    vktest::TestEnv env;
    vktest::WaveOutput output{env};
    void SetUp() override { ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0); }
    void TearDown() override { vk::LogManager::getInstance().shutDown(); }
};

} // namespace

TEST_F(SoundTest, PlayedOnceWritesItsLengthOfSoundThenSilence) {
    const std::string tone = vktest::makeTone(env, "tone.wav", 0.3);
    {
        vk::Sound sound;
        ASSERT_EQ(sound.loadSound(tone), 0);
        sound.play(false);
        sleepSeconds(0.8);
    }
    const vktest::Loudness heard = vktest::loudness(output.samples());
    EXPECT_NEAR(heard.span, 0.3, 0.02);
    EXPECT_GT(heard.silent_tail, 0.3);
}

TEST_F(SoundTest, LoopingSoundKeepsPlayingUntilStopped) {
    const std::string tone = vktest::makeTone(env, "tick.wav", 0.1);
    {
        vk::Sound sound;
        ASSERT_EQ(sound.loadSound(tone), 0);
        sound.play(true);
        sleepSeconds(0.7);
        sound.stop();
        sleepSeconds(0.5);
    }
    const vktest::Loudness heard = vktest::loudness(output.samples());
    // at least five rounds of a tenth of a second, and nothing after the stop
    EXPECT_GT(heard.span, 0.5);
    EXPECT_GT(heard.silent_tail, 0.3);
}

TEST_F(SoundTest, SecondLoadReplacesTheSamples) {
    const std::string short_tone = vktest::makeTone(env, "short.wav", 0.1);
    const std::string long_tone = vktest::makeTone(env, "long.wav", 0.5);
    {
        vk::Sound sound;
        ASSERT_EQ(sound.loadSound(short_tone), 0);
        ASSERT_EQ(sound.loadSound(long_tone), 0);
        sound.play(false);
        sleepSeconds(0.9);
    }
    EXPECT_NEAR(vktest::loudness(output.samples()).span, 0.5, 0.02);
}

TEST_F(SoundTest, UnloadedSoundOnlyLogsItsPlay) {
    vk::LogManager::getInstance().setLogLevel(5);
    {
        vk::Sound sound;
        EXPECT_EQ(sound.loadSound(env.path("missing.wav")), -1);
        sound.stop();
        sound.play(true);
        sound.stop();
        EXPECT_EQ(sound.getLabel(), "[Undefined]");
    }
    EXPECT_EQ(env.logMessages(), std::vector<std::string>{"Sound::play(): Playing sound."});
    vk::LogManager::getInstance().setLogLevel(0);
}
