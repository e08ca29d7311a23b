#include "PathSupport.h"

#include <vessik/services/EventPath.h>
#include <vessik/world/EventCollision.h>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using pathtest::cells;
using pathtest::World;
using vk::Path;
using vk::Vector;

TEST(Path, ObjectTakesOnlyAPathFoundAndFollowsItToItsEnd) {
    World world(vk::Box(Vector(0, 0), 20, 20));
    auto *p_o = new pathtest::Walker(Vector(1, 1));
    p_o->setModified(0);
    // an event of another class under the path name is refused
    vk::EventCollision impostor;
    impostor.setType(vk::PATH_EVENT);
    EXPECT_EQ(p_o->eventHandler(&impostor), 0);
    vk::EventPath event;
    event.setPath(Path(cells({{2, 1}, {5, 1}, {5, 5}})));
    EXPECT_EQ(p_o->eventHandler(&event), 1);
    EXPECT_TRUE(p_o->getPath().atEnd());
    EXPECT_EQ(p_o->getModified(), 0u);
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(p_o->setPath(Path({Vector(1, 1), Vector(inf, 0)})), -1);

    event.setResult(vk::PATH_FOUND);
    EXPECT_EQ(p_o->eventHandler(&event), 1);
    EXPECT_EQ(p_o->getPath(), event.getPath());
    EXPECT_EQ(p_o->getModified(), vk::attr::PATH | vk::attr::FOLLOW_PATH | vk::attr::DIRECTION);

    p_o->setSpeed(2);
    std::vector<Vector> positions;
    for (int step = 0; step < 10 && p_o->getFollowPath(); step++) {
        World::wm().update();
        positions.push_back(p_o->getPosition());
    }
    // a move that ends within 0.75 x speed of the waypoint ends on it: the
    // first overshoots (2,1) to (3,1) and is put back, the second stops short
    // at (4,1) and is put on (5,1), then heads down
    EXPECT_EQ(positions, cells({{2, 1}, {5, 1}, {5, 3}, {5, 5}}));
    EXPECT_EQ(p_o->getDirection(), Vector(0, 0));
    // the index stays at the end, where there is no current waypoint
    EXPECT_EQ(p_o->getPath().next().getCurrent(), Vector(0, 0));
}
