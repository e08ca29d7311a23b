#include "Sea.h"

#include "Powerup.h"
#include "Surfer.h"
#include "Trash.h"

#include "EventCollision.h"
#include "Shape.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace seatest;

namespace {

struct Ride {
    Sea sea;
    Surfer *p_surfer = new Surfer;
    vk::ViewObject *p_display = [] {
        auto *p = new vk::ViewObject;
        p->setType("SpeedDisplay");
        return p;
    }();

    Powerup *powerupAt(float x, float y) {
        auto *p = new Powerup;
        p->setPosition(vk::Vector(x, y));
        return p;
    }
};

} // namespace

TEST(Powerup, PlacementDrawsYBeforeXAndGivesUpAfterTwentyChecks) {
    Sea sea;
    std::srand(3);
    const float y = static_cast<float>(std::rand() % 23) + 1.0f;
    const float x = static_cast<float>(std::rand() % 80) + 84.0f;
    std::srand(3);
    EXPECT_EQ((new Powerup)->getPosition(), vk::Vector(x, y));

    // every one of the twenty checks finds a neighbour, and so would a 21st
    for (int i = 0; i <= Powerup::PLACEMENT_TRIES; i++)
        (new vk::Object)->setPosition(vk::Vector(x + 5.0f * static_cast<float>(i), y));
    std::srand(3);
    EXPECT_EQ((new Powerup)->getPosition(), vk::Vector(x + 100.0f, y));
}

TEST(Powerup, TouchingTheSurferStartsAOneHundredFiftyStepBoost) {
    Ride ride;
    ride.powerupAt(6.0f, 12.0f);
    ride.sea.steps(1);
    EXPECT_EQ(count("PowerUp"), 0);
    EXPECT_TRUE(speed().isBoosting());
    EXPECT_EQ(speed().getEffectiveSpeed(), 11.0f);
    EXPECT_TRUE(ride.p_surfer->isBoosting());
    EXPECT_EQ(ride.p_surfer->getBoostCountdown(), 150);
    EXPECT_EQ(ride.p_display->getValue(), 999);
    ASSERT_EQ(particlesAt(vk::Vector(6.0f, 12.0f)), 300);
    const vk::Shape shape = vk::WorldManager::getInstance().objectsOfType("Particle")[0]->getShape();
    EXPECT_EQ(shape.getR() * 65536 + shape.getG() * 256 + shape.getB(), 0xFFFF00);

    // a second one during the boost starts the count again
    ride.sea.steps(40);
    EXPECT_EQ(ride.p_surfer->getBoostCountdown(), 110);
    ride.powerupAt(5.0f + 2.75f, 12.0f);
    ride.sea.steps(1);
    EXPECT_EQ(ride.p_surfer->getBoostCountdown(), 150);
    EXPECT_EQ(ride.p_display->getValue(), 999);
}

TEST(Powerup, IsCollectedOnceHoweverOftenItTouchesAndNeverByObstacles) {
    Ride ride;
    Powerup *p_powerup = ride.powerupAt(30.0f, 12.0f);
    auto *p_trash = new Trash;
    const vk::EventCollision with_trash(p_trash, p_powerup, vk::Vector(30.0f, 12.0f));
    EXPECT_EQ(p_powerup->eventHandler(&with_trash), 1);
    EXPECT_FALSE(p_powerup->isPickedUp());
    EXPECT_FALSE(speed().isBoosting());

    const vk::EventCollision with_surfer(p_powerup, ride.p_surfer, vk::Vector(5.0f, 12.0f));
    p_powerup->eventHandler(&with_surfer);
    ride.p_surfer->setBoostCountdown(20);
    p_powerup->eventHandler(&with_surfer);
    EXPECT_EQ(ride.p_surfer->getBoostCountdown(), 20);
    EXPECT_EQ(count("Particle"), 300);
    ride.sea.steps(1);
    EXPECT_EQ(count("PowerUp"), 0);
}

TEST(Powerup, OneThatDriftsOutOnTheLeftIsGone) {
    Ride ride;
    ride.powerupAt(0.2f, 5.0f);
    ride.sea.steps(2);
    EXPECT_EQ(count("PowerUp"), 1);
    ride.sea.steps(1);
    EXPECT_EQ(count("PowerUp"), 0);
    EXPECT_FALSE(speed().isBoosting());
}
