#include "Sea.h"

#include <gtest/gtest.h>

#include <vector>

using namespace seatest;

namespace {

struct Ride {
    Sea sea;
    Surfer *p_surfer = new Surfer;

    // The surfer's row after each of `n` iterations, `during` acting as input.
    std::vector<float> rows(int n, const std::function<void(int)> &during = {}) {
        std::vector<float> out;
        sea.steps(n, [&](int i) {
            if (during)
                during(i);
            out.push_back(p_surfer->getPosition().getY());
        });
        return out;
    }
};

} // namespace

TEST(Surfer, MovesARowEveryOtherStepWithinRowsFourToTwentyTwoCountingKeysItSawGoDownAndSpaceSpeedsUp) {
    setenv("VESSIK_LOG_LEVEL", "5", 1);
    Ride ride;
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_EQ(ride.p_surfer->getPosition(), vk::Vector(5.0f, 12.0f));
    // up to row 4 and no further; the blocked attempt still restarts the wait
    const std::vector<float> up = ride.rows(20, [](int i) {
        if (i == 0)
            press(kb::W);
        if (i == 17) {
            release(kb::W);
            press(kb::S);
        }
    });
    EXPECT_EQ(std::vector<float>(up.begin(), up.begin() + 4), (std::vector<float>{12, 11, 11, 10}));
    EXPECT_EQ(std::vector<float>(up.begin() + 15, up.end()), (std::vector<float>{4, 4, 4, 4, 5}));

    // both held: no movement; releasing one moves towards the other
    EXPECT_EQ(ride.rows(6,
                        [](int i) {
                            if (i == 0)
                                press(kb::W);
                            if (i == 3)
                                release(kb::W);
                        }),
              (std::vector<float>{5, 5, 5, 5, 6, 6}));

    // a repeated press, a held key and a release without a press change
    // nothing: still one row at a time, and never below row 22
    EXPECT_EQ(ride.rows(4,
                        [](int i) {
                            if (i == 0) {
                                press(kb::S);
                                release(kb::W);
                                key(kb::S, vk::KEY_DOWN);
                            }
                        }),
              (std::vector<float>{7, 7, 8, 8}));
    EXPECT_EQ(ride.rows(60).back(), 22.0f);

    // space raises the base speed once per press, and sounds at every event
    ASSERT_EQ(vk::ResourceManager::getInstance().loadSound(vktest::sourceDir() + "/sounds/speed_increase.wav",
                                                           "speed increase"),
              0);
    press(kb::SPACE);
    key(kb::SPACE, vk::KEY_DOWN);
    release(kb::SPACE);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);
    EXPECT_EQ(ride.sea.env.logCount("Sound::play(): Playing sound."), 3);
}

TEST(Surfer, EscapeEndsTheProgramAndAPressAlsoRemovesTheSurferWithoutAFailure) {
    Ride ride;
    EXPECT_EQ(ride.sea.steps(5, [](int) { key(kb::ESCAPE, vk::KEY_DOWN); }), 1);
    EXPECT_EQ(count("Surfer"), 1);
    EXPECT_EQ(ride.sea.steps(5, [](int) { press(kb::ESCAPE); }), 1);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(count("SurferFail"), 0);
}

TEST(Surfer, GivingUpStartsOneFailureSequenceWithABlueSplashAndStopsTheSea) {
    Ride ride;
    vk::ViewObject *p_display = speedDisplay();
    speed().setSpeed(1.4f);
    ride.sea.steps(1, [](int) {
        press(kb::Q);
        press(kb::Q);
    });
    ASSERT_EQ(count("SurferFail"), 1);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(first<SurferFail>("SurferFail")->getPosition(), vk::Vector(5.0f, 12.0f));
    EXPECT_EQ(ride.sea.env.logCount("GAMEOVER"), 1);
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(p_display->getValue(), 3);
    EXPECT_EQ(particlesAt(vk::Vector(5.0f, 12.0f)), 50);
    EXPECT_EQ(particleRGB(), 0x0000FF);
}

TEST(Surfer, FailsAtTheFirstStepWithoutSpeedAndIgnoresKeysLaterInThatIteration) {
    Ride ride;
    speed().setSpeed(0.8f);
    EXPECT_EQ(ride.sea.steps(2,
                             [](int i) {
                                 if (i == 0) {
                                     press(kb::Q);
                                     press(kb::ESCAPE);
                                 }
                             }),
              2);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(ride.sea.env.logCount("GAMEOVER"), 1);
}

TEST(Surfer, ABoostLeavesATrailEveryThirdStepAndEndsAtItsHundredFiftiethStep) {
    for (const float base : {1.0f, 0.0f}) {
        Ride ride;
        speed().setSpeed(base);
        speed().setBoosting(true);
        ride.p_surfer->setBoosting(true);
        ride.p_surfer->setBoostCountdown(Surfer::BOOST_STEPS);
        std::vector<int> bursts;
        ride.sea.steps(149, [&](int i) {
            if (const int n = particlesAt(ride.p_surfer->getPosition()); n > 0) {
                EXPECT_EQ(n, 50);
                bursts.push_back(i);
            }
        });
        ASSERT_EQ(bursts.size(), 49u);
        EXPECT_EQ(bursts.front(), 2);
        EXPECT_EQ(bursts.back(), 146);
        EXPECT_TRUE(speed().isBoosting());
        EXPECT_EQ(count("Surfer"), 1);

        // the end leaves the base speed, and without one the surfer fails
        ride.sea.steps(1);
        EXPECT_FALSE(speed().isBoosting());
        EXPECT_EQ(speed().getEffectiveSpeed(), base);
        EXPECT_EQ(count("SurferFail"), base > 0.0f ? 0 : 1);
        // a surfer that failed has been deleted by now
        if (base > 0.0f) {
            EXPECT_FALSE(ride.p_surfer->isBoosting());
        }
    }
}

TEST(Surfer, StoppingTheEngineMidRunCreatesNothingMore) {
    Ride ride;
    at<Trash>(40.0f, 8.0f);
    ride.sea.steps(1);
    vk::GameManager::getInstance().shutDown();
    EXPECT_EQ(ride.sea.env.readLog().find("Unable to add"), std::string::npos);
}
