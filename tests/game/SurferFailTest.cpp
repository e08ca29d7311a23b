#include "Sea.h"

#include "GameOver.h"
#include "GameStart.h"
#include "Points.h"

#include "GameManager.h"
#include "Keyboard.h"
#include "ObjectList.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "ViewObject.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <vector>

using namespace seatest;
namespace kb = vk::Keyboard;

namespace {

// The scores in the world.
std::vector<int> scores() {
    std::vector<int> found;
    const vk::ObjectList all = vk::WorldManager::getInstance().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++)
        if (const auto *p_points = dynamic_cast<const Points *>(all[i]))
            found.push_back(p_points->getValue());
    return found;
}

} // namespace

TEST(SurferFail, PlaysItsAnimationOnceThenLeavesTheScoreToTheGameOverScreen) {
    for (const bool with_sprites : {true, false}) {
        SCOPED_TRACE(with_sprites ? "with sprites" : "without sprites");
        Sea sea(with_sprites);
        const vk::Sprite *p_sprite = vk::ResourceManager::getInstance().getSprite("surferFail");
        // without its sprite the sequence lasts one step
        const int length = p_sprite ? p_sprite->getFrameCount() * p_sprite->getSlowdown() : 1;
        ASSERT_EQ(length > 1, with_sprites);

        startGame();
        sea.steps(60);
        sea.steps(1, [](int) { press(kb::Q); });
        const std::vector<int> final_score = scores();
        ASSERT_EQ(final_score.size(), 1u);
        ASSERT_GT(final_score[0], 0);
        if (length > 1)
            sea.steps(length - 1);
        EXPECT_EQ(count("SurferFail"), 1);
        // the sea stands still: no more points
        EXPECT_EQ(scores(), final_score);

        // it ends in the world update of its last step (which must not be
        // the loop's last: that one ends the program)
        std::vector<int> screens;
        sea.steps(2, [&](int) { screens.push_back(count("GameOver")); });
        EXPECT_EQ(screens, (std::vector<int>{0, 1}));
        ASSERT_EQ(count("GameOver"), 1);
        EXPECT_EQ(first<GameOver>("GameOver")->getScore(), final_score[0]);
        const vk::ObjectList all = vk::WorldManager::getInstance().getAllObjects(true);
        for (int i = 0; i < all.getCount(); i++)
            EXPECT_TRUE(all[i]->getType() == "Particle" || all[i]->getType() == "GameOver") << all[i]->getType();
        EXPECT_EQ(sea.env.logCount("GAMEOVER"), 1);

        // the next run starts afresh
        sea.steps(22, [](int i) {
            if (i == 20)
                press(kb::SPACE);
        });
        EXPECT_EQ(count("GameOver"), 0);
        EXPECT_EQ(scores(), std::vector<int>{0});
        EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
        EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getValue(), 1);
        for (const char *type : {"Surfer", "Waves", "Spawner", "SpeedDisplay"})
            EXPECT_EQ(count(type), 1) << type;
    }
}

TEST(SurferFail, ClosingTheWindowDuringTheSequenceEndsWithoutAGameOverScreen) {
    Sea sea(true);
    const vk::Sprite *p_sprite = vk::ResourceManager::getInstance().getSprite("surferFail");
    startGame();
    sea.steps(1, [](int) { press(kb::Q); });
    // the loop's last iteration, which ends the program, is the sequence's
    // last step
    sea.steps(p_sprite->getFrameCount() * p_sprite->getSlowdown());
    EXPECT_EQ(count("SurferFail"), 0);
    EXPECT_EQ(count("GameOver"), 0);
    EXPECT_EQ(count("Trash"), 8);
}
