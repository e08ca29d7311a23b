#include "../world/WorldSupport.h"

#include <vessik/core/EventStep.h>
#include <vessik/presentation/Firework.h>
#include <vessik/presentation/Particle.h>
#include <vessik/presentation/particles.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using vk::Particle;
using vk::Vector;
using worldtest::World;

namespace {

// Steps of the game loop without display and input.
void step(int n = 1) {
    for (int i = 0; i < n; i++) {
        const vk::EventStep event(i);
        vk::GameManager::getInstance().onEvent(&event);
        vk::WorldManager::getInstance().update();
    }
}

std::vector<Particle *> particles(const std::string &type = "Particle") {
    const vk::ObjectList list = vk::WorldManager::getInstance().objectsOfType(type);
    std::vector<Particle *> out;
    for (int i = 0; i < list.getCount(); i++)
        out.push_back(dynamic_cast<Particle *>(list[i]));
    return out;
}

float fraction(int r) { return static_cast<float>(r / static_cast<double>(RAND_MAX)); }

// The first `n` numbers of the generator seeded with `seed`, which is then
// seeded again.
std::vector<int> randSequence(unsigned seed, std::size_t n) {
    std::srand(seed);
    std::vector<int> values(n);
    std::generate(values.begin(), values.end(), std::rand);
    std::srand(seed);
    return values;
}

// A burst with every spread 0 but the ones a test sets.
struct Burst {
    int count = 50;
    Vector position{40, 12};
    float position_spread = 0;
    Vector direction{1, 0};
    float direction_spread = 0, size = 4, size_spread = 0, speed = 0.5f, speed_spread = 0;
    int age = 10, age_spread = 0;
    unsigned char opacity = 255, opacity_spread = 0, r = 255, g = 0, b = 0, color_spread = 0;
    int kind = vk::PLAIN_PARTICLE;
    int add() const {
        return vk::addParticles(count, 0, position, position_spread, direction, direction_spread, size, size_spread,
                                speed, speed_spread, age, age_spread, opacity, opacity_spread, r, g, b, color_spread,
                                kind);
    }
};

} // namespace

TEST(Particles, WithoutSpreadsNoRandomNumberIsDrawnAndBadBurstsMakeNothing) {
    World world;
    const std::vector<int> expected = randSequence(7, 1);
    EXPECT_EQ((Burst{-5, {40, 12}, 0, {0, 0}}).add(), 0) << "no count, even with a random direction";
    Burst bad;
    bad.kind = 2;
    EXPECT_EQ(bad.add(), -1);
    EXPECT_TRUE(world.env.logHas("addParticles(): Type 2 not defined."));
    EXPECT_TRUE(particles().empty());

    auto *p_before = new vk::Object;
    ASSERT_EQ(Burst().add(), 0);
    EXPECT_EQ(std::rand(), expected[0]);
    EXPECT_EQ((new vk::Object)->getId(), p_before->getId() + 1) << "particles take no ids";
    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), 50u);
    for (const Particle *p : made) {
        EXPECT_EQ(p->getId(), 0);
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
    // count, position and spread, direction and spread, size, speed, age,
    // opacity (each with its spread), r, g, b, colour spread
    const Burst burst{1, {10, 10}, 2, {1, 0}, 0.5f, 4, 2, 1, 0.5f, 10, 6, 200, 40, 100, 0, 50, 20};
    ASSERT_EQ(burst.add(), 0);
    EXPECT_EQ(std::rand(), r[9]) << "nine numbers per particle";

    ASSERT_EQ(particles().size(), 1u);
    const Particle *p = particles()[0];
    EXPECT_EQ(p->getShape().getAlpha(), 200 + r[0] % 40 - 20);
    EXPECT_EQ(p->getAge(), 10 + r[1] % 6 - 3);
    EXPECT_FLOAT_EQ(p->getShape().getSize(), 4 + fraction(r[2]) * 2 - 1);
    const int offset = r[3] % 20 - 10;
    EXPECT_EQ(p->getShape().getR(), 100 + offset);
    EXPECT_EQ(p->getShape().getG(), 0) << "a component of 0 stays 0";
    EXPECT_EQ(p->getShape().getB(), 50 + offset);
    Vector direction(1 + fraction(r[4]) * 0.5f - 0.25f, fraction(r[5]) * 0.5f - 0.25f);
    direction.normalize();
    direction.scale(1 + fraction(r[6]) * 0.5f - 0.25f);
    EXPECT_NEAR(p->getVelocity().getX(), direction.getX(), 1e-5);
    EXPECT_NEAR(p->getVelocity().getY(), direction.getY(), 1e-5);
    EXPECT_FLOAT_EQ(p->getPosition().getX(), 10 + fraction(r[7]) * 2 - 1);
    EXPECT_FLOAT_EQ(p->getPosition().getY(), 10 + fraction(r[8]) * 2 - 1);
}

