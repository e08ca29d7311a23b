#include "Config.h"
#include "EventStep.h"
#include "Firework.h"
#include "GameManager.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "Particle.h"
#include "Shape.h"
#include "TestEnv.h"
#include "WorldManager.h"
#include "particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using vk::Particle;
using vk::Vector;

namespace {

// A started log and an 80 x 24 world; the steps are delivered by hand.
struct World {
    vktest::TestEnv env;
    int step_count = 0;
    explicit World(int log_level = 1) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
        vk::WorldManager::getInstance().startUp();
        const vk::Box box(Vector(0, 0), 80, 24);
        vk::WorldManager::getInstance().setBoundary(box);
        vk::WorldManager::getInstance().setView(box);
    }
    ~World() {
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }

    // One step of the game loop without display and input.
    void step(int n = 1) {
        for (int i = 0; i < n; i++) {
            const vk::EventStep event(step_count++);
            vk::GameManager::getInstance().onEvent(&event);
            vk::WorldManager::getInstance().update();
        }
    }
};

std::vector<Particle *> particles(const std::string &type = "Particle") {
    const vk::ObjectList list = vk::WorldManager::getInstance().objectsOfType(type);
    std::vector<Particle *> out;
    for (int i = 0; i < list.getCount(); i++)
        out.push_back(dynamic_cast<Particle *>(list[i]));
    return out;
}

float fraction(int r) { return static_cast<float>(r / static_cast<double>(RAND_MAX)); }

std::vector<int> randSequence(unsigned seed, int n) {
    std::srand(seed);
    std::vector<int> values;
    for (int i = 0; i < n; i++)
        values.push_back(std::rand());
    std::srand(seed);
    return values;
}

// A burst with every spread 0 but the ones a test sets.
struct Burst {
    int count = 50;
    Vector position{40, 12};
    float position_spread = 0;
    Vector direction{1, 0};
    float direction_spread = 0;
    float size = 4;
    float size_spread = 0;
    float speed = 0.5f;
    float speed_spread = 0;
    int age = 10;
    int age_spread = 0;
    unsigned char opacity = 255;
    unsigned char opacity_spread = 0;
    unsigned char r = 255, g = 0, b = 0;
    unsigned char color_spread = 0;
    int kind = vk::PLAIN_PARTICLE;
    int add() const {
        return vk::addParticles(count, 0, position, position_spread, direction, direction_spread, size, size_spread,
                                speed, speed_spread, age, age_spread, opacity, opacity_spread, r, g, b, color_spread,
                                kind);
    }
};

} // namespace

TEST(Particles, NoCountOrAnUnknownKindMakesNothing) {
    World world;
    for (int count : {0, -5}) {
        const std::vector<int> expected = randSequence(7, 1);
        Burst burst;
        burst.count = count;
        burst.opacity_spread = 10;
        burst.direction = Vector(0, 0);
        EXPECT_EQ(burst.add(), 0);
        EXPECT_EQ(std::rand(), expected[0]) << "no random numbers drawn";
    }
    Burst burst;
    burst.kind = 2;
    EXPECT_EQ(burst.add(), -1);
    EXPECT_TRUE(world.env.logHas("addParticles(): Type 2 not defined."));
    EXPECT_TRUE(particles().empty());
}

TEST(Particles, WithoutSpreadsEveryParticleIsTheCentreValue) {
    World world;
    Burst burst;
    ASSERT_EQ(burst.add(), 0);
    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), 50u);
    for (const Particle *p : made) {
        EXPECT_EQ(p->getSolidness(), vk::SPECTRAL);
        EXPECT_EQ(p->getAltitude(), vk::MAX_ALTITUDE);
        EXPECT_EQ(p->getPosition(), Vector(40, 12));
        EXPECT_EQ(p->getVelocity(), Vector(0.5f, 0));
        EXPECT_EQ(p->getAge(), 10);
        EXPECT_EQ(p->getShape().toString(), "circle, size 4.000000, Unknown color, 255");
        EXPECT_EQ(p->getShape().getR(), 255);
    }
}

