#include "Sea.h"

#include <gtest/gtest.h>

using seatest::speed;

TEST(SpeedManager, StartsOnlyAfterTheGameManagerAtSpeedOneWithoutBoost) {
    vktest::TestEnv env("headless:true,\nnetworking:false,\n");
    // an earlier test in this process may have left a speed: a refused start
    // must change nothing
    speed().setSpeed(0.0f);
    EXPECT_EQ(speed().startUp(), -1);
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    ASSERT_EQ(vk::GameManager::getInstance().startUp(), 0);
    speed().setBoosting(true);
    EXPECT_EQ(speed().startUp(), 0);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    EXPECT_FALSE(speed().isBoosting());
    vk::GameManager::getInstance().shutDown();
}

TEST(SpeedManager, TheDisplayShowsALevelPerPointTwoAnd999WhileBoostingAndBelowOneTheSpeedIsZero) {
    seatest::Sea sea;
    vk::ViewObject *p_display = seatest::speedDisplay();
    for (int level = 2; level <= 60; level++) {
        speed().setSpeed(speed().getBaseSpeed() + 0.2f);
        ASSERT_EQ(p_display->getValue(), level) << "at speed " << speed().getBaseSpeed();
    }
    // below one the sea stops, and the display is left as it was
    speed().setSpeed(0.999f);
    EXPECT_EQ(speed().getEffectiveSpeed(), 0.0f);
    EXPECT_EQ(p_display->getValue(), 60);

    speed().setBoosting(true);
    speed().updateSpeedDisplay();
    EXPECT_EQ(speed().getEffectiveSpeed(), 10.0f);
    EXPECT_EQ(p_display->getValue(), 999);
    speed().setSpeed(2.0f);
    EXPECT_EQ(speed().getEffectiveSpeed(), 12.0f);
    EXPECT_EQ(p_display->getValue(), 999);

    speed().setBoosting(false);
    speed().updateSpeedDisplay();
    EXPECT_EQ(p_display->getValue(), 6);
    speed().setSpeed(0.0f);
    speed().updateSpeedDisplay();
    EXPECT_EQ(p_display->getValue(), 0);
}