TEST(Particles, OpacityWrapsAroundOnEightBitsAndColourIsClamped) {
    World world;
    std::srand(11);
    Burst burst;
    burst.count = 300;
    burst.opacity_spread = 75; // 255 - 37 .. 255 + 37, past 255 back from 0
    burst.color_spread = 255;  // red 255 - 127 .. 255 + 127, clamped to 255
    ASSERT_EQ(burst.add(), 0);
    int wrapped = 0, high = 0, clamped = 0, lowest_red = 255;
    for (const Particle *p : particles()) {
        const int alpha = p->getShape().getAlpha();
        EXPECT_TRUE(alpha <= 36 || alpha >= 218) << alpha;
        (alpha <= 36 ? wrapped : high)++;
        const int red = p->getShape().getR();
        EXPECT_GE(red, 128);
        lowest_red = std::min(lowest_red, red);
        clamped += red == 255;
        EXPECT_EQ(p->getShape().getG() + p->getShape().getB(), 0);
    }
    EXPECT_GT(wrapped, 0);
    EXPECT_GT(high, 0);
    EXPECT_LT(lowest_red, 150);
    EXPECT_GT(clamped, 100);
}

TEST(Particles, GoOnTheirLastStepOrWhenLeavingTheWorld) {
    World world;
    // count, position and spread, direction and spread, size and spread, speed and spread, age
    for (const Burst &burst : {Burst{1, {40, 12}, 0, {1, 0}, 0, 4, 0, 0, 0, 3},
                               Burst{1, {40, 12}, 0, {1, 0}, 0, 4, 0, 0, 0, 1},
                               Burst{1, {79, 5}, 0, {1, 0}, 0, 4, 0, 2, 0, 100}})
        ASSERT_EQ(burst.add(), 0);
    step();
    ASSERT_EQ(particles().size(), 1u) << "age 1 and the one leaving go at the first step";
    EXPECT_EQ(particles()[0]->getAge(), 2);
    step();
    EXPECT_EQ(particles().size(), 1u);
    step();
    EXPECT_TRUE(particles().empty());
}

TEST(Particles, FireworksFallAndLeaveAStillTrailUntilTheirLastStep) {
    World world;
    auto *p_firework = new vk::Firework(4, 20, 200, 10, 20, 30);
    p_firework->setPosition(Vector(40, 5));
    EXPECT_EQ(p_firework->getId(), 0);
    step();
    std::vector<Particle *> trail = particles();
    ASSERT_EQ(trail.size(), 1u);
    EXPECT_EQ(trail[0]->getShape().toString(), "circle, size 2.000000, Unknown color, 255");
    EXPECT_EQ(trail[0]->getAge(), 5);
    EXPECT_EQ(trail[0]->getShape().getB(), 30);
    EXPECT_EQ(trail[0]->getId(), 0);

    step();
    const Vector before = p_firework->getPosition();
    EXPECT_GT(before.getY(), 5.0f) << "it falls";
    step();
    trail = particles();
    ASSERT_EQ(trail.size(), 3u);
    EXPECT_EQ(trail[2]->getPosition(), before) << "where the firework was when the step began";
    EXPECT_EQ(trail[2]->getVelocity(), Vector(0, 0));
    // its 20th step ends it and still leaves a trail: those of steps 16 to 20
    step(17);
    EXPECT_TRUE(particles("Firework").empty());
    EXPECT_EQ(particles().size(), 5u);
}

