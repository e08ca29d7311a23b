#include "Frame.h"
#include "LogManager.h"
#include "Sprite.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

#include <climits>

using vk::Frame;
using vk::Sprite;

TEST(Sprite, PushFrameFillsInOrderUpToTheCapacity) {
    Sprite sprite(2);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "ab")), 0);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "cd")), 0);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "ef")), -1);
    EXPECT_EQ(sprite.getFrameCount(), 2);
    EXPECT_EQ(sprite.getFrame(0).getString(), "ab");
    EXPECT_EQ(sprite.getFrame(1).getString(), "cd");
    for (int index : {-1, 2, INT_MAX, INT_MIN})
        EXPECT_TRUE(sprite.getFrame(index).isEmpty()) << index;
}

// The capacity is a promise about frames still to come, not memory taken now.
TEST(Sprite, EnormousCapacityCostsNothingAndANegativeOneRefusesEverything) {
    Sprite huge(INT_MAX);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(huge.pushFrame(Frame(1, 1, "x")), 0);
    EXPECT_EQ(huge.getFrameCount(), 3);

    vktest::TestEnv env;
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    Sprite negative(-5);
    EXPECT_EQ(negative.getMaxFrameCount(), 0);
    EXPECT_EQ(negative.pushFrame(Frame(1, 1, "x")), -1);
    EXPECT_TRUE(env.logHas("Sprite::Sprite(): Error! Unable to allocate -5 frames."));
    vk::LogManager::getInstance().shutDown();
}
