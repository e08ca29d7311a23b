#include "Event.h"
#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"
#include "ResourceFixture.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

using Lines = std::vector<std::string>;
using vk::ResourceManager;

namespace {

struct ResourceManagerTest : vktest::ResourceFixture {};

const std::string ONE_CELL = "1\n1\n1\n0\nred\nx\n";

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Processor time this process has used, in seconds.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

const std::string NO_DEVICE =
    "audioDeviceAvailable(): Warning! No audio device could be opened: sounds and music will not play.";

} // namespace

TEST_F(ResourceManagerTest, SecondStartIsRefusedAndLoadsNeedAStartedManager) {
    EXPECT_EQ(rm.startUp(), -1);
    EXPECT_TRUE(env.logHas("ResourceManager::startup(): Warning! ResourceManager already started."));
    rm.shutDown();
    env.writeFile("one.txt", ONE_CELL);
    EXPECT_EQ(rm.loadSprite(env.path("one.txt"), "one"), -1);
    EXPECT_EQ(rm.loadSound("any.wav", "s"), -1);
    EXPECT_EQ(rm.loadMusic("any.ogg", "m"), -1);
    EXPECT_EQ(env.logCount("ResourceManager not started!"), 3);
}

TEST_F(ResourceManagerTest, ShutDownReleasesSpritesAndARestartBeginsEmpty) {
    ASSERT_EQ(loadText(ONE_CELL, "one"), 0);
    ASSERT_NE(rm.getSprite("one"), nullptr);
    rm.shutDown();
    EXPECT_FALSE(rm.isStarted());
    EXPECT_EQ(rm.getSprite("one"), nullptr);
    ASSERT_EQ(rm.startUp(), 0);
    EXPECT_EQ(rm.getSprite("one"), nullptr);
    ASSERT_EQ(loadText(ONE_CELL, "two"), 0);
    EXPECT_NE(rm.getSprite("two"), nullptr);
}

TEST_F(ResourceManagerTest, LookupIsExactAndTheFirstLoadedUnderALabelWins) {
    log.setLogLevel(5);
    ASSERT_EQ(loadText(ONE_CELL, "ship", "a.txt"), 0);
    ASSERT_EQ(loadText("1\n1\n1\n0\nblue\ny\n", "ship", "b.txt"), 0);
    const vk::Sprite *p_ship = rm.getSprite("ship");
    ASSERT_NE(p_ship, nullptr);
    EXPECT_EQ(p_ship->getColor(), vk::RED);
    EXPECT_TRUE(env.logHas("RM::getSprite(): Looking for sprite 'ship'."));

    EXPECT_EQ(rm.getSprite("Ship"), nullptr);
    EXPECT_TRUE(env.logHas("RM::getSprite(): Warning! Sprite 'Ship' not found."));
    EXPECT_EQ(rm.getSound("boom"), nullptr);
    EXPECT_TRUE(env.logHas("RM::getSound(): Warning! Sound 'boom' not found."));
    EXPECT_EQ(rm.getMusic("tune"), nullptr);
    EXPECT_TRUE(env.logHas("RM::getMusic(): Warning! Music 'tune' not found."));
}

TEST_F(ResourceManagerTest, SpriteLimitRefusesTheOneThousandAndFirst) {
    env.writeFile("one.txt", ONE_CELL);
    for (int i = 0; i < vk::MAX_SPRITES; i++)
        ASSERT_EQ(rm.loadSprite(env.path("one.txt"), "s" + std::to_string(i)), 0) << i;
    EXPECT_EQ(rm.loadSprite(env.path("one.txt"), "extra"), -1);
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000)."));
    EXPECT_TRUE(env.logHas("RM::loadRobustSprite(): Sprite 'extra' not loaded."));
    EXPECT_NE(rm.getSprite("s0"), nullptr);
    EXPECT_NE(rm.getSprite("s999"), nullptr);
    EXPECT_EQ(rm.getSprite("extra"), nullptr);
}

TEST_F(ResourceManagerTest, SoundLimitRefusesTheHundredAndFirst) {
    const std::string tone = vktest::makeTone(env, "tick.wav", 0.01);
    for (int i = 0; i < vk::MAX_SOUNDS; i++)
        ASSERT_EQ(rm.loadSound(tone, "s" + std::to_string(i)), 0) << i;
    EXPECT_EQ(rm.loadSound(tone, "extra"), -1);
    EXPECT_TRUE(env.logHas("RM::loadSound(): Error! Unable to add more sounds (max is 100)."));
    ASSERT_NE(rm.getSound("s99"), nullptr);
    EXPECT_EQ(rm.getSound("s99")->getLabel(), "s99");
    EXPECT_EQ(rm.getSound("extra"), nullptr);
}

