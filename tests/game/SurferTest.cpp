#include "Sea.h"

#include "Surfer.h"
#include "SurferFail.h"
#include "Trash.h"

#include "Keyboard.h"
#include "Shape.h"
#include "ViewObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace seatest;
namespace kb = vk::Keyboard;

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

TEST(Surfer, StartsAtColumnFiveHalfWayDownAndMovesARowEveryOtherStepWithinItsRows) {
    Ride ride;
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
    EXPECT_EQ(up[15], 4.0f);
    EXPECT_EQ(up[17], 4.0f);
    EXPECT_EQ(up[18], 4.0f);
    EXPECT_EQ(up[19], 5.0f);

    const std::vector<float> down = ride.rows(60);
    EXPECT_EQ(down.back(), 22.0f);
    EXPECT_EQ(*std::max_element(down.begin(), down.end()), 22.0f);
}

TEST(Surfer, DirectionCountsOnlyKeysItSawGoDown) {
    Ride ride;
    // both held: no movement; a release of one moves towards the other
    std::vector<float> rows = ride.rows(6, [](int i) {
        if (i == 0) {
            press(kb::W);
            press(kb::S);
        }
        if (i == 3)
            release(kb::W);
    });
    EXPECT_EQ(rows, (std::vector<float>{12, 12, 12, 12, 13, 13}));

    // a repeated press, a held key and a release without a press change
    // nothing: still one row at a time
    rows = ride.rows(4, [](int i) {
        if (i == 0) {
            press(kb::S);
            release(kb::W);
            key(kb::S, vk::KEY_DOWN);
        }
    });
    EXPECT_EQ(rows, (std::vector<float>{14, 14, 15, 15}));
}

TEST(Surfer, SpaceRaisesTheBaseSpeedOncePerPressAndSoundsAtEveryEvent) {
    setenv("VESSIK_LOG_LEVEL", "5", 1);
    Ride ride;
    unsetenv("VESSIK_LOG_LEVEL");
    ASSERT_EQ(vk::ResourceManager::getInstance().loadSound(vktest::sourceDir() + "/sounds/speed_increase.wav",
                                                           "speed increase"),
              0);
    press(kb::SPACE);
    for (int i = 0; i < 4; i++)
        key(kb::SPACE, vk::KEY_DOWN);
    release(kb::SPACE);
    EXPECT_EQ(speed().getBaseSpeed(), 1.0f + 0.2f);
    EXPECT_EQ(ride.sea.env.logCount("Sound::play(): Playing sound."), 6);
}

TEST(Surfer, EscapeEndsTheProgramAndAPressAlsoRemovesTheSurfer) {
    Ride ride;
    EXPECT_EQ(ride.sea.steps(5, [](int) { key(kb::ESCAPE, vk::KEY_DOWN); }), 1);
    EXPECT_EQ(count("Surfer"), 1);

    EXPECT_EQ(ride.sea.steps(5, [](int) { press(kb::ESCAPE); }), 1);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(count("SurferFail"), 0);
}

TEST(Surfer, GivingUpHandsOverToOneFailureSequenceAndStopsTheSea) {
    Sea sea(true);
    auto *p_display = new vk::ViewObject;
    p_display->setType("SpeedDisplay");
    new Surfer;
    speed().setSpeed(1.4f);

    sea.steps(1, [](int) {
        press(kb::Q);
        press(kb::Q);
    });
    ASSERT_EQ(count("Surfer"), 0);
    ASSERT_EQ(count("SurferFail"), 1);
    EXPECT_EQ(first<SurferFail>("SurferFail")->getPosition(), vk::Vector(5.0f, 12.0f));
    EXPECT_EQ(sea.env.logCount("GAMEOVER"), 1);
    EXPECT_EQ(speed().getBaseSpeed(), 0.0f);
    EXPECT_EQ(p_display->getValue(), 3);

    // the surfer's farewell: one blue splash where it stood
    const vk::ObjectList particles = vk::WorldManager::getInstance().objectsOfType("Particle");
    EXPECT_EQ(particlesAt(vk::Vector(5.0f, 12.0f)), 50);
    for (int i = 0; i < particles.getCount(); i++) {
        const vk::Shape shape = particles[i]->getShape();
        EXPECT_EQ(shape.getR() * 65536 + shape.getG() * 256 + shape.getB(), 255);
    }
}

TEST(Surfer, FailsAtTheFirstStepWithoutSpeedAndThenIgnoresEveryKey) {
    Ride ride;
    speed().setSpeed(0.8f);
    EXPECT_EQ(count("SurferFail"), 0);
    // the step fails the surfer; Q and Escape arrive later in that iteration
    EXPECT_EQ(ride.sea.steps(2, [](int i) {
        if (i == 0) {
            press(kb::Q);
            press(kb::ESCAPE);
        }
    }),
              2);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(ride.sea.env.logCount("GAMEOVER"), 1);
}

TEST(Surfer, BoostLeavesATrailEveryThirdStepAndEndsAfterOneHundredFiftySteps) {
    Ride ride;
    speed().setBoosting(true);
    ride.p_surfer->setBoosting(true);
    ride.p_surfer->setBoostCountdown(Surfer::BOOST_STEPS);

    std::vector<int> bursts;
    ride.sea.steps(149, [&](int i) {
        const int at_surfer = particlesAt(ride.p_surfer->getPosition());
        if (at_surfer > 0) {
            EXPECT_EQ(at_surfer, 50);
            bursts.push_back(i);
        }
    });
    ASSERT_EQ(bursts.size(), 49u);
    EXPECT_EQ(bursts.front(), 2);
    EXPECT_EQ(bursts.back(), 146);
    EXPECT_TRUE(speed().isBoosting());

    ride.sea.steps(1);
    EXPECT_FALSE(speed().isBoosting());
    EXPECT_FALSE(ride.p_surfer->isBoosting());
    EXPECT_EQ(speed().getEffectiveSpeed(), 1.0f);
}

TEST(Surfer, BoostCarriesASurferWithoutSpeedUntilItEnds) {
    Ride ride;
    speed().setSpeed(0.0f);
    speed().setBoosting(true);
    ride.p_surfer->setBoosting(true);
    ride.p_surfer->setBoostCountdown(3);

    ride.sea.steps(2);
    EXPECT_EQ(count("Surfer"), 1);
    ride.sea.steps(1);
    EXPECT_EQ(count("Surfer"), 0);
    EXPECT_EQ(count("SurferFail"), 1);
}

TEST(Surfer, StoppingTheEngineMidRunCreatesNothingMore) {
    Ride ride;
    (new Trash)->setPosition(vk::Vector(40.0f, 8.0f));
    ride.sea.steps(1);
    vk::GameManager::getInstance().shutDown();
    for (const std::string &line : ride.sea.env.logMessages())
        EXPECT_EQ(line.find("Unable to add"), std::string::npos) << line;
}
