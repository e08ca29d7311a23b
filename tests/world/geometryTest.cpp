#include "Box.h"
#include "Vector.h"
#include "WorldSupport.h"
#include "geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vk::Box;
using vk::Vector;
using worldtest::Probe;
using worldtest::World;

namespace {

Box box(float x, float y, float h, float v) { return Box(Vector(x, y), h, v); }

// An object whose box is its position's cell square of the given size.
Probe *square(Vector position, float size, Vector velocity = Vector()) {
    auto *p = new Probe(position);
    p->setBox(box(0, 0, size, size));
    p->setVelocity(velocity);
    return p;
}

} // namespace

TEST(Vector, LengthNormalizeAndArithmetic) {
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(v.getMagnitude(), 5);
    v.normalize();
    EXPECT_FLOAT_EQ(v.getX(), 0.6f);
    EXPECT_FLOAT_EQ(v.getY(), 0.8f);

    Vector zero;
    zero.normalize();
    EXPECT_TRUE(zero.isZero());
    EXPECT_FALSE(std::isnan(zero.getX()));

    Vector s(1.5f, -2);
    s.scale(2);
    EXPECT_EQ(s, Vector(3, -4));
    EXPECT_EQ(Vector(1, 2) + Vector(3, 5), Vector(4, 7));
    EXPECT_EQ(Vector(1, 2) - Vector(3, 5), Vector(-2, -3));
    Vector sum(1, 1);
    sum += Vector(0.5f, -1);
    EXPECT_EQ(sum, Vector(1.5f, 0));
    EXPECT_NE(Vector(0, 1), Vector(1, 0));
    EXPECT_FALSE(Vector(0, 0.001f).isZero());
}

TEST(Vector, TextFormsUseShortNumbers) {
    EXPECT_EQ(Vector(1.5f, 2).toString(), "(1.5,2)");
    EXPECT_EQ(Vector(100, -0.25f).toString(), "(100,-0.25)");
    EXPECT_EQ(box(1, 2, 3, 4).toString(), "(1,2) h: 3 v: 4");
    EXPECT_EQ(box(1, 2, 3, 4), box(1, 2, 3, 4));
    EXPECT_FALSE(box(1, 2, 3, 4) == box(1, 2, 3, 4.5f));
    EXPECT_FALSE(box(1, 2, 3, 4) == box(1, 2.5f, 3, 4));
}

TEST(Geometry, DistanceAndContainmentIncludeTheEdges) {
    EXPECT_FLOAT_EQ(vk::distance(Vector(1, 1), Vector(4, 5)), 5);
    EXPECT_FLOAT_EQ(vk::distance(Vector(-2, 0), Vector(-2, 0)), 0);

    const Box b = box(1, 2, 3, 4);
    EXPECT_TRUE(vk::boxContainsPosition(b, Vector(1, 2)));
    EXPECT_TRUE(vk::boxContainsPosition(b, Vector(4, 6)));
    EXPECT_TRUE(vk::boxContainsPosition(b, Vector(2.5f, 6)));
    EXPECT_FALSE(vk::boxContainsPosition(b, Vector(4.01f, 3)));
    EXPECT_FALSE(vk::boxContainsPosition(b, Vector(2, 1.99f)));
}

