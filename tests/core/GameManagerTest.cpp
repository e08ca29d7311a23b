#include "TestEnv.h"
#include "XServer.h"

#include <vessik/core/Clock.h>
#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/world/Object.h>

#include "core/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using vk::GameManager;

namespace {

// Remembers the step counts it sees, can stall a step and ends the game after
// `last_step`, or raises `quit_signal` at `last_step` and ends it a step later.
struct Stepper : vk::Object {
    std::vector<int> steps;
    int last_step = 0;
    int stall_ms = 0;
    int quit_signal = 0;
    Stepper() { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        const int step = dynamic_cast<const vk::EventStep *>(p_event)->getStepCount();
        steps.push_back(step);
        if (stall_ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(stall_ms));
        if (step == last_step && quit_signal != 0)
            std::raise(quit_signal);
        else if (step >= last_step)
            GameManager::getInstance().setGameOver();
        return 1;
    }
};

// Headless, so that the loop's own behaviour is tested without a window,
// unless the test needs to see frames.
struct Engine {
    std::unique_ptr<vktest::XServer> p_x_server;
    vktest::TestEnv env;
    explicit Engine(const std::string &config, bool window = false)
        : p_x_server(window ? std::make_unique<vktest::XServer>() : nullptr),
          env(std::string(window ? "headless:false,\nnetworking:false,\n" : "headless:true,\n") + config) {
        setenv("VESSIK_LOG_LEVEL", "10", 1);
    }
    ~Engine() {
        GameManager::getInstance().shutDown();
        unsetenv("VESSIK_LOG_LEVEL");
    }
};

const char *const ASTERISKS = "****************************************************";

std::vector<int> randSequence(int n) {
    std::vector<int> values;
    for (int i = 0; i < n; i++)
        values.push_back(std::rand());
    return values;
}

} // namespace

