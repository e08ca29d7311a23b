#include "EventCollision.h"
#include "EventPath.h"
#include "PathSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using pathtest::cells;
using pathtest::World;
using vk::Path;
using vk::Vector;

TEST(Path, IndexStopsAtTheEnd) {
    Path empty;
    EXPECT_TRUE(empty.atEnd());
    EXPECT_EQ(empty.getCurrent(), Vector(0, 0));
    EXPECT_EQ(empty.toString(), "");

    Path path(cells({{1, 2}, {3, 4}}));
    EXPECT_EQ(path.toString(), "(1,2)|(3,4)|");
    EXPECT_EQ(path.getCurrent(), Vector(1, 2));
    const Path after = path.next();
    EXPECT_EQ(after.getIndex(), 1);
    EXPECT_EQ(path.getCurrent(), Vector(3, 4));
    path.next();
    path.next();
    EXPECT_EQ(path.getIndex(), 2);
    EXPECT_TRUE(path.atEnd());
    EXPECT_EQ(path.getCurrent(), Vector(0, 0));
}

TEST(Path, ObjectTakesAPathOnlyFromAPathEventThatFoundOne) {
    World world(vk::Box(Vector(0, 0), 20, 20));
    auto *p_o = new vk::Object();
    p_o->setModified(0);

    // an event of another class under the path name is refused
    vk::EventCollision impostor;
    impostor.setType(vk::PATH_EVENT);
    EXPECT_EQ(p_o->eventHandler(&impostor), 0);
    EXPECT_TRUE(world.env.logHas("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));

    vk::EventPath none;
    none.setPath(Path(cells({{5, 1}})));
    EXPECT_EQ(p_o->eventHandler(&none), 1);
    EXPECT_TRUE(p_o->getPath().atEnd());
    EXPECT_EQ(p_o->getModified(), 0u);

    vk::EventPath found;
    found.setResult(vk::PATH_FOUND);
    found.setPath(Path(cells({{5, 1}, {5, 5}})));
    EXPECT_EQ(p_o->eventHandler(&found), 1);
    EXPECT_EQ(p_o->getPath(), found.getPath());
    EXPECT_TRUE(p_o->getFollowPath());
    EXPECT_EQ(p_o->getDirection(), Vector(1, 0));
    EXPECT_EQ(p_o->getModified(), vk::attr::PATH | vk::attr::FOLLOW_PATH | vk::attr::DIRECTION);

    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(p_o->setPath(Path({Vector(1, 1), Vector(inf, 0)})), -1);
    EXPECT_EQ(p_o->getPath(), found.getPath());
}

TEST(Path, FollowerPassesNearWaypointsAtOnceAndStopsAfterTheLast) {
    World world(vk::Box(Vector(0, 0), 20, 20));
    auto *p_o = new pathtest::Walker(Vector(1, 1));
    p_o->setSpeed(2);
    p_o->setPath(Path(cells({{2, 1}, {5, 1}, {5, 5}})));
    p_o->setFollowPath(true);
    EXPECT_EQ(p_o->getDirection(), Vector(1, 0));

    std::vector<Vector> positions;
    for (int step = 0; step < 10 && p_o->getFollowPath(); step++) {
        World::wm().update();
        positions.push_back(p_o->getPosition());
    }
    // a move that ends within 0.75 x speed of the waypoint ends on it: the
    // first overshoots (2,1) to (3,1) and is put back, the second stops short
    // at (4,1) and is put on (5,1), then heads down
    const std::vector<Vector> expected = cells({{2, 1}, {5, 1}, {5, 3}, {5, 5}});
    EXPECT_EQ(positions, expected);
    EXPECT_FALSE(p_o->getFollowPath());
    EXPECT_EQ(p_o->getDirection(), Vector(0, 0));
    EXPECT_EQ(p_o->getPath().getIndex(), 3);
    World::wm().update();
    EXPECT_EQ(p_o->getPosition(), Vector(5, 5));
}
