#include "Clock.h"
#include "Event.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

using vk::GameManager;

namespace {

// Remembers the step counts it sees, can stall a step and ends the game after
// `last_step`.
struct Stepper : vk::Object {
    std::vector<int> steps;
    int last_step = 0;
    int stall_ms = 0;
    Stepper() { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        const int step = dynamic_cast<const vk::EventStep *>(p_event)->getStepCount();
        steps.push_back(step);
        if (stall_ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(stall_ms));
        if (step >= last_step)
            GameManager::getInstance().setGameOver();
        return 1;
    }
};

// Headless, so that the loop's own behaviour is tested without a window.
struct Engine {
    vktest::TestEnv env;
    explicit Engine(const std::string &config) : env("headless:true,\n" + config) {
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

TEST(GameManager, ShutDownStopsEverythingAndClosesTheLog) {
    Engine engine("");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    GameManager::getInstance().shutDown();
    EXPECT_TRUE(GameManager::getInstance().getGameOver());
    EXPECT_FALSE(GameManager::getInstance().isStarted());
    EXPECT_FALSE(vk::LogManager::getInstance().isStarted());
    const std::vector<std::string> log = engine.env.logMessages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], ASTERISKS);
    EXPECT_EQ(log[log.size() - 2], "** Game engine stopped **");
    EXPECT_EQ(log.back(), "LogManager::shutDown(): successfully stopped.");
}
