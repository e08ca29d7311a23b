#include "DisplayTestSupport.h"

#include <vessik/core/EventStep.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/presentation/Splash.h>
#include <vessik/presentation/SplashVessik.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/resources/Animation.h>
#include <vessik/world/WorldManager.h>

#include <gtest/gtest.h>

#include <vector>

using vk::GameManager;
using vk::Vector;

namespace {

// The whole engine, on a private X server when `window` is set.
struct Engine {
    vktest::TestEnv env;
    std::unique_ptr<vktest::XServer> p_x_server;
    bool started = false;
    explicit Engine(const std::string &config, bool window = false) : env("networking:false," + config) {
        if (window)
            p_x_server = std::make_unique<vktest::XServer>();
        setenv("VESSIK_LOG_LEVEL", "10", 1);
        started = GameManager::getInstance().startUp() == 0;
    }
    ~Engine() {
        GameManager::getInstance().shutDown();
        unsetenv("VESSIK_LOG_LEVEL");
    }
};

vk::Object *theOne(const std::string &type) {
    const vk::ObjectList list = vk::WorldManager::getInstance().objectsOfType(type);
    return list.isEmpty() ? nullptr : list[0];
}

// What the observer saw of the title at the start of one step.
struct Seen {
    bool banner = false;
    Vector banner_position;
    int banner_frame = -1;
    bool emblem = false;
    Vector emblem_position;
    int emblem_width = 0;
    std::vector<std::string> screen; // the frame drawn in the step before
};

// Registered for steps before the title starts, so it sees each step before
// the title's objects do. Presses a key at `key_step`.
struct Observer : vk::Object {
    std::vector<Seen> seen;
    int key_step = -1;
    Observer() { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        const int step = dynamic_cast<const vk::EventStep *>(p_event)->getStepCount();
        Seen now;
        if (vk::Object *p_banner = theOne("Splash")) {
            now.banner = true;
            now.banner_position = p_banner->getPosition();
            now.banner_frame = p_banner->getAnimation().getIndex();
        }
        if (vk::Object *p_emblem = theOne("SplashVessik")) {
            now.emblem = true;
            now.emblem_position = p_emblem->getPosition();
            now.emblem_width = p_emblem->getAnimation().getSprite()->getWidth();
        }
        now.screen = vk::DisplayManager::getInstance().getFrameText().lines();
        seen.push_back(now);
        if (step == key_step) {
            vk::EventKeyboard key;
            key.setKey(0);
            key.setKeyboardAction(0);
            vk::InputManager::getInstance().onEvent(&key);
        }
        // a title that never ends must not hang the test
        if (step > 500)
            GameManager::getInstance().setGameOver();
        return 1;
    }
};

} // namespace

TEST(Splash, RunsNinetyStepsOrUntilAKeyAndLeavesNothingBehind) {
    {
        vktest::TestEnv env("");
        vk::LogManager::getInstance().startUp();
        EXPECT_EQ(vk::splash(), -1) << "not before the engine starts";
        EXPECT_TRUE(env.logHas("splash(): Error! Cannot run splash screen until game manger is started."));
        vk::LogManager::getInstance().shutDown();
    }
    std::vector<Seen> seen;
    // a key ends it in that step, before the emblem appears or with it
    for (const int key_step : {-1, 5, 20}) {
        SCOPED_TRACE("key at step " + std::to_string(key_step));
        Engine engine("headless:true,frame_time:0,");
        ASSERT_TRUE(engine.started);
        auto *p_observer = new Observer;
        p_observer->key_step = key_step;
        ASSERT_EQ(vk::splash(), 0);
        const int steps = key_step < 0 ? 90 : key_step + 1;
        EXPECT_EQ(GameManager::getInstance().getStepCount(), steps);
        ASSERT_EQ(p_observer->seen.size(), static_cast<std::size_t>(steps));
        EXPECT_TRUE(p_observer->seen.back().banner);
        EXPECT_EQ(p_observer->seen.back().emblem, key_step != 5);
        EXPECT_TRUE(GameManager::getInstance().getGameOver());
        EXPECT_EQ(theOne("Splash"), nullptr);
        EXPECT_EQ(theOne("SplashVessik"), nullptr);
        EXPECT_TRUE(engine.env.logHas("splash(): Started.") && engine.env.logHas("splash(): Finished."));
        if (key_step < 0)
            seen = p_observer->seen;
    }

    // the banner starts beyond the right edge, vertically centred, moves in
    // its first 14 steps only and shows its second lettering from its 15th;
    // the emblem appears in that step six rows below the view under its
    // target (24 right of and 1 below the banner), rises to the target's
    // height in 30 moves, and at its 45th step rests one column to the left
    ASSERT_EQ(seen.size(), 90u);
    EXPECT_EQ(seen[0].banner_position, Vector(80 + 23.5f, 12));
    const float banner_x = seen[89].banner_position.getX();
    for (std::size_t s = 1; s < 90; s++) {
        SCOPED_TRACE("step " + std::to_string(s));
        ASSERT_TRUE(seen[s].banner);
        if (s <= 14) {
            EXPECT_LT(seen[s].banner_position.getX(), seen[s - 1].banner_position.getX());
        } else {
            EXPECT_EQ(seen[s].banner_position, seen[s - 1].banner_position);
        }
        EXPECT_EQ(seen[s].banner_frame, s <= 14 ? 0 : 1);
        ASSERT_EQ(seen[s].emblem, s >= 15);
        if (s >= 15) {
            EXPECT_EQ(seen[s].emblem_width, s < 60 ? 11 : 9);
            EXPECT_FLOAT_EQ(seen[s].emblem_position.getX(), banner_x + (s < 60 ? 24 : 23));
        }
        if (s >= 44) {
            EXPECT_NEAR(seen[s].emblem_position.getY(), 13.0f, 1e-4f);
        }
    }
    EXPECT_FLOAT_EQ(seen[15].emblem_position.getY(), 30 - 17.0f / 30) << "moved in its first step";
    EXPECT_GT(seen[43].emblem_position.getY(), 13.5f);
}

