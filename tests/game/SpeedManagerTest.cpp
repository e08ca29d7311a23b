#include "Sea.h"

#include "SpeedManager.h"

#include "GameManager.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

using seatest::speed;

namespace {

vk::ViewObject *newSpeedDisplay() {
    auto *p_display = new vk::ViewObject;
    p_display->setType("SpeedDisplay");
    return p_display;
}

} // namespace

TEST(SpeedManager, StartsOnlyAfterTheGameManagerAtSpeedOneWithoutBoost) {
    vktest::TestEnv env("headless:true,\nnetworking:false,\n");
    EXPECT_EQ(speed().startUp(), -1);
    EXPECT_FALSE(speed().isStarted());
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);

    ASSERT_EQ(vk::GameManager::getInstance().startUp(), 0);
    speed().setBoosting(true);
    EXPECT_EQ(speed().startUp(), 0);
    EXPECT_TRUE(speed().isStarted());
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    EXPECT_FALSE(speed().isBoosting());
    vk::GameManager::getInstance().shutDown();
}

TEST(SpeedManager, SpeedBelowOneCollapsesToZeroWithoutTouchingTheDisplay) {
    seatest::Sea sea;
    vk::ViewObject *p_display = newSpeedDisplay();
    speed().setSpeed(1.8f);
    EXPECT_EQ(p_display->getValue(), 5);

    speed().setSpeed(0.999f);
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(speed().getEffectiveSpeed(), 0.0f);
    EXPECT_EQ(p_display->getValue(), 5);

    speed().setSpeed(1.0f);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    EXPECT_EQ(p_display->getValue(), 1);
}

TEST(SpeedManager, EveryStepOfPointTwoShowsTheNextWholeLevel) {
    seatest::Sea sea;
    vk::ViewObject *p_display = newSpeedDisplay();
    speed().setSpeed(1.0f);
    for (int level = 2; level <= 60; level++) {
        speed().setSpeed(speed().getBaseSpeed() + 0.2f);
        ASSERT_EQ(p_display->getValue(), level) << "at speed " << speed().getBaseSpeed();
    }
}

TEST(SpeedManager, BoostAddsTenAndShows999UntilItEnds) {
    seatest::Sea sea;
    vk::ViewObject *p_display = newSpeedDisplay();
    speed().setSpeed(0.0f);
    speed().setBoosting(true);
    speed().updateSpeedDisplay();
    EXPECT_EQ(speed().getEffectiveSpeed(), 10.0f);
    EXPECT_EQ(p_display->getValue(), 999);

    // whatever the base speed does meanwhile
    speed().setSpeed(2.0f);
    EXPECT_EQ(speed().getEffectiveSpeed(), 12.0f);
    EXPECT_EQ(p_display->getValue(), 999);

    speed().setBoosting(false);
    speed().updateSpeedDisplay();
    EXPECT_EQ(speed().getEffectiveSpeed(), 2.0f);
    EXPECT_EQ(p_display->getValue(), 6);

    speed().setSpeed(0.0f);
    speed().updateSpeedDisplay();
    EXPECT_EQ(p_display->getValue(), 0);
}
