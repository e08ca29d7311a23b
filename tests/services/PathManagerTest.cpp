#include "PathSupport.h"

#include <vessik/services/PathFind.h>
#include <vessik/world/geometry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using pathtest::Walker;
using pathtest::World;
using vk::PathManager;
using vk::Vector;

TEST(PathManager, FindPathRefusesWhatCannotBeSearched) {
    const vk::Box world(Vector(0, 0), 20, 10);
    const vk::Box away(Vector(100, 100), 50, 50);
    const struct {
        vk::Box boundary;
        Vector from, goal;
        const char *message;
    } cases[] = {
        {world, {1, 1}, {3, 3}, "PathManager::findPath(): Error! Object is NULL"},
        {world, {20, 1}, {3, 3}, "PathManager::findPath(): Error! Object 1 at (20,1) is outside the world."},
        {world, {1, 1}, {std::nanf(""), 3}, "PathManager::findPath(): Error! Goal (nan,3) is outside the world."},
        {away, {10, 10}, {120, 120}, "PathManager::findPath(): Error! Object 1 at (10,10) is outside the world."},
        {away, {120, 120}, {149, 150}, "PathManager::findPath(): Error! Goal (149,150) is outside the world."},
        {vk::Box(Vector(0, 0), 5000, 5000), {1, 1}, {3, 3},
         "PathManager::findPath(): Error! World boundary (0,0) h: 5000 v: 5000 cannot be searched."},
    };
    for (const auto &c : cases) {
        World w(c.boundary);
        auto *p_walker = new Walker(c.from);
        p_walker->setId(1);
        const bool null_object = c.message == cases[0].message;
        EXPECT_EQ(World::pm().findPath(null_object ? nullptr : p_walker, c.goal), -1);
        EXPECT_TRUE(w.env.logHas(c.message)) << c.message;
        EXPECT_EQ(World::pm().getSearchCount(), 0);
    }
}

// A wall across a boundary far from the origin, with a gap at the bottom: the
// way found stays inside the boundary and goes round the wall.
TEST(PathManager, SearchesTheBoundaryWhereverItLies) {
    const vk::Box boundary(Vector(100, 100), 50, 50);
    World world(boundary);
    for (int y = 100; y < 141; y++)
        World::wall(Vector(130, static_cast<float>(y)));
    auto *p_walker = new Walker(Vector(120.5f, 120));
    ASSERT_EQ(World::pm().findPath(p_walker, Vector(140, 120)), 0);
    World::pm().cycle(10000);
    ASSERT_EQ(p_walker->heard.size(), 1u);
    ASSERT_EQ(p_walker->heard[0].result, vk::PATH_FOUND);
    const std::vector<Vector> way = p_walker->heard[0].path.getWaypoints();
    EXPECT_EQ(way.front(), Vector(120, 120));
    EXPECT_EQ(way.back(), Vector(140, 120));
    float lowest = 0;
    for (std::size_t i = 0; i < way.size(); i++) {
        EXPECT_TRUE(vk::boxContainsPosition(boundary, way[i])) << way[i].toString();
        EXPECT_TRUE(World::wm().getCollisions(p_walker, way[i]).isEmpty()) << way[i].toString();
        if (i > 0) {
            EXPECT_LE(vk::distance(way[i - 1], way[i]), 1.5f);
        }
        lowest = std::max(lowest, way[i].getY());
    }
    EXPECT_GT(lowest, 140);
}