TEST(Geometry, BoxesThatTouchIntersectAndTheTestIsSymmetric) {
    struct Case {
        Box a, b;
        bool expected;
        const char *what;
    };
    const Case cases[] = {
        {box(0, 0, 2, 2), box(2, 0, 2, 2), true, "shared edge"},
        {box(0, 0, 2, 2), box(2, 2, 1, 1), true, "shared corner"},
        {box(0, 0, 2, 2), box(1, 2, 0, 0), true, "point on an edge"},
        {box(5, 5, 0, 0), box(5, 5, 0, 0), true, "two equal points"},
        {box(0, 0, 2, 2), box(2.01f, 0, 2, 2), false, "small gap in x"},
        {box(0, 0, 2, 2), box(0, 2.01f, 2, 2), false, "small gap in y"},
        {box(0, 0, 10, 10), box(3, 3, 1, 1), true, "one inside the other"},
        {box(0, 4, 10, 2), box(4, 0, 2, 10), true, "a cross: no corner inside the other"},
        {box(0, 0, 2, 2), box(5, 0, 2, 2), false, "side by side"},
        {box(-3, -3, 2, 2), box(-1, -1, 2, 2), true, "negative corner touching"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(vk::boxIntersectsBox(c.a, c.b), c.expected) << c.what;
        EXPECT_EQ(vk::boxIntersectsBox(c.b, c.a), c.expected) << c.what << " (swapped)";
    }
}

TEST(Geometry, NonFiniteBoxesIntersectNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(vk::boxIntersectsBox(box(nan, 0, 1, 1), box(0, 0, 100, 100)));
    EXPECT_FALSE(vk::boxIntersectsBox(box(0, 0, 100, 100), box(0, nan, 1, 1)));
    EXPECT_FALSE(vk::isFinite(Vector(std::numeric_limits<float>::infinity(), 0)));
    EXPECT_TRUE(vk::isFinite(Vector(1e30f, -1e30f)));
}

TEST(Geometry, WorldBoxesFollowThePositionOrTheGivenPlace) {
    World world;
    auto *p = new Probe(Vector(10, 5));
    EXPECT_EQ(vk::getWorldBox(p), box(9.5f, 4.5f, 0.99f, 0.99f));
    EXPECT_EQ(vk::getWorldBox(p, Vector(-2, 3)), box(-2.5f, 2.5f, 0.99f, 0.99f));
    p->setBox(box(-1, -2, 3, 4));
    EXPECT_EQ(vk::getWorldBox(p), box(9, 3, 3, 4));
    EXPECT_EQ(vk::getWorldBox(nullptr), Box());
}

TEST(Geometry, ViewConversionsRoundTripForAnyView) {
    World world(box(0, 0, 200, 100));
    for (const Vector corner : {Vector(0, 0), Vector(13.5f, 7), Vector(120, 76)}) {
        ASSERT_EQ(World::wm().setView(Box(corner, 80, 24)), 0);
        EXPECT_EQ(vk::worldToView(corner), Vector(0, 0));
        EXPECT_EQ(vk::viewToWorld(Vector(0, 0)), corner);
        for (const Vector p : {Vector(0, 0), Vector(3.25f, -8), Vector(79, 23)})
            EXPECT_EQ(vk::worldToView(vk::viewToWorld(p)), p) << corner.toString() << " " << p.toString();
    }
}

TEST(Geometry, NormalNamesTheSideTheMoverCameFrom) {
    World world(box(0, 0, 40, 40));
    // the obstacle covers (10,10) to (12,12)
    Probe *obstacle = square(Vector(10, 10), 2);
    struct Case {
        Vector start, velocity, normal;
        const char *what;
    };
    const Case cases[] = {
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
        // (11,12.5) to (13,14.5) moving up meets only the box below
        {Vector(11, 12.5f), Vector(0, -1), Vector(0, 1), "overlapping in x from below"},
    };
    for (const Case &c : cases) {
        Probe *mover = square(c.start, 2, c.velocity);
        EXPECT_EQ(vk::getNormal(mover, obstacle), c.normal) << c.what;
        World::wm().markForDelete(mover);
        World::wm().update();
    }
    EXPECT_FALSE(world.env.logHas("getNormal(): No collision detected. Returning (0,0)."));
}

TEST(Geometry, NormalOfAFarAwayMoverIsZeroAndSaysSo) {
    World world(box(0, 0, 40, 40));
    Probe *obstacle = square(Vector(10, 10), 2);
    Probe *far = square(Vector(30, 30), 2, Vector(0.5f, 0));
    EXPECT_EQ(vk::getNormal(far, obstacle), Vector(0, 0));
    EXPECT_TRUE(world.env.logHas("getNormal(): No collision detected. Returning (0,0)."));
    EXPECT_EQ(vk::getNormal(nullptr, obstacle), Vector(0, 0));
}