TEST(Particles, RandomNumbersAreDrawnInTheFixedOrder) {
    World world;
    const std::vector<int> r = randSequence(42, 10);
    Burst burst;
    burst.count = 1;
    burst.position = Vector(10, 10);
    burst.position_spread = 2;
    burst.direction_spread = 0.5f;
    burst.size_spread = 2;
    burst.speed = 1;
    burst.speed_spread = 0.5f;
    burst.age_spread = 6;
    burst.opacity = 200;
    burst.opacity_spread = 40;
    burst.r = 100;
    burst.g = 0;
    burst.b = 50;
    burst.color_spread = 20;
    ASSERT_EQ(burst.add(), 0);
    EXPECT_EQ(std::rand(), r[9]) << "nine numbers per particle";

    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), 1u);
    const Particle *p = made[0];
    EXPECT_EQ(p->getShape().getAlpha(), 200 + r[0] % 40 - 20);
    EXPECT_EQ(p->getAge(), 10 + r[1] % 6 - 3);
    EXPECT_FLOAT_EQ(p->getShape().getSize(), 4 + fraction(r[2]) * 2 - 1);
    const int offset = r[3] % 20 - 10;
    EXPECT_EQ(p->getShape().getR(), 100 + offset);
    EXPECT_EQ(p->getShape().getG(), 0) << "a component of 0 stays 0";
    EXPECT_EQ(p->getShape().getB(), 50 + offset);

    Vector direction(1 + fraction(r[4]) * 0.5f - 0.25f, fraction(r[5]) * 0.5f - 0.25f);
    direction.normalize();
    const float speed = 1 + fraction(r[6]) * 0.5f - 0.25f;
    EXPECT_NEAR(p->getVelocity().getX(), direction.getX() * speed, 1e-5);
    EXPECT_NEAR(p->getVelocity().getY(), direction.getY() * speed, 1e-5);
    EXPECT_FLOAT_EQ(p->getPosition().getX(), 10 + fraction(r[7]) * 2 - 1);
    EXPECT_FLOAT_EQ(p->getPosition().getY(), 10 + fraction(r[8]) * 2 - 1);
}

TEST(Particles, OpacityWrapsAroundOnEightBits) {
    World world;
    std::srand(11);
    Burst burst;
    burst.count = 300;
    burst.opacity = 255;
    burst.opacity_spread = 75;
    ASSERT_EQ(burst.add(), 0);
    int wrapped = 0;
    int high = 0;
    for (const Particle *p : particles()) {
        const int alpha = p->getShape().getAlpha();
        EXPECT_TRUE(alpha <= 36 || alpha >= 218) << alpha;
        (alpha <= 36 ? wrapped : high)++;
    }
    EXPECT_GT(wrapped, 0);
    EXPECT_GT(high, 0);
}

TEST(Particles, ColourSpreadIsClampedAndLeavesZeroComponents) {
    World world;
    std::srand(5);
    Burst burst;
    burst.count = 300;
    burst.color_spread = 255;
    ASSERT_EQ(burst.add(), 0);
    int lowest = 255;
    int clamped = 0;
    for (const Particle *p : particles()) {
        const int red = p->getShape().getR();
        EXPECT_GE(red, 128);
        lowest = std::min(lowest, red);
        clamped += red == 255;
        EXPECT_EQ(p->getShape().getG(), 0);
        EXPECT_EQ(p->getShape().getB(), 0);
    }
    EXPECT_LT(lowest, 150);
    EXPECT_GT(clamped, 100);
}

TEST(Particles, BurstsTakeNoObjectIds) {
    World world;
    auto *p_before = new vk::Object;
    Burst burst;
    burst.kind = vk::FIREWORK_PARTICLE;
    ASSERT_EQ(burst.add(), 0);
    auto *p_after = new vk::Object;
    EXPECT_EQ(p_after->getId(), p_before->getId() + 1);
    for (const Particle *p : particles("Firework"))
        EXPECT_EQ(p->getId(), 0);
}

TEST(Particles, AParticleIsRemovedOnItsAgeThStep) {
    World world;
    Burst burst;
    burst.count = 1;
    burst.speed = 0;
    burst.age = 3;
    ASSERT_EQ(burst.add(), 0);
    burst.age = 1;
    ASSERT_EQ(burst.add(), 0);
    world.step();
    ASSERT_EQ(particles().size(), 1u) << "age 1 goes at the first step";
    EXPECT_EQ(particles()[0]->getAge(), 2);
    world.step();
    EXPECT_EQ(particles().size(), 1u);
    world.step();
    EXPECT_TRUE(particles().empty());
}

TEST(Particles, AParticleLeavingTheWorldIsRemovedInThatStep) {
    World world;
    Burst burst;
    burst.count = 1;
    burst.position = Vector(79, 5);
    burst.speed = 2;
    burst.age = 100;
    ASSERT_EQ(burst.add(), 0);
    burst.position = Vector(40, 5);
    ASSERT_EQ(burst.add(), 0);
    world.step();
    const std::vector<Particle *> left = particles();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->getPosition(), Vector(42, 5));
}

