#include "Sea.h"

#include "Buoy.h"
#include "Iceberg.h"
#include "Points.h"
#include "Shark.h"
#include "Surfer.h"
#include "Trash.h"

#include "EventCollision.h"
#include "Keyboard.h"
#include "Shape.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace seatest;

namespace {

template <class T> T *at(float x, float y) {
    auto *p = new T;
    p->setPosition(vk::Vector(x, y));
    return p;
}

// A surfer at (5, 12) with the score and the speed display.
struct Ride {
    Sea sea;
    Surfer *p_surfer = new Surfer;
    Points *p_points = new Points;
    vk::ViewObject *p_display = [] {
        auto *p = new vk::ViewObject;
        p->setType("SpeedDisplay");
        return p;
    }();
    explicit Ride(bool with_sprites = false) : sea(with_sprites) {}
};

int particleRGB(int index) {
    const vk::Shape shape = vk::WorldManager::getInstance().objectsOfType("Particle")[index]->getShape();
    return shape.getR() * 65536 + shape.getG() * 256 + shape.getB();
}

} // namespace

TEST(Obstacle, AnImpactDestroysTheObstacleOnlyIfTheSurferKeepsSpeedAndCostsOnce) {
    Ride ride;
    speed().setSpeed(2.0f);
    at<Trash>(6.0f, 12.0f);
    ride.sea.steps(1);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    EXPECT_EQ(count("Trash"), 0);
    EXPECT_EQ(ride.p_points->getValue(), 5);
    // without a sprite the burst has the fixed colour
    EXPECT_EQ(particlesAt(vk::Vector(5.5f, 12.0f)), 100);
    EXPECT_EQ(particleRGB(0), 0xFFFFFF);

    speed().setSpeed(1.8f);
    auto *p_trash = at<Trash>(6.0f, 12.0f);
    ride.sea.steps(1);
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(count("Trash"), 1);
    EXPECT_TRUE(p_trash->hasHit());
    EXPECT_EQ(ride.p_display->getValue(), 5);
    EXPECT_EQ(ride.p_points->getValue(), 5);

    // still overlapping at the next step, with speed again: no second penalty
    speed().setSpeed(3.0f);
    ride.sea.steps(1);
    EXPECT_EQ(speed().getBaseSpeed(), 3.0f);
    EXPECT_EQ(count("Trash"), 0);
    EXPECT_EQ(ride.p_points->getValue(), 10);
}

TEST(Obstacle, ASurferLeftWithoutSpeedFailsAtTheNextStep) {
    Ride ride;
    speed().setSpeed(1.8f);
    at<Buoy>(6.0f, 12.0f);
    ride.sea.steps(1);
    EXPECT_EQ(count("Surfer"), 1);
    EXPECT_EQ(count("Buoy"), 1);
    ride.sea.steps(1);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(count("SurferFail"), 1);
}

TEST(Obstacle, AnIcebergEndsTheRunUnlessBoostingOrFasterThanItsPenalty) {
    Ride ride;
    auto hit = [&ride](float base, bool boost) {
        speed().setSpeed(base);
        speed().setBoosting(boost);
        auto *p_iceberg = at<Iceberg>(5.5f, 12.0f);
        const vk::EventCollision collision(p_iceberg, ride.p_surfer, vk::Vector(5.5f, 12.0f));
        p_iceberg->eventHandler(&collision);
        ride.sea.steps(1);
        return count("Iceberg") == 0;
    };
    EXPECT_TRUE(hit(1000.9f, false));
    EXPECT_EQ(ride.p_points->getValue(), 50);
    // 50 + 50 is a hundred: the score raised the speed from 1.0
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);

    EXPECT_TRUE(hit(1.0f, true));
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    EXPECT_EQ(ride.p_points->getValue(), 100);

    EXPECT_FALSE(hit(1000.8f, false));
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(count("Iceberg"), 1);
}

TEST(Obstacle, AnIcebergCrushesOtherObstaclesWithOneBurstAndPointsOnScreenOnly) {
    Sea sea;
    auto *p_points = new Points;

    at<Buoy>(30.0f, 10.0f);
    at<Iceberg>(30.5f, 10.0f);
    sea.steps(1);
    EXPECT_EQ(count("Buoy"), 0);
    EXPECT_EQ(count("Iceberg"), 1);
    EXPECT_EQ(p_points->getValue(), 10);
    EXPECT_EQ(particlesAt(vk::Vector(29.75f, 10.0f)), 100);
    EXPECT_EQ(count("Particle"), 100);

    at<Buoy>(85.0f, 10.0f);
    at<Iceberg>(85.5f, 10.0f);
    sea.steps(1);
    EXPECT_EQ(count("Buoy"), 0);
    EXPECT_EQ(p_points->getValue(), 10);
    EXPECT_EQ(count("Particle"), 100);

    // with the sea stopped only a shark still moves; its crush bursts once
    at<Shark>(40.0f, 10.0f);
    at<Iceberg>(39.2f, 10.0f);
    speed().setSpeed(0.0f);
    sea.steps(1);
    EXPECT_EQ(count("Shark"), 0);
    EXPECT_EQ(particlesAt(vk::Vector(40.0f, 10.0f)), 100);
    EXPECT_EQ(p_points->getValue(), 10);
}

