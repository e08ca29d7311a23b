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
    EXPECT_EQ(sprite.getMaxFrameCount(), 2);
    EXPECT_EQ(sprite.getFrame(0).getString(), "ab");
    EXPECT_EQ(sprite.getFrame(1).getString(), "cd");
}

TEST(Sprite, OutOfRangeIndicesGiveAnEmptyFrame) {
    Sprite sprite(4);
    ASSERT_EQ(sprite.pushFrame(Frame(1, 1, "x")), 0);
    for (int index : {-1, 1, 3, INT_MAX, INT_MIN}) {
        const Frame frame = sprite.getFrame(index);
        EXPECT_TRUE(frame.isEmpty()) << index;
        EXPECT_EQ(frame.getWidth(), 0) << index;
        EXPECT_EQ(frame.getHeight(), 0) << index;
    }
}

TEST(Sprite, EnormousCapacityCostsNothingUntilFramesArrive) {
    Sprite sprite(INT_MAX);
    EXPECT_EQ(sprite.getMaxFrameCount(), INT_MAX);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(sprite.pushFrame(Frame(1, 1, "x")), 0);
    EXPECT_EQ(sprite.getFrameCount(), 3);
}

TEST(Sprite, NegativeCapacityIsLoggedAndRefusesEveryFrame) {
    vktest::TestEnv env;
    ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
    Sprite sprite(-5);
    EXPECT_EQ(sprite.getMaxFrameCount(), 0);
    EXPECT_EQ(sprite.pushFrame(Frame(1, 1, "x")), -1);
    EXPECT_EQ(sprite.getFrameCount(), 0);
    EXPECT_TRUE(env.logHas("Sprite::Sprite(): Error! Unable to allocate -5 frames."));
    vk::LogManager::getInstance().shutDown();
}
