#include "LogManager.h"
#include "Music.h"
#include "TestEnv.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// A test that listens: the audio goes to a WAV file, the log is open.
struct MusicTest : ::testing::Test {
    vktest::TestEnv env;
    vktest::WaveOutput output{env};
    void SetUp() override { ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0); }
    void TearDown() override { vk::LogManager::getInstance().shutDown(); }
};

} // namespace

TEST_F(MusicTest, LoopingMusicRepeatsUntilStopped) {
    const std::string tune = vktest::makeTone(env, "tune.ogg", 0.2);
    {
        vk::Music music;
        ASSERT_EQ(music.loadMusic(tune), 0);
        music.play(true);
        sleepSeconds(0.9);
        music.stop();
        sleepSeconds(0.5);
    }
    const vktest::Loudness heard = vktest::loudness(output.samples());
    EXPECT_GT(heard.span, 0.6);
    EXPECT_GT(heard.silent_tail, 0.3);
}

TEST_F(MusicTest, StoppedMusicWritesSilence) {
    vk::LogManager::getInstance().setLogLevel(5);
    const std::string tune = vktest::makeTone(env, "long.ogg", 3.0);
    {
        vk::Music music;
        ASSERT_EQ(music.loadMusic(tune), 0);
        music.play(true);
        sleepSeconds(0.3);
        music.stop();
        sleepSeconds(0.8);
    }
    const vktest::Loudness heard = vktest::loudness(output.samples());
    EXPECT_GT(heard.span, 0.1);
    EXPECT_LT(heard.span, 1.0);
    EXPECT_GT(heard.silent_tail, 0.6);
    EXPECT_TRUE(env.logHas("Music::play(): Playing music."));
    EXPECT_TRUE(env.logHas("Music::stop(): Stopping music."));
    vk::LogManager::getInstance().setLogLevel(0);
}

TEST_F(MusicTest, MusicThatNeverOpenedPlaysNothingAndSaysNothing) {
    env.writeFile("text.ogg", "not music\n");
    {
        vk::Music music;
        EXPECT_EQ(music.loadMusic(env.path("missing.ogg")), -1);
        EXPECT_EQ(music.loadMusic(env.path("text.ogg")), -1);
        ::testing::internal::CaptureStderr();
        music.play(true);
        sleepSeconds(0.3);
        music.stop();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_EQ(vktest::loudness(output.samples()).span, 0);
}