TEST_F(ResourceManagerTest, MusicLimitRefusesTheFiftyFirst) {
    const std::string tune = vktest::makeTone(env, "tune.ogg", 0.05);
    for (int i = 0; i < vk::MAX_MUSICS; i++)
        ASSERT_EQ(rm.loadMusic(tune, "m" + std::to_string(i)), 0) << i;
    EXPECT_EQ(rm.loadMusic(tune, "extra"), -1);
    EXPECT_TRUE(env.logHas("RM::loadMusic(): Error! Unable to add more musics (max is 50)."));
    EXPECT_NE(rm.getMusic("m49"), nullptr);
    EXPECT_EQ(rm.getMusic("extra"), nullptr);
}

TEST_F(ResourceManagerTest, BadSoundAndMusicFilesAreNamedAndTheSlotIsReused) {
    log.setLogLevel(1);
    env.writeFile("text.wav", "not a sound at all\n");
    const std::string tone = vktest::makeTone(env, "tone.wav", 0.05);
    const std::string tune = vktest::makeTone(env, "tune.ogg", 0.05);

    EXPECT_EQ(rm.loadSound(env.path("text.wav"), "bad"), -1);
    EXPECT_TRUE(env.logHas("RM::loadSound(): Error! Cannot load sound from file '" + env.path("text.wav") + "'."));
    EXPECT_EQ(rm.loadSound(tone, ""), 0);
    EXPECT_TRUE(env.logHas("RM::loadSound(): Sound '' successfully loaded."));
    EXPECT_EQ(rm.getSound("bad"), nullptr);
    EXPECT_NE(rm.getSound(""), nullptr);

    EXPECT_EQ(rm.loadMusic(tune, ""), -1);
    EXPECT_TRUE(env.logHas("RM::loadMusic(): Error! Must provide label for music."));
    EXPECT_EQ(rm.loadMusic(env.path("missing.ogg"), "gone"), -1);
    EXPECT_TRUE(env.logHas("RM::loadmusic(): Error! Cannot load music from file '" + env.path("missing.ogg") + "'."));
    EXPECT_EQ(rm.loadMusic(tune, "tune"), 0);
    EXPECT_TRUE(env.logHas("RM::loadMusic(): Music 'tune' successfully loaded."));
    EXPECT_EQ(rm.getMusic("gone"), nullptr);
    EXPECT_NE(rm.getMusic("tune"), nullptr);
}

TEST(ResourceManagerAudio, ShutDownStopsLoopingSoundsAndMusic) {
    vktest::TestEnv env;
    vktest::WaveOutput output(env);
    const std::string tone = vktest::makeTone(env, "tone.wav", 0.1);
    const std::string tune = vktest::makeTone(env, "tune.ogg", 0.2);
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    ResourceManager &rm = ResourceManager::getInstance();
    ASSERT_EQ(rm.startUp(), 0);
    ASSERT_EQ(rm.loadSound(tone, "tone"), 0);
    ASSERT_EQ(rm.loadMusic(tune, "tune"), 0);
    rm.getSound("tone")->play(true);
    rm.getMusic("tune")->play(true);
    sleepSeconds(0.6);
    rm.shutDown();
    sleepSeconds(0.5);

    const vktest::Loudness heard = vktest::loudness(output.samples());
    EXPECT_GT(heard.span, 0.4);
    EXPECT_GT(heard.silent_tail, 0.3);
    vk::LogManager::getInstance().shutDown();
}

// The tests' silent back end is a device like any other: everything plays,
// into nothing, without burning the processor or writing to standard error.
TEST(ResourceManagerAudio, TheSilentBackEndCountsAsADevice) {
    vktest::TestEnv env;
    ASSERT_STREQ(std::getenv("ALSOFT_DRIVERS"), "null");
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    ResourceManager &rm = ResourceManager::getInstance();
    ASSERT_EQ(rm.startUp(), 0);
    ::testing::internal::CaptureStderr();
    const double cpu_before = cpuSeconds();
    ASSERT_EQ(rm.loadMusic(vktest::sourceDir() + "/sounds/game_music.ogg", "game music"), 0);
    ASSERT_EQ(rm.loadSound(vktest::sourceDir() + "/sounds/click.wav", "click"), 0);
    rm.getMusic("game music")->play(true);
    rm.getSound("click")->play(true);
    sleepSeconds(0.5);
    rm.shutDown();
    EXPECT_LT(cpuSeconds() - cpu_before, 0.3);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(env.logHas(NO_DEVICE));
    vk::LogManager::getInstance().shutDown();
}