TEST(Splash, ATitleCutShortByGameOverDoesNotWakeUpInTheNextRun) {
    Engine engine("headless:true,frame_time:0,");
    ASSERT_TRUE(engine.started);
    // ends the loop at step 20 after the step events, as a closed window
    // would, then the next run at its step 120
    struct Ender : vk::Object {
        int end_at = 20;
        int draw() override {
            if (GameManager::getInstance().getStepCount() == end_at)
                GameManager::getInstance().setGameOver();
            return 0;
        }
    };
    auto *p_ender = new Ender;
    auto *p_observer = new Observer;
    ASSERT_EQ(vk::splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 21);
    EXPECT_TRUE(p_observer->seen.back().emblem);

    p_ender->end_at = 120;
    p_observer->seen.clear();
    GameManager::getInstance().run();
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 121) << "the emblem must not end this run";
    for (const Seen &s : p_observer->seen)
        EXPECT_FALSE(s.banner || s.emblem);
    EXPECT_EQ(vk::WorldManager::getInstance().getAllObjects(true).getCount(), 2) << "only the test's objects";
}

TEST(Splash, BannerSpeedFollowsTheFrameTimeAndTheViewWidth) {
    struct Case {
        const char *config;
        float start_x, speed, stop;
    };
    // 23.5 + half the view + 11 cells over half the frame time, 14 moves:
    // at 33 ms it stops near the middle of any view, at 66 ms near column 72;
    // below 2 ms the halved frame time counts as 1 instead of dividing by 0
    for (const Case &c : {Case{"frame_time:33,window_horizontal_chars:80,", 103.5f, 74.5f / 16, 38.3f},
                          Case{"frame_time:66,window_horizontal_chars:80,", 103.5f, 74.5f / 33, 71.9f},
                          Case{"frame_time:33,window_horizontal_chars:120,", 143.5f, 94.5f / 16, 60.8f},
                          Case{"frame_time:1,window_horizontal_chars:80,", 103.5f, 74.5f, -939.5f},
                          Case{"frame_time:0,window_horizontal_chars:80,", 103.5f, 74.5f, -939.5f}}) {
        SCOPED_TRACE(c.config);
        Engine engine(std::string("headless:true,") + c.config);
        ASSERT_TRUE(engine.started);
        auto *p_banner = new vk::Splash;
        EXPECT_EQ(p_banner->getPosition(), Vector(c.start_x, 12));
        EXPECT_FLOAT_EQ(p_banner->getVelocity().getX(), -c.speed);
        EXPECT_EQ(p_banner->getBox(), vk::Box(Vector(-23.5f, -4), 47, 8));
        for (int i = 0; i < 20; i++) {
            GameManager::getInstance().onEvent(std::make_unique<vk::EventStep>(i).get());
            vk::WorldManager::getInstance().update();
        }
        EXPECT_NEAR(p_banner->getPosition().getX(), c.stop, 0.1);
        GameManager::getInstance().setGameOver(false);
    }
}

TEST(Splash, ShowsBannerEmblemAndHudInAWindow) {
    Engine engine("", true);
    ASSERT_TRUE(engine.started);
    auto *p_observer = new Observer;
    auto *p_hud = new vk::ViewObject;
    p_hud->setViewString("HUD");
    p_hud->setValue(7);
    ASSERT_EQ(vk::splash(), 0);
    ASSERT_EQ(p_observer->seen.size(), 90u);

    // while it moves, the slanted lettering
    EXPECT_EQ(p_observer->seen[11].screen[10].substr(0, 59), std::string(29, ' ') + "__      __   ____   ____  ____");
    // at rest: the upright lettering around the middle, whole, the emblem's
    // resting picture beside it, and the HUD at the top centre
    const std::vector<std::string> &late = p_observer->seen[80].screen;
    EXPECT_EQ(late[10].substr(15, 42), " _    _   ____   ____   ____   _   _   __ ");
    EXPECT_EQ(late[15].substr(15, 42), "   \\/    |____| |____| |____| |_| |_|  \\_\\");
    EXPECT_TRUE(late[11].substr(57, 9) == " _-(O)-_ " || late[12].substr(57, 9) == " _-(O)-_ ");
    EXPECT_EQ(late[0].substr(37, 7), "-------");
    EXPECT_EQ(late[1].substr(36, 9), "| HUD 7 |");
}