TEST(GameManager, StartUpWritesBannerSummaryAndProgressInOrder) {
    Engine engine("frame_time:33,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    EXPECT_TRUE(GameManager::getInstance().isStarted());
    EXPECT_EQ(GameManager::getInstance().getFrameTime(), 33);

    const std::vector<std::string> log = engine.env.logMessages();
    const std::vector<std::string> expected_start = {
        "LogManager::startUp(): successfully started.", ASTERISKS, "** Vessik version 4.25 **",
        "** Game engine started **", ASTERISKS, "-----------------------------------", "Vessik configuration:",
        "  Window horizontal pixels: 1024"};
    ASSERT_GE(log.size(), expected_start.size());
    for (std::size_t i = 0; i < expected_start.size(); i++)
        EXPECT_EQ(log[i], expected_start[i]) << "line " << i;
    EXPECT_TRUE(engine.env.logHas("Working directory:"));
    EXPECT_TRUE(engine.env.logHas("Log Manager started."));
    EXPECT_TRUE(engine.env.logHas("GameManager::startUp(): frame time is 33 milliseconds"));
    EXPECT_EQ(log.back(), "GameManager successfully started.");

    // every start-up line carries step 0 in four columns
    const std::string first_line = engine.env.readLog().substr(0, engine.env.readLog().find('\n'));
    EXPECT_EQ(first_line.substr(8, 6), "    0 ") << first_line;

    EXPECT_EQ(GameManager::getInstance().startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("GameManager::startup(): Warning! GameManager already started."));
}

TEST(GameManager, ConfiguredSeedIsUsedAndMinusOneLeavesTheGenerator) {
    {
        Engine engine("random_seed:7,");
        ASSERT_EQ(GameManager::getInstance().startUp(), 0);
        const std::vector<int> after_start = randSequence(5);
        std::srand(7);
        EXPECT_EQ(after_start, randSequence(5));
        EXPECT_TRUE(engine.env.logHas("GameManager()::startUp(): srand() seed with 7"));
    }
    {
        Engine engine("random_seed:-1,");
        std::srand(12345);
        ASSERT_EQ(GameManager::getInstance().startUp(), 0);
        const std::vector<int> after_start = randSequence(5);
        std::srand(12345);
        EXPECT_EQ(after_start, randSequence(5));
        for (const std::string &line : engine.env.logMessages())
            EXPECT_EQ(line.find("srand() seed"), std::string::npos) << line;
    }
}

TEST(GameManager, UnwritableLogFailsStartUpWithBothLinesOnStandardError) {
    vktest::TestEnv env;
    setenv("VESSIK_LOG", (env.dir() + "/no/such/folder/x.log").c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(GameManager::getInstance().startUp(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file '" + env.dir() + "/no/such/folder/x.log'."),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("GameManager::startUp(): Error! Starting log manager."), std::string::npos) << err;
    EXPECT_FALSE(GameManager::getInstance().isStarted());
    EXPECT_FALSE(vk::LogManager::getInstance().isStarted());

    // shutting down what never started is harmless
    ::testing::internal::CaptureStderr();
    GameManager::getInstance().shutDown();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("** Game engine stopped **"), std::string::npos);
}

TEST(GameManager, RunDeliversNumberedStepsUntilGameOver) {
    EXPECT_FALSE(GameManager::getInstance().isValid(vk::KEYBOARD_EVENT));
    Engine engine("frame_time:0,");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    Stepper stepper;
    stepper.last_step = 4;
    GameManager::getInstance().run();
    EXPECT_EQ(stepper.steps, (std::vector<int>{0, 1, 2, 3, 4}));
    // the step in which game over was set is counted
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 5);
    EXPECT_TRUE(engine.env.logHas("GameManager::run(): starting game loop"));
    EXPECT_TRUE(engine.env.logHas("GameManager::run(): end of game loop"));

    // a second run starts counting again, even with game over already set
    GameManager::getInstance().setGameOver();
    stepper.last_step = 0;
    stepper.steps.clear();
    GameManager::getInstance().run();
    EXPECT_EQ(stepper.steps, std::vector<int>{0});
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 1);

    // frame time 0 never sleeps, so it never falls behind either
    stepper.last_step = 2000;
    GameManager::getInstance().run();
    for (const std::string &line : engine.env.logMessages())
        EXPECT_EQ(line.find("Can't keep up"), std::string::npos) << line;
}

TEST(GameManager, AQuitSignalEndsTheLoopAfterItsStepAndASecondOneEndsTheProcess) {
    // whatever this process inherited
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal_number, SIG_DFL);
    // each start-up forgets the signal of the run before
    for (const int quit_signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(quit_signal);
        {
            Engine engine("frame_time:0,");
            ASSERT_EQ(GameManager::getInstance().startUp(), 0);
            EXPECT_FALSE(GameManager::getInstance().quitRequested());
            auto *p_stepper = new Stepper;
            p_stepper->last_step = 2;
            p_stepper->quit_signal = quit_signal;
            GameManager::getInstance().run();
            EXPECT_EQ(p_stepper->steps, (std::vector<int>{0, 1, 2}));
            EXPECT_TRUE(GameManager::getInstance().quitRequested());
            EXPECT_TRUE(engine.env.logHas("GameManager::run(): Signal " + std::to_string(quit_signal) +
                                          " received. Setting game over."));
        }
        // shut down, the program can still tell how it was asked to end
        EXPECT_EQ(vk::platform::quitSignal(), quit_signal);
        struct sigaction now {};
        sigaction(quit_signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }

    EXPECT_EXIT(
        {
            std::signal(SIGHUP, SIG_IGN);
            vk::platform::catchQuitSignals();
            // ignored from the start, so it stays ignored
            std::raise(SIGHUP);
            std::raise(SIGINT);
            if (vk::platform::quitSignal() == SIGINT)
                std::raise(SIGTERM);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST(GameManager, StepsLastTheFrameTimeOnAverage) {
    Engine engine("frame_time:10,");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    Stepper stepper;
    stepper.last_step = 29;
    vk::Clock clock;
    GameManager::getInstance().run();
    // each step wakes at its deadline, to the microsecond: thirty steps lose
    // far less than a millisecond together, however busy the machine (a
    // busy machine only makes them longer)
    EXPECT_GE(clock.split(), 30 * 10000 - 1000);
}

TEST(GameManager, OverrunningStepsComplainExceptOnTheFirstStep) {
    Engine engine("frame_time:5,");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    Stepper stepper;
    stepper.last_step = 2;
    stepper.stall_ms = 12;
    GameManager::getInstance().run();
    int complaints = 0;
    for (const std::string &line : engine.env.logMessages())
        if (line.rfind("GameManager::run(): Can't keep up! frame_time 5 ms, split ", 0) == 0)
            complaints++;
    EXPECT_EQ(complaints, 2);
    // step 0 overran as well but never complains
    const std::string log = engine.env.readLog();
    EXPECT_EQ(log.find("   0 GameManager::run(): Can't keep up!"), std::string::npos);
    EXPECT_NE(log.find("   1 GameManager::run(): Can't keep up!"), std::string::npos);
    EXPECT_NE(log.find("   2 GameManager::run(): Can't keep up!"), std::string::npos);
}

TEST(GameManager, ShutDownStopsEverythingAndALaterStartBeginsAfresh) {
    Engine engine("frame_time:0,grid_width:5,");
    GameManager &game = GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    (new Stepper)->last_step = 2;
    game.run();
    game.shutDown();
    EXPECT_TRUE(game.getGameOver());
    EXPECT_FALSE(game.isStarted());
    EXPECT_FALSE(vk::LogManager::getInstance().isStarted());
    const std::vector<std::string> log = engine.env.logMessages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], ASTERISKS);
    EXPECT_EQ(log[log.size() - 2], "** Game engine stopped **");
    EXPECT_EQ(log.back(), "LogManager::shutDown(): successfully stopped.");

    // the settings come from the new file alone, the lines carry step 0
    engine.env.writeFile("vk-config.txt", "headless:true,");
    ASSERT_EQ(game.startUp(), 0);
    EXPECT_EQ(game.getFrameTime(), 33);
    EXPECT_EQ(vk::Config::getInstance().getGridWidth(), 20);
    EXPECT_EQ(game.getStepCount(), 0);
    EXPECT_EQ(engine.env.readLog().substr(8, 6), "    0 ");
}

// Drawn last in every loop iteration, paused or not: keeps the frame text and
// pauses the loop for `pause_for` iterations after iteration `pause_at`.
struct Director : vk::Object {
    std::vector<std::string> frames;
    int pause_at = -1;
    int pause_for = 0;
    Director() { setAltitude(vk::MAX_ALTITUDE); }
    int draw() override {
        const int iteration = static_cast<int>(frames.size());
        frames.push_back(vk::DisplayManager::getInstance().getFrameText().toString());
        if (iteration == pause_at)
            GameManager::getInstance().setPaused(true);
        if (iteration == pause_at + pause_for)
            GameManager::getInstance().setPaused(false);
        return 0;
    }
};

TEST(GameManager, PauseHoldsStepsMovesAndAnimationsAndResumingCarriesOnAsIfNothingHappened) {
    Engine engine("frame_time:0,", true);
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    engine.env.writeFile("blink.txt", "2\n1\n1\n1\nwhite\na\nb\n");
    ASSERT_EQ(vk::ResourceManager::getInstance().loadSprite(engine.env.path("blink.txt"), "blink"), 0);
    // a blinking sprite drifting right, a column a step, for ten steps
    const auto play = [](int pause_at, int pause_for) {
        Stepper stepper;
        stepper.last_step = 9;
        stepper.setSprite("blink");
        stepper.setPosition(vk::Vector(2, 5));
        stepper.setVelocity(vk::Vector(1, 0));
        Director director;
        director.pause_at = pause_at;
        director.pause_for = pause_for;
        GameManager::getInstance().run();
        EXPECT_FALSE(GameManager::getInstance().isPaused());
        EXPECT_EQ(GameManager::getInstance().getStepCount(), 10);
        return std::make_pair(stepper.steps, director.frames);
    };
    const auto [steps, frames] = play(-1, 0);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_NE(frames[3], frames[4]);

    for (const auto &[pause_at, pause_for] : {std::pair{3, 4}, std::pair{0, 1}, std::pair{8, 6}}) {
        const auto [paused_steps, paused_frames] = play(pause_at, pause_for);
        EXPECT_EQ(paused_steps, steps) << "no step while paused, none lost or repeated";
        ASSERT_EQ(paused_frames.size(), frames.size() + static_cast<std::size_t>(pause_for));
        std::vector<std::string> resumed(paused_frames.begin(), paused_frames.begin() + pause_at + 1);
        resumed.insert(resumed.end(), paused_frames.begin() + pause_at + 1 + pause_for, paused_frames.end());
        EXPECT_EQ(resumed, frames) << "paused " << pause_for << " after " << pause_at;
        for (int i = 1; i < pause_for; i++)
            EXPECT_EQ(paused_frames[pause_at + 1 + i], paused_frames[pause_at + 1]) << "held still";
    }
    EXPECT_EQ(engine.env.logCount("GameManager::setPaused(): Game paused."), 3);
    EXPECT_EQ(engine.env.logCount("GameManager::setPaused(): Game resumed."), 3);
}
