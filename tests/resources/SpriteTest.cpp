#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Frame.h>
#include <vessik/resources/Sprite.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using vk::Animation;
using vk::Frame;
using vk::Sprite;

namespace {

// The display is not started, so every draw fails: animations must step all
// the same. The log keeps the refusals off standard error.
struct SpriteTest : ::testing::Test {
    vktest::TestEnv env;
    void SetUp() override { ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0); }
    void TearDown() override { vk::LogManager::getInstance().shutDown(); }
};

Sprite makeSprite(int frames, int slowdown, int width = 1, int height = 1) {
    Sprite sprite(frames);
    sprite.setWidth(width);
    sprite.setHeight(height);
    sprite.setSlowdown(slowdown);
    for (int i = 0; i < frames; i++)
        EXPECT_EQ(sprite.pushFrame(Frame(1, 1, "x")), 0);
    return sprite;
}

} // namespace

// The capacity is a promise about frames still to come, not memory taken now.
TEST_F(SpriteTest, FramesFillInOrderUpToTheCapacityAndABadCapacityRefusesAll) {
    Sprite sprite(2);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "ab")), 0);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "cd")), 0);
    EXPECT_EQ(sprite.pushFrame(Frame(2, 1, "ef")), -1);
    EXPECT_EQ(sprite.getFrame(1).getString(), "cd");
    for (int index : {-1, 2, INT_MIN})
        EXPECT_TRUE(sprite.getFrame(index).isEmpty()) << index;
    EXPECT_EQ(Sprite(INT_MAX).pushFrame(Frame(1, 1, "x")), 0);
    EXPECT_EQ(Sprite(-5).pushFrame(Frame(1, 1, "x")), -1);
    EXPECT_TRUE(env.logHas("Sprite::Sprite(): Error! Unable to allocate -5 frames."));
}

TEST_F(SpriteTest, AnimationShowsEachFrameForSlowdownDrawsThenWrapsUnlessFrozen) {
    const struct {
        const char *name;
        int slowdown, index, count;
        std::vector<int> shown; // the frame selected before each draw
    } cases[] = {
        {"slowdown 4", 4, 0, 0, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 0}},
        {"slowdown 1", 1, 0, 0, {0, 1, 2, 0, 1}},
        {"slowdown 0 steps as 1", 0, 0, 0, {0, 1, 2, 0, 1}},
        {"frozen", 1, 1, -1, std::vector<int>(20, 1)},
        {"index out of range waits for the next step", 2, 7, 0, {7, 7, 0, 0}},
        {"count near the int limit", INT_MAX, 0, INT_MAX - 2, {0, 0, 1, 1}},
        {"count and index at the int limit", INT_MAX, INT_MAX, INT_MAX, {INT_MAX, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Sprite sprite = makeSprite(3, c.slowdown);
        Animation animation;
        animation.setSprite(&sprite);
        animation.setIndex(c.index);
        animation.setSlowdownCount(c.count);
        std::vector<int> shown;
        for (std::size_t i = 0; i < c.shown.size(); i++) {
            shown.push_back(animation.getIndex());
            animation.draw(vk::Vector(5, 5));
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(SpriteTest, AnimationBoxIsCentredOnThePositionForOddAndEvenSizes) {
    Animation animation;
    EXPECT_EQ(animation.toString(), "sprite , frame_idx 0, slowdown_count 0, transform NONE");
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
    Sprite odd = makeSprite(1, 1, 5, 3);
    Sprite even = makeSprite(1, 1, 4, 2);
    animation.setSprite(&odd);
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-2.5f, -1.5f), 5, 3));
    animation.setSprite(&even);
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-2, -1), 4, 2));
}
