#include "Animation.h"
#include "Frame.h"
#include "LogManager.h"
#include "Sprite.h"
#include "TestEnv.h"
#include "Transform.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using vk::Animation;
using vk::Frame;
using vk::Sprite;

namespace {

// The display is not started, so every draw fails: the animation must step
// all the same. The log keeps the refusals off standard error.
struct AnimationTest : ::testing::Test {
    vktest::TestEnv env;
    void SetUp() override { ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0); }
    void TearDown() override { vk::LogManager::getInstance().shutDown(); }
};

// A sprite of `frames` one-cell frames showing '0', '1', ...
Sprite makeSprite(int frames, int slowdown, int width = 1, int height = 1) {
    Sprite sprite(frames);
    sprite.setWidth(width);
    sprite.setHeight(height);
    sprite.setSlowdown(slowdown);
    sprite.setLabel("digits");
    for (int i = 0; i < frames; i++)
        EXPECT_EQ(sprite.pushFrame(Frame(width, height, std::string(static_cast<std::size_t>(width * height),
                                                                     static_cast<char>('0' + i)))),
                  0);
    return sprite;
}

// The frame each of `draws` draw calls shows (the one selected before it).
std::vector<int> framesShown(Animation &animation, int draws) {
    std::vector<int> shown;
    for (int i = 0; i < draws; i++) {
        shown.push_back(animation.getIndex());
        animation.draw(vk::Vector(5, 5));
    }
    return shown;
}

} // namespace

TEST_F(AnimationTest, SlowdownShowsEachFrameForThatManyDrawsThenWraps) {
    Sprite sprite = makeSprite(3, 4);
    Animation animation;
    animation.setSprite(&sprite);
    EXPECT_EQ(framesShown(animation, 13), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 0}));
}

TEST_F(AnimationTest, SlowdownZeroAndOneBothStepEveryDraw) {
    for (int slowdown : {0, 1}) {
        Sprite sprite = makeSprite(3, slowdown);
        Animation animation;
        animation.setSprite(&sprite);
        EXPECT_EQ(framesShown(animation, 5), (std::vector<int>{0, 1, 2, 0, 1})) << slowdown;
        EXPECT_EQ(animation.getSlowdownCount(), 0);
    }
}

TEST_F(AnimationTest, FrozenAnimationKeepsItsFrameUntilThawed) {
    Sprite sprite = makeSprite(3, 1);
    Animation animation;
    animation.setSprite(&sprite);
    animation.draw(vk::Vector(5, 5));
    animation.setSlowdownCount(-1);
    EXPECT_EQ(framesShown(animation, 50), std::vector<int>(50, 1));
    EXPECT_EQ(animation.getSlowdownCount(), -1);
    animation.setSlowdownCount(0);
    EXPECT_EQ(framesShown(animation, 3), (std::vector<int>{1, 2, 0}));
}

TEST_F(AnimationTest, IndexOutOfRangeWrapsToTheFirstFrameAtTheNextStep) {
    Sprite sprite = makeSprite(3, 2);
    Animation animation;
    animation.setSprite(&sprite);
    animation.setIndex(7);
    EXPECT_EQ(framesShown(animation, 4), (std::vector<int>{7, 7, 0, 0}));
}

TEST_F(AnimationTest, CountsNearTheIntLimitStepWithoutOverflow) {
    Sprite sprite = makeSprite(2, INT_MAX);
    Animation animation;
    animation.setSprite(&sprite);
    animation.setSlowdownCount(INT_MAX - 2);
    EXPECT_EQ(framesShown(animation, 3), (std::vector<int>{0, 0, 1}));
    animation.setSlowdownCount(INT_MAX);
    animation.setIndex(INT_MAX);
    animation.draw(vk::Vector(5, 5));
    EXPECT_EQ(animation.getIndex(), 0);
    EXPECT_EQ(animation.getSlowdownCount(), 0);
}

TEST_F(AnimationTest, BoxIsCentredOnThePositionForOddAndEvenSizes) {
    Animation animation;
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
    Sprite odd = makeSprite(1, 1, 5, 3);
    animation.setSprite(&odd);
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-2.5f, -1.5f), 5, 3));
    Sprite even = makeSprite(1, 1, 4, 2);
    animation.setSprite(&even);
    EXPECT_EQ(animation.getBox(), vk::Box(vk::Vector(-2, -1), 4, 2));
}

TEST_F(AnimationTest, DescriptionNamesSpriteFrameCountAndTransform) {
    Animation animation;
    EXPECT_EQ(animation.toString(), "sprite , frame_idx 0, slowdown_count 0, transform NONE");
    Sprite sprite = makeSprite(2, 3);
    animation.setSprite(&sprite);
    animation.setIndex(-2);
    animation.setSlowdownCount(-1);
    animation.setTransform(vk::HORIZONTAL);
    EXPECT_EQ(animation.toString(), "sprite digits, frame_idx -2, slowdown_count -1, transform HORIZONTAL");
    animation.setTransform(9);
    EXPECT_EQ(animation.toString(), "sprite digits, frame_idx -2, slowdown_count -1, transform UNKNOWN");
}
