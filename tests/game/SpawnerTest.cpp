#include "Sea.h"

#include <vessik/core/EventStep.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace seatest;

namespace {

const std::array<const char *, 5> KINDS = {"Trash", "Buoy", "Shark", "Iceberg", "PowerUp"};

std::array<int, 5> population() {
    std::array<int, 5> counts{};
    for (std::size_t i = 0; i < KINDS.size(); i++)
        counts[i] = count(KINDS[i]);
    return counts;
}

int total(const std::array<int, 5> &counts) { return counts[0] + counts[1] + counts[2] + counts[3] + counts[4]; }

} // namespace

TEST(Spawner, ARunStartsWithItsFixedPopulationBeyondTheRightEdge) {
    Sea sea;
    startGame();
    EXPECT_EQ(population(), (std::array<int, 5>{8, 6, 2, 2, 0}));
    const vk::ObjectList everything = vk::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < everything.getCount(); i++)
        EXPECT_TRUE(!dynamic_cast<Obstacle *>(everything[i]) || everything[i]->getPosition().getX() >= 84.0f);
}

TEST(Spawner, AddsAtMostOneEveryTwentyTwoStepsAndNoKindBeyondItsLimit) {
    Sea sea;
    // a still sea: nothing leaves, nothing is crushed
    speed().setSpeed(0.0f);
    new Spawner;
    sea.steps(Spawner::SPAWN_STEPS - 1);
    EXPECT_EQ(total(population()), 0);
    sea.steps(1);
    std::array<int, 5> before = population();
    EXPECT_EQ(total(before), 1);
    for (int attempt = 0; attempt < 300; attempt++) {
        sea.steps(Spawner::SPAWN_STEPS);
        const std::array<int, 5> after = population();
        ASSERT_LE(total(after), total(before) + 1);
        before = after;
    }
    EXPECT_EQ(before, (std::array<int, 5>{8, 7, 2, 3, 1}));
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
        const vk::ObjectList everything = vk::WorldManager::getInstance().getAllObjects();
        for (int i = 0; i < everything.getCount(); i++)
            if (everything[i] != p_spawner)
                vk::WorldManager::getInstance().markForDelete(everything[i]);
        vk::WorldManager::getInstance().update();
    }
    for (std::size_t i = 0; i < KINDS.size(); i++) {
        const double p = WEIGHTS[i] / 94.0;
        EXPECT_NEAR(seen[i], ATTEMPTS * p, 4 * std::sqrt(ATTEMPTS * p * (1 - p))) << KINDS[i];
    }
}
