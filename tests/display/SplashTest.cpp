#include "Animation.h"
#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Splash.h"
#include "SplashVessik.h"
#include "TestEnv.h"
#include "ViewObject.h"
#include "WorldManager.h"
#include "XServer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using vk::GameManager;
using vk::Vector;

namespace {

// The whole engine, headless unless the configuration says otherwise (then
// on a private X server).
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

// The column where `text` starts on a row of the screen, and the row; -1, -1
// when no row holds it.
std::pair<int, int> find(const std::vector<std::string> &screen, const std::string &text) {
    for (std::size_t y = 0; y < screen.size(); y++) {
        const std::size_t x = screen[y].find(text);
        if (x != std::string::npos)
            return {static_cast<int>(x), static_cast<int>(y)};
    }
    return {-1, -1};
}

// Steps the loop by hand, without display and input.
void step(int n) {
    for (int i = 0; i < n; i++) {
        const vk::EventStep event(i);
        GameManager::getInstance().onEvent(&event);
        vk::WorldManager::getInstance().update();
    }
}

} // namespace

TEST(Splash, RefusesToRunBeforeTheEngineStarts) {
    vktest::TestEnv env("");
    vk::LogManager::getInstance().startUp();
    EXPECT_EQ(vk::splash(), -1);
    EXPECT_TRUE(env.logHas("splash(): Error! Cannot run splash screen until game manger is started."));
    vk::LogManager::getInstance().shutDown();
}

TEST(Splash, RunsNinetyStepsAndLeavesNothingBehind) {
    Engine engine("headless:true,frame_time:0,");
    ASSERT_TRUE(engine.started);
    auto *p_observer = new Observer;

    ASSERT_EQ(vk::splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 90);
    EXPECT_TRUE(GameManager::getInstance().getGameOver());
    EXPECT_EQ(theOne("Splash"), nullptr);
    EXPECT_EQ(theOne("SplashVessik"), nullptr);
    EXPECT_TRUE(engine.env.logHas("splash(): Started."));
    EXPECT_TRUE(engine.env.logHas("splash(): Finished."));

    const std::vector<Seen> &seen = p_observer->seen;
    ASSERT_EQ(seen.size(), 90u);
    // the banner starts beyond the right edge, vertically centred, and moves
    // in its first 14 steps only, showing its second lettering from its 15th
    EXPECT_EQ(seen[0].banner_position, Vector(80 + 23.5f, 12));
    for (int s = 1; s < 90; s++) {
        ASSERT_TRUE(seen[static_cast<std::size_t>(s)].banner) << "step " << s;
        const Vector moved = seen[static_cast<std::size_t>(s)].banner_position;
        const Vector before = seen[static_cast<std::size_t>(s - 1)].banner_position;
        if (s <= 14)
            EXPECT_LT(moved.getX(), before.getX()) << "step " << s;
        else
            EXPECT_EQ(moved, before) << "step " << s;
        EXPECT_EQ(seen[static_cast<std::size_t>(s)].banner_frame, s <= 14 ? 0 : 1) << "step " << s;
    }

    // the emblem appears in the banner's 15th step, six rows below the view
    // under its target (24 right of and 1 below the banner), and moves in
    // that same step
    const Vector banner = seen[20].banner_position;
    for (int s = 0; s <= 14; s++)
        EXPECT_FALSE(seen[static_cast<std::size_t>(s)].emblem) << "step " << s;
    ASSERT_TRUE(seen[15].emblem);
    EXPECT_FLOAT_EQ(seen[15].emblem_position.getX(), banner.getX() + 24);
    EXPECT_FLOAT_EQ(seen[15].emblem_position.getY(), 30 - 17.0f / 30);
    EXPECT_EQ(seen[15].emblem_width, 11);

    // it rises to the target's height in 30 moves and rests there
    EXPECT_GT(seen[43].emblem_position.getY(), 13.5f);
    const float rest = seen[44].emblem_position.getY();
    EXPECT_NEAR(rest, 13.0f, 1e-4f);
    for (int s = 45; s < 90; s++)
        EXPECT_FLOAT_EQ(seen[static_cast<std::size_t>(s)].emblem_position.getY(), rest) << "step " << s;

    // its 45th step brings the resting picture, one column to the left
    EXPECT_EQ(seen[59].emblem_width, 11);
    EXPECT_EQ(seen[60].emblem_width, 9);
    EXPECT_FLOAT_EQ(seen[60].emblem_position.getX(), banner.getX() + 23);
    EXPECT_TRUE(seen[89].emblem);
}

TEST(Splash, AKeyWhileOnlyTheBannerExistsEndsItWithoutTheEmblem) {
    Engine engine("headless:true,frame_time:0,");
    ASSERT_TRUE(engine.started);
    auto *p_observer = new Observer;
    p_observer->key_step = 5;
    ASSERT_EQ(vk::splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 6);
    for (const Seen &s : p_observer->seen)
        EXPECT_FALSE(s.emblem);
    EXPECT_EQ(theOne("Splash"), nullptr);
    EXPECT_EQ(theOne("SplashVessik"), nullptr);
}

