#include "Sea.h"

#include <vessik/resources/Sprite.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

using namespace seatest;

namespace {

// The scores in the world, active or not.
std::vector<int> scores() {
    std::vector<int> found;
    const vk::ObjectList everything = vk::WorldManager::getInstance().getAllObjects(true);
    for (int i = 0; i < everything.getCount(); i++)
        if (const auto *p_points = dynamic_cast<const Points *>(everything[i]))
            found.push_back(p_points->getValue());
    return found;
}

} // namespace

TEST(SurferFail, PlaysItsAnimationOnceThenLeavesOnlyTheGameOverScreenWithTheScoreAndARestartBeginsAfresh) {
    for (const bool with_sprites : {true, false}) {
        SCOPED_TRACE(with_sprites ? "with sprites" : "without sprites");
        Sea sea(with_sprites);
        // without its sprite the sequence lasts one step
        const vk::Sprite *p_sprite = vk::ResourceManager::getInstance().getSprite("surferFail");
        const int length = p_sprite ? p_sprite->getFrameCount() * p_sprite->getSlowdown() : 1;
        ASSERT_EQ(length > 1, with_sprites);

        startGame();
        sea.steps(60);
        sea.steps(length, [](int i) {
            if (i == 0)
                press(kb::Q);
        });
        const std::vector<int> final_score = scores();
        ASSERT_EQ(final_score.size(), 1u);
        ASSERT_GT(final_score[0], 0);
        // it ends in the world update of its last step (which must not be
        // the loop's last: that one ends the program)
        std::vector<int> screens;
        sea.steps(2, [&](int) { screens.push_back(count("GameOver")); });
        EXPECT_EQ(screens, (std::vector<int>{0, 1}));
        ASSERT_EQ(count("GameOver"), 1);
        EXPECT_EQ(first<GameOver>("GameOver")->getScore(), final_score[0]);
        const vk::ObjectList everything = vk::WorldManager::getInstance().getAllObjects(true);
        for (int i = 0; i < everything.getCount(); i++)
            EXPECT_TRUE(everything[i]->getType() == "Particle" || everything[i]->getType() == "GameOver")
                << everything[i]->getType();
        EXPECT_EQ(sea.env.logCount("GAMEOVER"), 1);

        sea.steps(22, [](int i) {
            if (i == 20)
                press(kb::SPACE);
        });
        EXPECT_EQ(scores(), std::vector<int>{0});
        EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
        EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getValue(), 1);
    }
}

TEST(SurferFail, ClosingTheWindowAtItsLastStepEndsWithoutAGameOverScreen) {
    Sea sea(true);
    const vk::Sprite *p_sprite = vk::ResourceManager::getInstance().getSprite("surferFail");
    startGame();
    sea.steps(1 + p_sprite->getFrameCount() * p_sprite->getSlowdown(), [](int i) {
        if (i == 0)
            press(kb::Q);
    });
    EXPECT_EQ(count("SurferFail"), 0);
    EXPECT_EQ(count("GameOver"), 0);
    EXPECT_EQ(count("Trash"), 8);
}

TEST(SurferFail, ARunEndingAtTheSpawnersAttemptLeavesNothingToTheNextRun) {
    Sea sea;
    startGame();
    for (unsigned seed = 1; seed <= 20; seed++) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        // given up so that the teardown comes in the step before the
        // spawner's first attempt (without its sprite the wipe-out lasts a
        // step): whatever is still awake then gets that attempt
        const int give_up = Spawner::SPAWN_STEPS - 3;
        sea.steps(give_up + 1, [&](int i) {
            if (i == give_up)
                press(kb::Q);
        });
        sea.steps(2);
        ASSERT_EQ(count("GameOver"), 1);
        sea.steps(22, [](int i) {
            if (i == 20)
                press(kb::SPACE);
        });
        for (const auto &[type, number] : {std::pair{"Trash", 8}, {"Buoy", 6}, {"Shark", 2}, {"Iceberg", 2},
                                           {"PowerUp", 0}, {"Surfer", 1}, {"Waves", 1}, {"Spawner", 1},
                                           {"SpeedDisplay", 1}, {"GameOver", 0}})
            ASSERT_EQ(count(type), number) << type;
    }
}