TEST(ResourceManagerAudio, WithoutADeviceLoadsStillCheckFilesPlayIsSilentAndTheLogSaysWhyOnce) {
    vktest::TestEnv env;
    setenv("ALSOFT_DRIVERS", "no-such-back-end", 1);
    vk::LogManager &log = vk::LogManager::getInstance();
    ASSERT_EQ(log.startUp(), 0);
    ResourceManager &rm = ResourceManager::getInstance();
    ::testing::internal::CaptureStderr();
    const double cpu_before = cpuSeconds();
    ASSERT_EQ(rm.startUp(), 0);
    EXPECT_EQ(env.logMessages(), Lines{NO_DEVICE});

    env.writeFile("text.ogg", "not music\n");
    EXPECT_EQ(rm.loadSound(vktest::sourceDir() + "/sounds/click.wav", "click"), 0);
    EXPECT_EQ(rm.loadSound(vktest::sourceDir() + "/sounds/menu_music.ogg", "ogg as sound"), 0);
    EXPECT_EQ(rm.loadSound(env.path("text.ogg"), "bad"), -1);
    EXPECT_EQ(rm.loadMusic(vktest::sourceDir() + "/sounds/menu_music.ogg", "menu music"), 0);
    EXPECT_EQ(rm.loadMusic(env.path("text.ogg"), "bad"), -1);
    EXPECT_EQ(rm.loadMusic(env.path("missing.ogg"), "missing"), -1);

    rm.getMusic("menu music")->play(true);
    rm.getSound("click")->play(true);
    sleepSeconds(0.5);
    rm.getSound("click")->stop();
    rm.getMusic("menu music")->stop();
    rm.shutDown();
    ASSERT_EQ(rm.startUp(), 0);
    rm.shutDown();

    EXPECT_LT(cpuSeconds() - cpu_before, 0.3);
    const std::string err = ::testing::internal::GetCapturedStderr();
    // the file loads may have their say about the broken files; nothing more
    EXPECT_LT(err.size(), 1000u) << err;
    EXPECT_EQ(env.logCount(NO_DEVICE), 1);
    log.shutDown();
}

namespace {

// Ends the game loop after `last_step`.
struct StepCounter : vk::Object {
    int last_step;
    explicit StepCounter(int last) : last_step(last) { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        if (static_cast<const vk::EventStep *>(p_event)->getStepCount() >= last_step)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
};

long indexOf(const Lines &lines, const std::string &line) {
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

} // namespace

TEST(ResourceManagerInTheEngine, StartsBetweenNetworkAndWorldAndStopsAfterTheWorld) {
    vktest::TestEnv env("headless:true,\n");
    setenv("VESSIK_LOG_LEVEL", "1", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    unsetenv("VESSIK_LOG_LEVEL");
    ResourceManager &rm = ResourceManager::getInstance();
    EXPECT_TRUE(rm.isStarted());
    ASSERT_EQ(rm.loadSprite(vktest::sourceDir() + "/sprites/Trash_sprite.txt", "trash"), 0);
    game.shutDown();
    EXPECT_FALSE(rm.isStarted());

    const Lines log = env.logMessages();
    const long network = indexOf(log, "Network manager started.");
    const long resource = indexOf(log, "Resource manager started.");
    const long world = indexOf(log, "World manager started.");
    EXPECT_TRUE(network >= 0 && network < resource && resource < world) << env.readLog();
    const long world_stop = indexOf(log, "World manager stopped");
    const long resource_stop = indexOf(log, "Resource manager stopped");
    const long network_stop = indexOf(log, "Network manager stopped");
    EXPECT_TRUE(world_stop >= 0 && world_stop < resource_stop && resource_stop < network_stop) << env.readLog();
    EXPECT_EQ(rm.getSprite("trash"), nullptr);
}

// The game's start with no sound card: the assets load, the music is asked
// to play, the loop runs and the engine stops as usual, without a sound and
// without spinning.
TEST(ResourceManagerInTheEngine, GameRunsSilentlyAndStopsWithoutADevice) {
    vktest::TestEnv env("headless:true,\nnetworking:false,\nframe_time:10,\n");
    setenv("ALSOFT_DRIVERS", "no-such-back-end", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ::testing::internal::CaptureStderr();
    const double cpu_before = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(game.startUp(), 0);
    ResourceManager &rm = ResourceManager::getInstance();
    for (const char *sound : {"click", "crash_splash", "game_over_voice", "pick_up", "speed_increase"})
        EXPECT_EQ(rm.loadSound(vktest::sourceDir() + "/sounds/" + sound + ".wav", sound), 0) << sound;
    EXPECT_EQ(rm.loadMusic(vktest::sourceDir() + "/sounds/menu_music.ogg", "menu music"), 0);
    EXPECT_EQ(rm.loadMusic(vktest::sourceDir() + "/sounds/game_music.ogg", "game music"), 0);
    rm.getMusic("menu music")->play(true);
    rm.getSound("click")->play(false);

    new StepCounter(30);
    game.run();
    EXPECT_EQ(game.getStepCount(), 31);
    game.shutDown();

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_LT(cpuSeconds() - cpu_before, 0.3);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(env.logCount(NO_DEVICE), 1);
}