TEST(Splash, AKeyWhileBothExistRemovesBothInThatStep) {
    Engine engine("headless:true,frame_time:0,");
    ASSERT_TRUE(engine.started);
    auto *p_observer = new Observer;
    p_observer->key_step = 20;
    ASSERT_EQ(vk::splash(), 0);
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 21);
    ASSERT_EQ(p_observer->seen.size(), 21u);
    EXPECT_TRUE(p_observer->seen[20].banner);
    EXPECT_TRUE(p_observer->seen[20].emblem);
    EXPECT_EQ(theOne("Splash"), nullptr);
    EXPECT_EQ(theOne("SplashVessik"), nullptr);
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
    EXPECT_EQ(theOne("Splash"), nullptr);
    EXPECT_EQ(theOne("SplashVessik"), nullptr);

    p_ender->end_at = 120;
    p_observer->seen.clear();
    GameManager::getInstance().run();
    EXPECT_EQ(GameManager::getInstance().getStepCount(), 121) << "the emblem must not end this run";
    for (const Seen &s : p_observer->seen) {
        EXPECT_FALSE(s.banner);
        EXPECT_FALSE(s.emblem);
    }
    EXPECT_EQ(vk::WorldManager::getInstance().getAllObjects(true).getCount(), 2) << "only the test's objects";
}

TEST(Splash, BannerSpeedFollowsTheFrameTimeAndTheViewWidth) {
    struct Case {
        const char *config;
        float start_x;
        float speed;
        float stop; // NaN: anywhere
    };
    // 23.5 + half the view + 11 cells over half the frame time, 14 moves:
    // at 33 ms it stops near the middle of any view, at 66 ms near column 72;
    // below 2 ms the halved frame time counts as 1 instead of dividing by 0
    const float anywhere = std::nanf("");
    for (const Case &c : {Case{"frame_time:33,window_horizontal_chars:80,", 103.5f, 74.5f / 16, 40},
                          Case{"frame_time:66,window_horizontal_chars:80,", 103.5f, 74.5f / 33, 72},
                          Case{"frame_time:33,window_horizontal_chars:120,", 143.5f, 94.5f / 16, 60},
                          Case{"frame_time:1,window_horizontal_chars:80,", 103.5f, 74.5f, anywhere},
                          Case{"frame_time:0,window_horizontal_chars:80,", 103.5f, 74.5f, anywhere}}) {
        SCOPED_TRACE(c.config);
        Engine engine(std::string("headless:true,") + c.config);
        ASSERT_TRUE(engine.started);
        auto *p_banner = new vk::Splash;
        EXPECT_EQ(p_banner->getPosition(), Vector(c.start_x, 12));
        EXPECT_FLOAT_EQ(p_banner->getVelocity().getX(), -c.speed);
        EXPECT_EQ(p_banner->getBox(), vk::Box(Vector(-23.5f, -4), 47, 8));
        step(20);
        const float stop = p_banner->getPosition().getX();
        EXPECT_NEAR(stop, c.start_x - 14 * c.speed, 1e-3);
        if (!std::isnan(c.stop)) {
            EXPECT_NEAR(stop, c.stop, 2);
        }
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

    // while it moves, the slanted lettering is cut off at the right edge
    const std::vector<std::string> &early = p_observer->seen[11].screen;
    const auto [early_x, early_y] = find(early, "__      __   ____   ____  ____");
    EXPECT_EQ(early_x, 29);
    EXPECT_EQ(early_y, 10);

    // at rest: the upright lettering around the middle, whole, the emblem's
    // resting picture beside it, and the HUD at the top centre
    const std::vector<std::string> &late = p_observer->seen[80].screen;
    const std::vector<std::string> lettering = {" _    _   ____   ____   ____   _   _   __ ",
                                                "| |  | | |  __| |  __| |  __| | | | | / / ",
                                                "| |  | | | |__  | |__  | |__  | | | |/ /  ",
                                                " \\ \\/ /  |  __| |__  | |__  | | | | |\\ \\  ",
                                                "  \\  /   | |__   __| |  __| | | | | | \\ \\ ",
                                                "   \\/    |____| |____| |____| |_| |_|  \\_\\"};
    for (std::size_t r = 0; r < lettering.size(); r++)
        EXPECT_EQ(late[10 + r].substr(15, 42), lettering[r]) << "row " << r;
    const auto [emblem_x, emblem_y] = find(late, " _-(O)-_ ");
    EXPECT_EQ(emblem_x, 57);
    EXPECT_GE(emblem_y, 11);
    EXPECT_LE(emblem_y, 12);
    EXPECT_EQ(late[1].substr(36, 9), "| HUD 7 |");
    EXPECT_EQ(late[0].substr(37, 7), "-------");
}