TEST(Obstacle, BurstsTakeTheColourOfTheSprite) {
    Sea sea(true);
    auto *p_trash = at<Trash>(30.0f, 10.0f);
    vk::WorldManager::getInstance().markForDelete(p_trash);
    sea.steps(1);
    ASSERT_EQ(particlesAt(vk::Vector(29.75f, 10.0f)), 100);
    EXPECT_EQ(particleRGB(0), 0x00FF00);
}

TEST(Obstacle, PlacementDrawsXBeforeYAndStepsPastOccupiedSpots) {
    Sea sea;
    std::srand(5);
    const float x = static_cast<float>(std::rand() % 80) + 84.0f;
    const float y = static_cast<float>(std::rand() % 23) + 1.0f;
    at<vk::Object>(x, y);
    at<vk::Object>(x + 5.0f, y);
    std::srand(5);
    EXPECT_EQ((new Trash)->getPosition(), vk::Vector(x + 10.0f, y));
}

TEST(Obstacle, LeavingOnTheLeftComesBackBeyondTheRightEdge) {
    Sea sea;
    auto *p_trash = at<Trash>(0.2f, 7.0f);
    std::srand(99);
    const float x = static_cast<float>(std::rand() % 80) + 84.0f;
    const float y = static_cast<float>(std::rand() % 23) + 1.0f;
    std::srand(99);
    sea.steps(2);
    EXPECT_LT(p_trash->getPosition().getX(), 0.0f);
    sea.steps(1);
    EXPECT_EQ(p_trash->getPosition(), vk::Vector(x, y));
    EXPECT_EQ(count("Trash"), 1);
}

TEST(Obstacle, SharksHomeOnTheSurfersRowUntilSeventeenColumnsAway) {
    Ride ride;
    speed().setSpeed(2.0f);
    Shark *p_far_above = at<Shark>(40.0f, 5.0f);
    Shark *p_at_cutoff = at<Shark>(22.0f, 20.0f);
    Shark *p_past_cutoff = at<Shark>(22.5f, 17.0f);
    Shark *p_outside = at<Shark>(85.0f, 5.0f);
    Shark *p_level = at<Shark>(40.0f, 12.5f);
    ride.sea.steps(1);

    auto expectVelocity = [](const Shark *p, float vx, float vy) {
        EXPECT_NEAR(p->getVelocity().getX(), vx, 1e-6);
        EXPECT_NEAR(p->getVelocity().getY(), vy, 1e-6);
    };
    expectVelocity(p_far_above, -1.0f, 0.3f);
    expectVelocity(p_at_cutoff, -1.0f, 0.0f);
    expectVelocity(p_past_cutoff, -1.0f, -0.3f);
    expectVelocity(p_outside, -1.0f, 0.0f);
    expectVelocity(p_level, -1.0f, 0.0f);
    EXPECT_TRUE(ride.sea.env.logHas("Location: 40.000000 and 5.000000"));
    EXPECT_TRUE(ride.sea.env.logHas("Location: 22.500000 and 5.000000"));
    EXPECT_EQ(ride.sea.env.logCount("human detected: engaging deadly force"), 2);

    ride.sea.steps(2);
    int located = 0;
    for (const std::string &line : ride.sea.env.logMessages())
        located += line.rfind("Location: ", 0) == 0;
    EXPECT_EQ(located, 15);
}

TEST(Obstacle, WithTheSurferGoneTheSeaStopsButSharksKeepTheirVelocity) {
    Ride ride;
    auto *p_trash = at<Trash>(60.0f, 3.0f);
    auto *p_shark = at<Shark>(60.0f, 12.0f);
    speed().setSpeed(2.0f);
    ride.sea.steps(1, [](int) { press(vk::Keyboard::Q); });
    ASSERT_EQ(speed().getEffectiveSpeed(), 0.0f);
    const std::size_t lines = ride.sea.env.logMessages().size();

    const vk::Vector trash = p_trash->getPosition();
    const vk::Vector shark = p_shark->getPosition();
    ride.sea.steps(1);
    EXPECT_EQ(p_trash->getPosition(), trash);
    EXPECT_FLOAT_EQ(p_shark->getPosition().getX(), shark.getX() - 1.0f);
    EXPECT_EQ(ride.sea.env.logMessages().size(), lines);
}
