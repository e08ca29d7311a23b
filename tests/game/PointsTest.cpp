#include "Sea.h"

#include "EventPoint.h"
#include "Points.h"

#include "ViewObjectLocation.h"

#include <gtest/gtest.h>

using namespace seatest;

namespace {

struct Score {
    Sea sea;
    Points *p_points = new Points;

    // Delivered the way a destroyed obstacle does it.
    void obstacle(int value) {
        const EventPoint point(value);
        vk::WorldManager::getInstance().onEvent(&point);
    }
    void ticks(int n) { sea.steps(n * Points::PASSIVE_STEPS); }
};

} // namespace

TEST(Points, APointEverySixStepsWhileTheSeaMoves) {
    Score score;
    EXPECT_EQ(score.p_points->getViewString(), "POINTS");
    EXPECT_EQ(score.p_points->getLocation(), vk::TOP_RIGHT);
    score.sea.steps(5);
    EXPECT_EQ(score.p_points->getValue(), 0);
    score.sea.steps(1);
    EXPECT_EQ(score.p_points->getValue(), 1);
    score.ticks(2);
    EXPECT_EQ(score.p_points->getValue(), 3);

    speed().setSpeed(0.0f);
    score.ticks(2);
    score.obstacle(10);
    EXPECT_EQ(score.p_points->getValue(), 3);
}

TEST(Points, ObstaclePointsRaiseTheSpeedAtTheirOddTriggers) {
    Score score;
    // a buoy reaching 90: 90 + 10 is a hundred
    score.p_points->setValue(80);
    score.obstacle(10);
    EXPECT_EQ(score.p_points->getValue(), 90);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);

    // trash reaching 100 does not, nor does the next tick's catch-up rule,
    // which needs more than 100 ...
    speed().setSpeed(1.0f);
    score.p_points->setValue(95);
    score.obstacle(5);
    EXPECT_EQ(score.p_points->getValue(), 100);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);
    // ... which 101 is
    score.ticks(1);
    EXPECT_EQ(score.p_points->getValue(), 101);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);
}

TEST(Points, NinetyNineReachedPassivelyRaisesTheSpeed) {
    Score score;
    score.p_points->setValue(98);
    score.ticks(1);
    EXPECT_EQ(score.p_points->getValue(), 99);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);
}

TEST(Points, TheSpeedCatchesUpWithTheHundredsOneStepPerTickExceptWhileBoosting) {
    Score score;
    score.p_points->setValue(350);
    speed().setBoosting(true);
    score.ticks(3);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f);

    speed().setBoosting(false);
    std::vector<float> speeds;
    for (int i = 0; i < 4; i++) {
        score.ticks(1);
        speeds.push_back(speed().getBaseSpeed());
    }
    EXPECT_EQ(speeds, (std::vector<float>{1.0f + 0.2f, 1.0f + 0.2f + 0.2f, 1.0f + 0.2f + 0.2f + 0.2f,
                                          1.0f + 0.2f + 0.2f + 0.2f}));

    // from 4.8 on, sums of 0.2 fall just short of their step: the level must
    // still count as reached
    float s = 1.0f;
    for (int i = 0; i < 19; i++)
        s += 0.2f;
    speed().setSpeed(s);
    score.p_points->setValue(1950);
    score.ticks(2);
    EXPECT_EQ(speed().getBaseSpeed(), s);
}
