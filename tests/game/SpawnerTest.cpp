#include "Sea.h"

#include "GameStart.h"
#include "Obstacle.h"
#include "Spawner.h"

#include "EventStep.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace seatest;

namespace {

const std::array<const char *, 5> KINDS = {"Trash", "Buoy", "Shark", "Iceberg", "PowerUp"};
constexpr std::array<int, 5> LIMITS = {8, 7, 2, 3, 1};

std::array<int, 5> population() {
    std::array<int, 5> counts{};
    for (std::size_t i = 0; i < KINDS.size(); i++)
        counts[i] = count(KINDS[i]);
    return counts;
}

int total(const std::array<int, 5> &counts) { return counts[0] + counts[1] + counts[2] + counts[3] + counts[4]; }

} // namespace

TEST(Spawner, ARunStartsWithItsFixedPopulationAndDisplays) {
    Sea sea;
    startGame();
    EXPECT_EQ(population(), (std::array<int, 5>{8, 6, 2, 2, 0}));
    EXPECT_EQ(count("Surfer"), 1);
    EXPECT_EQ(count("Spawner"), 1);
    ASSERT_EQ(count("SpeedDisplay"), 1);
    EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getValue(), 1);
    EXPECT_EQ(first<vk::ViewObject>("SpeedDisplay")->getViewString(), "SPEED");
    // everything starts beyond the right edge
    const vk::ObjectList all = vk::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
        if (dynamic_cast<Obstacle *>(all[i])) {
            EXPECT_GE(all[i]->getPosition().getX(), 84.0f);
        }
    }
}

TEST(Spawner, AttemptsEveryTwentyTwoStepsAndAddsAtMostOne) {
    Sea sea;
    new Spawner;
    sea.steps(Spawner::SPAWN_STEPS - 1);
    EXPECT_EQ(total(population()), 0);
    sea.steps(1);
    EXPECT_EQ(total(population()), 1);
    sea.steps(Spawner::SPAWN_STEPS - 1);
    EXPECT_EQ(total(population()), 1);
    sea.steps(1);
    EXPECT_EQ(total(population()), 2);
}

TEST(Spawner, NoKindGrowsBeyondItsLimit) {
    Sea sea;
    // a still sea: nothing leaves, nothing is crushed
    speed().setSpeed(0.0f);
    new Spawner;
    std::array<int, 5> before{};
    for (int attempt = 0; attempt < 300; attempt++) {
        sea.steps(Spawner::SPAWN_STEPS);
        const std::array<int, 5> after = population();
        ASSERT_LE(total(after), total(before) + 1);
        for (std::size_t i = 0; i < KINDS.size(); i++)
            ASSERT_LE(after[i], LIMITS[i]) << KINDS[i];
        before = after;
    }
    EXPECT_EQ(before, LIMITS);
}

TEST(Spawner, KindsComeInTheRatioFortyThirtyFiveTenSevenTwo) {
    Sea sea;
    auto *p_spawner = new Spawner;
    const vk::EventStep step;
    constexpr int ATTEMPTS = 4700;
    constexpr std::array<int, 5> WEIGHTS = {40, 35, 10, 7, 2};
    std::array<int, 5> seen{};
    for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
        for (int i = 0; i < Spawner::SPAWN_STEPS; i++)
            p_spawner->eventHandler(&step);
        const std::array<int, 5> counts = population();
        ASSERT_EQ(total(counts), 1);
        for (std::size_t i = 0; i < KINDS.size(); i++)
            seen[i] += counts[i];
        // empty the sea again so that no kind reaches its limit
        const vk::ObjectList all = vk::WorldManager::getInstance().getAllObjects();
        for (int i = 0; i < all.getCount(); i++)
            if (all[i] != p_spawner)
                vk::WorldManager::getInstance().markForDelete(all[i]);
        vk::WorldManager::getInstance().update();
    }
    for (std::size_t i = 0; i < KINDS.size(); i++) {
        const double p = WEIGHTS[i] / 94.0;
        const double expected = ATTEMPTS * p;
        const double sigma = std::sqrt(ATTEMPTS * p * (1 - p));
        EXPECT_NEAR(seen[i], expected, 4 * sigma) << KINDS[i];
    }
}
