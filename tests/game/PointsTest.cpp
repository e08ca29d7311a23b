#include "Sea.h"

#include <vessik/presentation/ViewObjectLocation.h>

#include <gtest/gtest.h>

using namespace seatest;

namespace {

// Delivered the way a destroyed obstacle does it.
void obstacle(int value) {
    const EventPoint point(value);
    vk::WorldManager::getInstance().onEvent(&point);
}

} // namespace

TEST(Points, APointEverySixStepsAndObstaclePointsOnlyWhileTheSeaMoves) {
    Sea sea;
    auto *p_points = new Points;
    EXPECT_EQ(p_points->getViewString(), "POINTS");
    EXPECT_EQ(p_points->getLocation(), vk::TOP_RIGHT);
    sea.steps(5);
    EXPECT_EQ(p_points->getValue(), 0);
    sea.steps(1 + Points::PASSIVE_STEPS);
    obstacle(10);
    EXPECT_EQ(p_points->getValue(), 12);

    speed().setSpeed(0.0f);
    sea.steps(2 * Points::PASSIVE_STEPS);
    obstacle(10);
    EXPECT_EQ(p_points->getValue(), 12);
}

TEST(Points, TheSpeedRisesAtNinetyNineAtANewScoreEndingInNinetyAndCatchesUpWithTheHundreds) {
    struct Case {
        int from;
        int gain; // 0: a passive tick
        int score;
        float speed;
    };
    // 99 + 1 and 90 + 10 are a hundred; 100 + 5 is not, nor is 100 more
    // than one hundred, while 101 is
    for (const Case &c : {Case{98, 0, 99, 1.2f}, Case{80, 10, 90, 1.2f}, Case{95, 5, 100, 1.0f},
                          Case{100, 0, 101, 1.2f}, Case{99, 0, 100, 1.0f}}) {
        SCOPED_TRACE(c.from);
        Sea sea;
        auto *p_points = new Points;
        p_points->setValue(c.from);
        if (c.gain)
            obstacle(c.gain);
        else
            sea.steps(Points::PASSIVE_STEPS);
        EXPECT_EQ(p_points->getValue(), c.score);
        EXPECT_FLOAT_EQ(speed().getBaseSpeed(), c.speed);
    }
}

TEST(Points, TheSpeedCatchesUpOneStepPerTickExceptWhileBoostingAndCountsLevelsFromFourPointEightOn) {
    Sea sea;
    auto *p_points = new Points;
    p_points->setValue(350);
    speed().setBoosting(true);
    sea.steps(3 * Points::PASSIVE_STEPS);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);

    speed().setBoosting(false);
    std::vector<float> speeds;
    for (int i = 0; i < 4; i++) {
        sea.steps(Points::PASSIVE_STEPS);
        speeds.push_back(speed().getBaseSpeed());
    }
    EXPECT_EQ(speeds, (std::vector<float>{1.0f + 0.2f, 1.0f + 0.2f + 0.2f, 1.0f + 0.2f + 0.2f + 0.2f,
                                          1.0f + 0.2f + 0.2f + 0.2f}));

    // sums of 0.2 fall just short of their level: it still counts as reached
    float s = 1.0f;
    for (int i = 0; i < 19; i++)
        s += 0.2f;
    speed().setSpeed(s);
    p_points->setValue(1950);
    sea.steps(2 * Points::PASSIVE_STEPS);
    EXPECT_EQ(speed().getBaseSpeed(), s);
}