TEST(Particles, EffectsFollowTheirTables) {
    struct Range {
        float lo, hi;
    };
    struct Case {
        vk::ParticleEffect effect;
        float scale;
        vk::Color color;
        std::size_t count;
        const char *type;
        Range ranges[6]; // size, speed, age, r, g, b
        bool rises;      // otherwise random directions
    };
    const Case cases[] = {
        {vk::SMOKE, 1, vk::CUSTOM, 20, "Particle",
         {{3.258f, 3.408f}, {.175f, .225f}, {18, 22}, {103, 152}, {103, 152}, {103, 152}}, true},
        {vk::SPARKS, 2, vk::YELLOW, 100, "Particle", {{3, 3}, {.06f, .18f}, {15, 44}, {255, 255}, {255, 255}, {0, 0}},
         false},
        {vk::RING, 1, static_cast<vk::Color>(42), 50, "Particle",
         {{2.5f, 2.5f}, {.1f, .1f}, {10, 10}, {255, 255}, {20, 20}, {147, 147}}, false},
        {vk::FIREWORKS, 1.5f, vk::CUSTOM, 6, "Firework", {{3, 3}, {.075f, .225f}, {15, 44}, {128, 255}, {0, 196}, {0, 0}},
         true},
        {static_cast<vk::ParticleEffect>(4), 1, vk::RED, 0, "Particle", {}, false},
    };
    using Value = float (*)(const Particle *);
    const Value values[6] = {[](const Particle *p) { return p->getShape().getSize(); },
                             [](const Particle *p) { return p->getSpeed(); },
                             [](const Particle *p) { return static_cast<float>(p->getAge()); },
                             [](const Particle *p) { return static_cast<float>(p->getShape().getR()); },
                             [](const Particle *p) { return static_cast<float>(p->getShape().getG()); },
                             [](const Particle *p) { return static_cast<float>(p->getShape().getB()); }};
    for (const Case &c : cases) {
        SCOPED_TRACE("effect " + std::to_string(c.effect));
        World world(worldtest::box(0, 0, 80, 24), "", 5);
        std::srand(3);
        ASSERT_EQ(vk::addParticleEffect(c.effect, Vector(30, 10), c.scale, c.color), 0);
        const std::vector<Particle *> made = particles(c.type);
        ASSERT_EQ(made.size(), c.count);
        EXPECT_EQ(vk::WorldManager::getInstance().getAllObjects(true).getCount(), static_cast<int>(c.count));
        EXPECT_EQ(world.env.logHas("colorToRGB(): Color 42 not supported."), c.effect == vk::RING);
        if (made.empty())
            continue;
        // every value within the table's range, spread over most of it
        for (int k = 0; k < 6; k++) {
            SCOPED_TRACE("value " + std::to_string(k));
            std::vector<float> seen;
            std::transform(made.begin(), made.end(), std::back_inserter(seen), values[k]);
            const auto [lo, hi] = std::minmax_element(seen.begin(), seen.end());
            EXPECT_GE(*lo, c.ranges[k].lo - 1e-4f);
            EXPECT_LE(*hi, c.ranges[k].hi + 1e-4f);
            EXPECT_GE(*hi - *lo, (c.ranges[k].hi - c.ranges[k].lo) * 0.5f);
        }
        std::size_t rising = 0;
        for (const Particle *p : made) {
            EXPECT_EQ(p->getPosition(), Vector(30, 10));
            rising += p->getVelocity().getY() < 0;
            if (c.effect == vk::SMOKE) { // one offset for every component
                EXPECT_EQ(p->getShape().getG(), p->getShape().getR());
                EXPECT_EQ(p->getShape().getB(), p->getShape().getR());
            }
        }
        EXPECT_EQ(rising == made.size(), c.rises);
        EXPECT_GT(rising, 0u);
    }
}
