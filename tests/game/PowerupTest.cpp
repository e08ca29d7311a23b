#include "Sea.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace seatest;

TEST(Powerup, ComesFromBeyondTheRightEdgeYBeforeXGivingUpAfterTwentyChecksAndGoesForGoodOnTheLeft) {
    Sea sea;
    std::srand(3);
    const float y = static_cast<float>(std::rand() % 23) + 1.0f;
    const float x = static_cast<float>(std::rand() % 80) + 84.0f;
    // every one of the twenty checks finds a neighbour, and so would a 21st
    for (int i = 0; i <= Powerup::PLACEMENT_TRIES; i++)
        at<vk::Object>(x + 5.0f * static_cast<float>(i), y);
    std::srand(3);
    EXPECT_EQ((new Powerup)->getPosition(), vk::Vector(x + 100.0f, y));

    at<Powerup>(0.2f, 5.0f);
    sea.steps(2);
    EXPECT_EQ(count("PowerUp"), 2);
    sea.steps(1);
    EXPECT_EQ(count("PowerUp"), 1);
}

TEST(Powerup, TouchingTheSurferStartsOrRestartsAOneHundredFiftyStepBoostOnce) {
    Sea sea;
    auto *p_surfer = new Surfer;
    vk::ViewObject *p_display = speedDisplay();
    at<Powerup>(6.0f, 12.0f);
    sea.steps(1);
    EXPECT_EQ(count("PowerUp"), 0);
    EXPECT_TRUE(speed().isBoosting());
    EXPECT_EQ(speed().getEffectiveSpeed(), 11.0f);
    EXPECT_TRUE(p_surfer->isBoosting());
    EXPECT_EQ(p_surfer->getBoostCountdown(), 150);
    EXPECT_EQ(p_display->getValue(), 999);
    ASSERT_EQ(particlesAt(vk::Vector(6.0f, 12.0f)), 300);
    EXPECT_EQ(particleRGB(), 0xFFFF00);

    // a second one during the boost starts the count again, whatever else
    // touches it and however often
    sea.steps(40);
    EXPECT_EQ(p_surfer->getBoostCountdown(), 110);
    auto *p_powerup = at<Powerup>(30.0f, 12.0f);
    const vk::EventCollision with_trash(new Trash, p_powerup, vk::Vector(30.0f, 12.0f));
    p_powerup->eventHandler(&with_trash);
    EXPECT_FALSE(p_powerup->isPickedUp());
    const vk::EventCollision with_surfer(p_powerup, p_surfer, vk::Vector(5.0f, 12.0f));
    p_powerup->eventHandler(&with_surfer);
    EXPECT_EQ(p_surfer->getBoostCountdown(), 150);
    p_surfer->setBoostCountdown(20);
    p_powerup->eventHandler(&with_surfer);
    EXPECT_EQ(p_surfer->getBoostCountdown(), 20);
    EXPECT_EQ(particlesAt(vk::Vector(30.0f, 12.0f)), 300);
    EXPECT_TRUE(speed().isBoosting());
}
