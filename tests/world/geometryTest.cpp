#include "WorldSupport.h"

#include <vessik/world/geometry.h>

#include <gtest/gtest.h>

#include <limits>

using vk::Box;
using vk::Vector;
using worldtest::box;
using worldtest::Probe;
using worldtest::World;

TEST(Geometry, VectorsNormalizeToUnitLengthOrZeroAndNumbersPrintShort) {
    // components whose squares leave the float range still give unit length
    for (const Vector tiny_or_huge : {Vector(-2.5e-22f, 1e-30f), Vector(3e38f, -3e38f), Vector(0, 1e-40f)}) {
        Vector unit = tiny_or_huge;
        unit.normalize();
        EXPECT_NEAR(unit.getMagnitude(), 1, 1e-6) << tiny_or_huge.toString();
        EXPECT_EQ(unit.getX() < 0, tiny_or_huge.getX() < 0);
    }

    // a vector that is not finite has no direction: it stays as it is
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Vector odd : {Vector(), Vector(nan, 1), Vector(-1, nan), Vector(inf, 2), Vector(inf, -inf)}) {
        Vector same = odd;
        same.normalize();
        EXPECT_EQ(same.toString(), odd.toString());
    }

    // lengths a float holds, though their squares do not
    EXPECT_FLOAT_EQ(Vector(2e19f, 2e19f).getMagnitude(), 2.828427e19f);
    EXPECT_FLOAT_EQ(Vector(3e-30f, -4e-30f).getMagnitude(), 5e-30f);
    EXPECT_FLOAT_EQ(vk::distance(Vector(-1e38f, 0), Vector(1e38f, 1)), 2e38f);
    EXPECT_FLOAT_EQ(vk::distance(Vector(1e19f, 1e19f), Vector(-1e19f, -1e19f)), 2.828427e19f);
    EXPECT_EQ(Vector(100, -0.25f).toString(), "(100,-0.25)");
}

TEST(Geometry, ContainmentAndIntersectionIncludeTheEdges) {
    EXPECT_TRUE(vk::boxContainsPosition(box(1, 2, 3, 4), Vector(4, 6)));
    EXPECT_FALSE(vk::boxContainsPosition(box(1, 2, 3, 4), Vector(4.01f, 3)));
    EXPECT_FALSE(vk::boxContainsPosition(box(1, 2, 3, 4), Vector(2, 1.99f)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Box a, b;
        bool expected;
        const char *what;
    } cases[] = {
        {box(0, 0, 2, 2), box(2, 0, 2, 2), true, "shared edge"},
        {box(0, 0, 2, 2), box(2, 2, 1, 1), true, "shared corner"},
        {box(5, 5, 0, 0), box(5, 5, 0, 0), true, "two equal points"},
        {box(0, 0, 2, 2), box(2.01f, 0, 2, 2), false, "small gap in x"},
        {box(0, 0, 2, 2), box(0, 2.01f, 2, 2), false, "small gap in y"},
        {box(0, 0, 10, 10), box(3, 3, 1, 1), true, "one inside the other"},
        {box(0, 4, 10, 2), box(4, 0, 2, 10), true, "a cross: no corner inside the other"},
        {box(nan, 0, 1, 1), box(0, 0, 100, 100), false, "a box that is nowhere"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(vk::boxIntersectsBox(c.a, c.b), c.expected) << c.what;
        EXPECT_EQ(vk::boxIntersectsBox(c.b, c.a), c.expected) << c.what << " (swapped)";
    }
}

TEST(Geometry, NormalNamesTheSideTheMoverCameFrom) {
    World world(box(0, 0, 40, 40));
    const auto square = [](Vector position, Vector velocity) {
        auto *p = new Probe(position, vk::SPECTRAL);
        p->setBox(box(0, 0, 2, 2));
        p->setVelocity(velocity);
        return p;
    };
    // the obstacle covers (10,10) to (12,12)
    Probe *obstacle = square(Vector(10, 10), Vector());
    const struct {
        Vector start, velocity, normal;
        const char *what;
    } cases[] = {
        {Vector(10, 7), Vector(0, 2), Vector(0, -1), "from above"},
        {Vector(10, 13), Vector(0, -2), Vector(0, 1), "from below"},
        {Vector(7, 10), Vector(2, 0), Vector(-1, 0), "from the left"},
        {Vector(13, 10), Vector(-2, 0), Vector(1, 0), "from the right"},
        {Vector(7.5f, 7.5f), Vector(1, 1), Vector(-1, -1), "from above left, touching no side"},
        {Vector(12.5f, 7.5f), Vector(-1, 1), Vector(1, -1), "from above right, touching no side"},
        {Vector(7.5f, 12.5f), Vector(1, -1), Vector(-1, 1), "from below left, touching no side"},
        {Vector(12.5f, 12.5f), Vector(-1, -1), Vector(1, 1), "from below right, touching no side"},
        // (8,8) to (10,10) touches the box above and the box to the left: the
        // sides come before the corners, above before left
        {Vector(8, 8), Vector(1, 1), Vector(0, -1), "touching above and left"},
        {Vector(11, 12.5f), Vector(0, -1), Vector(0, 1), "overlapping in x from below"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(vk::getNormal(square(c.start, c.velocity), obstacle), c.normal) << c.what;
    }
    EXPECT_FALSE(world.env.logHas("getNormal(): No collision detected. Returning (0,0)."));

    EXPECT_EQ(vk::getNormal(square(Vector(30, 30), Vector(0.5f, 0)), obstacle), Vector(0, 0));
    EXPECT_TRUE(world.env.logHas("getNormal(): No collision detected. Returning (0,0)."));
    EXPECT_EQ(vk::getNormal(nullptr, obstacle), Vector(0, 0));
}