TEST(PathManager, EverySearchEndsOnceWithItsResultAndIsDropped) {
    World world({"S.#.", "..#G", "..#."});
    auto *p_finds = new Walker(world.start);
    auto *p_fails = new Walker(world.start);
    auto *p_twice = new Walker(world.start);
    auto *p_doomed = new Walker(world.start);
    // a handler that keeps its search hears the result once all the same
    auto *p_keeps = new Walker(world.start);
    p_keeps->pass_on = false;
    for (Walker *p_w : {p_finds, p_twice, p_doomed, p_keeps})
        ASSERT_EQ(World::pm().findPath(p_w, Vector(1.9f, 2.9f)), 0);
    ASSERT_EQ(World::pm().findPath(p_fails, Vector(3, 0)), 0);
    // a second search replaces the first; a deleted object takes its along
    ASSERT_EQ(World::pm().findPath(p_twice, Vector(0, 2)), 0);
    World::wm().markForDelete(p_doomed);
    World::wm().update();
    EXPECT_EQ(World::pm().getSearchCount(), 4);
    vk::PathFind *p_search = p_fails->getPathFind();
    for (int i = 0; i < 3; i++)
        World::pm().cycle(100);

    for (Walker *p_w : {p_finds, p_fails, p_twice, p_keeps})
        ASSERT_EQ(p_w->heard.size(), 1u);
    EXPECT_EQ(p_finds->heard[0].result, vk::PATH_FOUND);
    EXPECT_EQ(p_finds->getPath().getWaypoints().back(), Vector(1, 2));
    EXPECT_EQ(p_finds->getPathFind(), nullptr);
    EXPECT_EQ(p_fails->heard[0].result, vk::PATH_NOT_FOUND);
    EXPECT_FALSE(p_fails->getFollowPath());
    EXPECT_EQ(p_twice->heard[0].path.getWaypoints().back(), Vector(0, 2));
    EXPECT_NE(p_keeps->getPathFind(), nullptr);
    EXPECT_EQ(World::pm().getSearchCount(), 0);
    EXPECT_EQ(World::pm().remove(p_search), -1); // gone from the list (and deleted) already
}

TEST(PathManager, SmallBudgetSpreadsASearchOverManyCycles) {
    constexpr int N = 200;
    World world(vk::Box(Vector(0, 0), N, N));
    const Vector goal(150, 150);
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++)
            if (dx != 0 || dy != 0)
                World::wall(goal + Vector(static_cast<float>(dx), static_cast<float>(dy)));
    auto *p_walker = new Walker(Vector(0, 0));
    ASSERT_EQ(World::pm().findPath(p_walker, goal), 0);
    vk::PathFind *p_search = p_walker->getPathFind();

    // every reachable cell is looked at before the search gives up, about a
    // millisecond's worth in each cycle (none when the cycle itself was late)
    int cycles_with_progress = 0;
    int expanded = 0;
    while (World::pm().getSearchCount() > 0) {
        EXPECT_TRUE(p_walker->heard.empty());
        World::pm().cycle(1);
        if (World::pm().getSearchCount() > 0 && p_search->getExpandedCount() > expanded) {
            cycles_with_progress++;
            expanded = p_search->getExpandedCount();
        }
    }
    EXPECT_GE(cycles_with_progress, 3);
    ASSERT_EQ(p_walker->heard.size(), 1u);
    EXPECT_EQ(p_walker->heard[0].result, vk::PATH_NOT_FOUND);
}

namespace {

// Walks to its goal in the game loop and ends the game once it stops.
struct Traveller : Walker {
    int steps = 0;
    explicit Traveller(Vector where) : Walker(where) { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return Walker::eventHandler(p_event);
        if ((!heard.empty() && !getFollowPath()) || ++steps > 500)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
};

} // namespace

TEST(PathManager, ObjectWalksItsPathInTheGameLoopAndStopsAtTheEnd) {
    vktest::TestEnv env("headless:true,frame_time:2,window_horizontal_chars:12,window_vertical_chars:6");
    ASSERT_EQ(vk::GameManager::getInstance().startUp(), 0);
    // a wall across the middle with a gap at the bottom
    for (int y = 0; y < 5; y++)
        pathtest::World::wall(Vector(6, static_cast<float>(y)));
    auto *p_walker = new Traveller(Vector(1, 1));
    p_walker->setSpeed(0.5f);
    ASSERT_EQ(PathManager::getInstance().findPath(p_walker, Vector(10, 1)), 0);
    vk::GameManager::getInstance().run();

    ASSERT_EQ(p_walker->heard.size(), 1u);
    const vk::Path path = p_walker->heard[0].path;
    EXPECT_EQ(p_walker->getPosition(), Vector(10, 1));
    EXPECT_EQ(p_walker->getDirection(), Vector(0, 0));
    // down to the gap and up again, at half a cell a step
    EXPECT_NEAR(pathtest::lengthOf(path), 1 + 8 * std::sqrt(2.0), 1e-4);
    EXPECT_GT(p_walker->steps, 20);
    vk::GameManager::getInstance().shutDown();
}
