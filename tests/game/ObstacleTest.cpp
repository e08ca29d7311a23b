#include "Sea.h"

#include <vessik/resources/Sprite.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

using namespace seatest;

namespace {

// A surfer at (5, 12) with the score (from 1, clear of the speed triggers)
// and the speed display.
struct Ride {
    Sea sea;
    Surfer *p_surfer = new Surfer;
    Points *p_points = [] {
        auto *p = new Points;
        p->setValue(1);
        return p;
    }();
    vk::ViewObject *p_display = speedDisplay();
};

} // namespace

TEST(Obstacle, AHitCostsThePenaltyUnlessBoostingAndDestroysTheObstacleOnlyIfSpeedIsLeft) {
    struct Case {
        bool iceberg;
        float base;
        bool boost;
        float after;
        int points;
    };
    for (const Case &c : {Case{false, 2.0f, false, 1.0f, 5}, Case{false, 1.8f, false, 0.0f, 0},
                          Case{false, 1.0f, true, 1.0f, 5}, Case{true, 1000.9f, false, 1.0f, 50},
                          Case{true, 1000.8f, false, 0.0f, 0}, Case{true, 1.0f, true, 1.0f, 50}}) {
        SCOPED_TRACE(testing::Message() << (c.iceberg ? "iceberg" : "trash") << " at " << c.base << " boost "
                                        << c.boost);
        Ride ride;
        speed().setSpeed(c.base);
        speed().setBoosting(c.boost);
        Obstacle *p_obstacle = c.iceberg ? static_cast<Obstacle *>(at<Iceberg>(5.5f, 12.0f)) : at<Trash>(5.5f, 12.0f);
        const vk::EventCollision collision(p_obstacle, ride.p_surfer, vk::Vector(5.5f, 12.0f));
        p_obstacle->eventHandler(&collision);
        ride.sea.steps(1);
        EXPECT_NEAR(speed().getBaseSpeed(), c.after, 1e-3);
        EXPECT_EQ(ride.p_points->getValue(), 1 + c.points);
        EXPECT_EQ(count(c.iceberg ? "Iceberg" : "Trash"), c.points ? 0 : 1);
        // destroyed: one burst, white without a sprite; kept: the surfer, left
        // without speed, fails at this step in its own splash
        EXPECT_EQ(count("Particle"), c.points ? 100 : 50);
        EXPECT_EQ(count("SurferFail"), c.points ? 0 : 1);
        EXPECT_TRUE(!c.points || particleRGB() == 0xFFFFFF);
    }
}

TEST(Obstacle, AnOverlapOverTwoStepsCostsOnceAndDestroysOnceSpeedIsBack) {
    Ride ride;
    speed().setSpeed(1.8f);
    auto *p_trash = at<Trash>(6.0f, 12.0f);
    ride.sea.steps(1);
    EXPECT_TRUE(p_trash->hasHit());
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(count("Surfer"), 1);
    EXPECT_EQ(ride.p_display->getValue(), 5);

    // still overlapping at the next step, with speed again
    speed().setSpeed(3.0f);
    ride.sea.steps(1);
    EXPECT_EQ(speed().getBaseSpeed(), 3.0f);
    EXPECT_EQ(count("Trash"), 0);
    EXPECT_EQ(ride.p_points->getValue(), 6);
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
    vk::WorldManager::getInstance().markForDelete(at<Trash>(30.0f, 10.0f));
    sea.steps(1);
    ASSERT_EQ(count("Particle"), 100);
    EXPECT_EQ(particleRGB(), 0x00FF00);
}

TEST(Obstacle, StartsBeyondTheRightEdgeXBeforeYPastOccupiedSpotsAndComesBackThereFromTheLeft) {
    Sea sea;
    std::srand(5);
    const float x = static_cast<float>(std::rand() % 80) + 84.0f;
    const float y = static_cast<float>(std::rand() % 23) + 1.0f;
    at<vk::Object>(x, y);
    at<vk::Object>(x + 5.0f, y);
    std::srand(5);
    EXPECT_EQ((new Trash)->getPosition(), vk::Vector(x + 10.0f, y));

    auto *p_trash = at<Trash>(0.2f, 7.0f);
    std::srand(5);
    sea.steps(2);
    EXPECT_LT(p_trash->getPosition().getX(), 0.0f);
    sea.steps(1);
    EXPECT_EQ(p_trash->getPosition(), vk::Vector(x + 15.0f, y));
}

TEST(Obstacle, SharksHomeOnTheSurfersRowUntilSeventeenColumnsAway) {
    Ride ride;
    speed().setSpeed(2.0f);
    struct Case {
        float x, y, vy;
    };
    const Case cases[] = {{40.0f, 5.0f, 0.3f}, {22.0f, 20.0f, 0.0f}, {22.5f, 17.0f, -0.3f},
                          {85.0f, 5.0f, 0.0f}, {40.0f, 12.5f, 0.0f}};
    std::vector<Shark *> sharks;
    for (const Case &c : cases)
        sharks.push_back(at<Shark>(c.x, c.y));
    ride.sea.steps(1);
    for (std::size_t i = 0; i < sharks.size(); i++) {
        EXPECT_NEAR(sharks[i]->getVelocity().getX(), -1.0f, 1e-6) << i;
        EXPECT_NEAR(sharks[i]->getVelocity().getY(), cases[i].vy, 1e-6) << i;
    }
    EXPECT_TRUE(ride.sea.env.logHas("Location: 22.500000 and 5.000000"));
    EXPECT_EQ(ride.sea.env.logCount("human detected: engaging deadly force"), 2);
}

// Side by side, touching along an edge, a surfer and anything it meets miss
// each other; one row or a quarter column further in, they collide.
TEST(Obstacle, ObjectsCollideOnlyWhenTheirDrawnCellsOverlap) {
    Sea sea(true);
    auto *p_surfer = new Surfer;
    const vk::Vector surfer = p_surfer->getPosition();
    const std::pair<const char *, std::function<vk::Object *()>> kinds[] = {
        {"trash", [] { return new Trash; }},     {"buoy", [] { return new Buoy; }},
        {"shark", [] { return new Shark; }},     {"iceberg", [] { return new Iceberg; }},
        {"power-up", [] { return new Powerup; }}};
    for (const auto &[name, make] : kinds) {
        vk::Object *p_o = make();
        const vk::Sprite *p_sprite = p_o->getAnimation().getSprite();
        ASSERT_TRUE(p_sprite) << name;
        const float touch_x = (5.0f + static_cast<float>(p_sprite->getWidth())) / 2;
        const float touch_y = (3.0f + static_cast<float>(p_sprite->getHeight())) / 2;
        struct Case {
            float dx, dy;
            bool collide;
        };
        for (const Case &c : {Case{touch_x, 0, false}, Case{-touch_x, 0, false}, Case{0, touch_y, false},
                              Case{0, -touch_y, false}, Case{touch_x, touch_y, false},
                              Case{touch_x - 0.25f, 0, true}, Case{0, touch_y - 1, true},
                              Case{1 - touch_x, 1 - touch_y, true}, Case{0, 0, true}}) {
            p_o->setPosition(surfer + vk::Vector(c.dx, c.dy));
            EXPECT_EQ(vk::WorldManager::getInstance().getCollisions(p_surfer, surfer).getCount(), c.collide ? 1 : 0)
                << name << " at " << c.dx << ", " << c.dy;
        }
        // out of the way of the next
        p_o->setPosition(vk::Vector(-50, -50));
    }
}
