#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Transform.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <gtest/gtest.h>

using vk::Box;
using vk::Vector;

// setSprite() changes the animation in place (only the box is new to the
// object's record); setAnimation() replaces it, and takes its box when asked.
TEST(ObjectSprite, SetSpriteRestartsTheAnimationSetAnimationCopiesItAndEachTakesTheBoxAsSaid) {
    vktest::TestEnv env;
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    ASSERT_EQ(vk::WorldManager::getInstance().startUp(), 0);
    ASSERT_EQ(rm.startUp(), 0);
    env.writeFile("ship.txt", "2\n5\n3\n2\nwhite\n  _  \n_/ \\_\n~~~~~\n  _  \n_/ \\_\n-~-~-\n");
    ASSERT_EQ(rm.loadSprite(env.path("ship.txt"), "ship"), 0);
    const Box ship_box(Vector(-2.5f, -1.5f), 5, 3);
    const Box one_cell(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    auto *p_o = new vk::Object();
    p_o->setModified(0);
    EXPECT_EQ(p_o->setSprite("Ship"), -1);
    EXPECT_TRUE(env.logHas("Object::setSprite(): Warning! Sprite 'Ship' not found"));
    EXPECT_EQ(p_o->getModified(), 0u);

    vk::Animation flipped;
    flipped.setSprite(rm.getSprite("ship"));
    flipped.setIndex(1);
    flipped.setSlowdownCount(-1);
    flipped.setTransform(vk::BOTH);
    ASSERT_EQ(p_o->setAnimation(flipped, false), 0);
    EXPECT_EQ(p_o->getModified(), vk::attr::ANIMATION);
    EXPECT_EQ(p_o->getBox(), one_cell);
    EXPECT_EQ(p_o->getAnimation().toString(), "sprite ship, frame_idx 1, slowdown_count -1, transform BOTH");
    p_o->setModified(0);
    ASSERT_EQ(p_o->setAnimation(flipped, true), 0);
    EXPECT_EQ(p_o->getModified(), vk::attr::ANIMATION | vk::attr::BOX);
    EXPECT_EQ(p_o->getBox(), ship_box);
    ASSERT_EQ(p_o->setAnimation(vk::Animation(), true), 0);
    EXPECT_EQ(p_o->getBox(), one_cell);

    ASSERT_EQ(p_o->setAnimation(flipped, false), 0);
    p_o->setModified(0);
    ASSERT_EQ(p_o->setSprite("ship"), 0);
    EXPECT_EQ(p_o->getAnimation().toString(), "sprite ship, frame_idx 0, slowdown_count 0, transform BOTH");
    EXPECT_EQ(p_o->getBox(), ship_box);
    EXPECT_EQ(p_o->getModified(), vk::attr::BOX);

    vk::WorldManager::getInstance().shutDown();
    rm.shutDown();
    vk::LogManager::getInstance().shutDown();
}