TEST(Fireworks, FallAndLeaveAStillTrailUntilTheirLastStep) {
    World world;
    auto *p_firework = new vk::Firework(4, 20, 200, 10, 20, 30);
    p_firework->setPosition(Vector(40, 5));
    EXPECT_EQ(p_firework->getType(), "Firework");
    EXPECT_EQ(p_firework->getAcceleration(), Vector(0, 0.01f));

    world.step();
    std::vector<Particle *> trail = particles();
    ASSERT_EQ(trail.size(), 1u);
    EXPECT_EQ(trail[0]->getPosition(), Vector(40, 5));
    EXPECT_FLOAT_EQ(trail[0]->getShape().getSize(), 2);
    EXPECT_EQ(trail[0]->getAge(), 5);
    EXPECT_EQ(trail[0]->getShape().getAlpha(), 255);
    EXPECT_EQ(trail[0]->getShape().getR(), 10);
    EXPECT_EQ(trail[0]->getShape().getG(), 20);
    EXPECT_EQ(trail[0]->getShape().getB(), 30);
    EXPECT_EQ(trail[0]->getId(), 0);

    world.step();
    const Vector before = p_firework->getPosition();
    EXPECT_GT(before.getY(), 5.0f) << "it falls";
    world.step();
    trail = particles();
    ASSERT_EQ(trail.size(), 3u);
    EXPECT_EQ(trail[2]->getPosition(), before) << "where the firework was when the step began";
    EXPECT_EQ(trail[2]->getVelocity(), Vector(0, 0));

    // its 20th step ends it and still leaves a trail particle; trail
    // particles live five steps, so those of steps 16 to 20 remain
    world.step(17);
    EXPECT_TRUE(particles("Firework").empty());
    EXPECT_EQ(particles().size(), 5u);
}

TEST(ParticleEffects, SparksInYellowFollowTheirTable) {
    World world;
    std::srand(1);
    const Vector at(30, 10);
    ASSERT_EQ(vk::addParticleEffect(vk::SPARKS, at, 2.0f, vk::YELLOW), 0);
    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), 100u);
    std::set<int> ages;
    for (const Particle *p : made) {
        EXPECT_EQ(p->getPosition(), at);
        EXPECT_FLOAT_EQ(p->getShape().getSize(), 3);
        EXPECT_EQ(p->getShape().getR(), 255);
        EXPECT_EQ(p->getShape().getG(), 255);
        EXPECT_EQ(p->getShape().getB(), 0);
        EXPECT_GE(p->getSpeed(), 0.06f - 1e-6f);
        EXPECT_LE(p->getSpeed(), 0.18f + 1e-6f);
        EXPECT_GE(p->getAge(), 15);
        EXPECT_LE(p->getAge(), 44);
        ages.insert(p->getAge());
    }
    EXPECT_GT(ages.size(), 10u);
}

TEST(ParticleEffects, SmokeInCustomKeepsItsVariedGreyAndRises) {
    World world;
    std::srand(2);
    ASSERT_EQ(vk::addParticleEffect(vk::SMOKE, Vector(20, 20), 1.0f, vk::CUSTOM), 0);
    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), 20u);
    std::set<int> greys;
    for (const Particle *p : made) {
        const int grey = p->getShape().getR();
        EXPECT_EQ(p->getShape().getG(), grey);
        EXPECT_EQ(p->getShape().getB(), grey);
        EXPECT_GE(grey, 103);
        EXPECT_LE(grey, 152);
        greys.insert(grey);
        EXPECT_LT(p->getVelocity().getY(), 0);
        EXPECT_NEAR(p->getSpeed(), 0.2f, 0.025f + 1e-6f);
        EXPECT_GE(p->getAge(), 18);
        EXPECT_LE(p->getAge(), 22);
    }
    EXPECT_GT(greys.size(), 5u);
}

TEST(ParticleEffects, RingAndFireworksAndUnknownEffectsOrColours) {
    World world(5);
    ASSERT_EQ(vk::addParticleEffect(vk::RING, Vector(40, 12), 1.0f, static_cast<vk::Color>(42)), 0);
    EXPECT_TRUE(world.env.logHas("colorToRGB(): Color 42 not supported."));
    const std::vector<Particle *> ring = particles();
    ASSERT_EQ(ring.size(), 50u);
    std::set<std::pair<bool, bool>> quadrants;
    for (const Particle *p : ring) {
        EXPECT_FLOAT_EQ(p->getSpeed(), 1.25f * 0.08f) << "random directions at one speed";
        quadrants.insert({p->getVelocity().getX() > 0, p->getVelocity().getY() > 0});
        EXPECT_EQ(p->getAge(), 10);
        EXPECT_EQ(p->getShape().getG(), 20) << "the ring's own pink";
    }
    EXPECT_EQ(quadrants.size(), 4u);

    ASSERT_EQ(vk::addParticleEffect(vk::FIREWORKS, Vector(40, 12), 1.5f, vk::CUSTOM), 0);
    EXPECT_EQ(particles("Firework").size(), 6u);

    ASSERT_EQ(vk::addParticleEffect(static_cast<vk::ParticleEffect>(4), Vector(40, 12), 1.0f, vk::RED), 0);
    EXPECT_EQ(particles().size(), 50u);
    EXPECT_EQ(particles("Firework").size(), 6u);
}
