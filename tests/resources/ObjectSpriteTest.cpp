#include "Animation.h"
#include "LogManager.h"
#include "Object.h"
#include "ResourceManager.h"
#include "TestEnv.h"
#include "Transform.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

using vk::Box;
using vk::Object;
using vk::Vector;

namespace {

// A log, a world for the objects and a resource manager holding a 5 x 3
// sprite "ship" of two frames.
struct ObjectSpriteTest : ::testing::Test {
    vktest::TestEnv env;
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    void SetUp() override {
        ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
        ASSERT_EQ(vk::WorldManager::getInstance().startUp(), 0);
        ASSERT_EQ(rm.startUp(), 0);
        env.writeFile("ship.txt", "2\n5\n3\n2\nwhite\n"
                                  "  _  \n_/ \\_\n~~~~~\n"
                                  "  _  \n_/ \\_\n-~-~-\n");
        ASSERT_EQ(rm.loadSprite(env.path("ship.txt"), "ship"), 0);
    }
    void TearDown() override {
        vk::WorldManager::getInstance().shutDown();
        rm.shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

const Box SHIP_BOX(Vector(-2.5f, -1.5f), 5, 3);
const Box ONE_CELL(Vector(-0.5f, -0.5f), 0.99f, 0.99f);

} // namespace

TEST_F(ObjectSpriteTest, SetSpriteRestartsTheAnimationAndTakesTheBoxButIsNoNewAnimation) {
    auto *p_o = new Object();
    vk::Animation running;
    running.setSprite(rm.getSprite("ship"));
    running.setIndex(1);
    running.setSlowdownCount(-1);
    ASSERT_EQ(p_o->setAnimation(running, false), 0);
    p_o->setModified(0);

    ASSERT_EQ(p_o->setSprite("ship"), 0);
    EXPECT_EQ(p_o->getAnimation().getSprite(), rm.getSprite("ship"));
    EXPECT_EQ(p_o->getAnimation().getName(), "ship");
    EXPECT_EQ(p_o->getAnimation().getIndex(), 0);
    EXPECT_EQ(p_o->getAnimation().getSlowdownCount(), 0);
    EXPECT_EQ(p_o->getBox(), SHIP_BOX);
    EXPECT_EQ(p_o->getModified(), vk::attr::BOX);
}

TEST_F(ObjectSpriteTest, UnknownSpriteIsReportedAndChangesNothing) {
    auto *p_o = new Object();
    p_o->setModified(0);
    EXPECT_EQ(p_o->setSprite("Ship"), -1);
    EXPECT_TRUE(env.logHas("RM::getSprite(): Warning! Sprite 'Ship' not found."));
    EXPECT_TRUE(env.logHas("Object::setSprite(): Warning! Sprite 'Ship' not found"));
    EXPECT_EQ(p_o->getAnimation().getSprite(), nullptr);
    EXPECT_EQ(p_o->getBox(), ONE_CELL);
    EXPECT_EQ(p_o->getModified(), 0u);
}

TEST_F(ObjectSpriteTest, SetAnimationCopiesFrameAndTransformAndTheBoxOnlyWhenAsked) {
    vk::Animation flipped;
    flipped.setSprite(rm.getSprite("ship"));
    flipped.setIndex(1);
    flipped.setTransform(vk::BOTH);

    auto *p_o = new Object();
    p_o->setModified(0);
    ASSERT_EQ(p_o->setAnimation(flipped, false), 0);
    EXPECT_EQ(p_o->getModified(), vk::attr::ANIMATION);
    EXPECT_EQ(p_o->getBox(), ONE_CELL);
    EXPECT_EQ(p_o->getAnimation().toString(), "sprite ship, frame_idx 1, slowdown_count 0, transform BOTH");

    // the object's copy is its own
    flipped.setIndex(0);
    EXPECT_EQ(p_o->getAnimation().getIndex(), 1);

    p_o->setModified(0);
    ASSERT_EQ(p_o->setAnimation(flipped, true), 0);
    EXPECT_EQ(p_o->getModified(), vk::attr::ANIMATION | vk::attr::BOX);
    EXPECT_EQ(p_o->getBox(), SHIP_BOX);

    // an animation without a sprite gives back the one-cell box
    ASSERT_EQ(p_o->setAnimation(vk::Animation(), true), 0);
    EXPECT_EQ(p_o->getBox(), ONE_CELL);
}

TEST_F(ObjectSpriteTest, DrawingStepsTheAnimationEvenWhenNothingCanBeDrawn) {
    auto *p_o = new Object();
    EXPECT_EQ(p_o->draw(), 0);
    ASSERT_EQ(p_o->setSprite("ship"), 0);
    // no display: the draw fails, the animation counts it
    EXPECT_EQ(p_o->draw(), -1);
    EXPECT_EQ(p_o->getAnimation().getSlowdownCount(), 1);
    EXPECT_EQ(p_o->draw(), -1);
    EXPECT_EQ(p_o->getAnimation().getIndex(), 1);
}
