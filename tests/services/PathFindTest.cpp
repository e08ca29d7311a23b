#include "PathSupport.h"

#include <vessik/services/PathFind.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using pathtest::cells;
using pathtest::Walker;
using pathtest::World;
using vk::PathFind;
using vk::Vector;

namespace {

PathFind::Cell cellAt(Vector v) { return {static_cast<int>(v.getX()), static_cast<int>(v.getY())}; }

struct Outcome {
    int result = vk::PATH_SEARCHING;
    int expansions = 0;
    std::vector<Vector> waypoints;
};

int finish(PathFind &search) {
    int result = vk::PATH_SEARCHING;
    for (int i = 0; result == vk::PATH_SEARCHING && i < 100000; i++)
        result = search.cycleOnce();
    return result;
}

// Runs a search on the world's map to its end, one cell per call.
Outcome runSearch(const World &world, const std::vector<std::string> &map) {
    PathFind search(new Walker(world.start), cellAt(world.start), cellAt(world.goal), nullptr,
                    static_cast<int>(map[0].size()), static_cast<int>(map.size()));
    Outcome out;
    while (out.result == vk::PATH_SEARCHING && out.expansions < 100000) {
        out.result = search.cycleOnce();
        out.expansions++;
    }
    EXPECT_EQ(search.getExpandedCount(), out.expansions);
    // every cell looked at shows as expanded, nothing else does, and a probe
    // beyond the grid is simply false
    int shown = 0;
    for (int y = -1; y <= static_cast<int>(map.size()); y++)
        for (int x = -1; x <= static_cast<int>(map[0].size()); x++)
            shown += search.isExpanded(x, y) ? 1 : 0;
    EXPECT_EQ(shown, out.expansions);
    EXPECT_TRUE(search.isExpanded(cellAt(world.start).x, cellAt(world.start).y));
    out.waypoints = search.getPath().getWaypoints();
    return out;
}

// The search written out as plainly as possible: open and closed are plain
// lists searched from end to end. Walls are the map's '#' cells, except one
// on the goal.
Outcome referenceSearch(const std::vector<std::string> &map, PathFind::Cell start, PathFind::Cell goal) {
    const int w = static_cast<int>(map[0].size());
    const int h = static_cast<int>(map.size());
    struct Node {
        float g = 0, f = 0;
        PathFind::Cell parent;
    };
    std::vector<Node> nodes(static_cast<std::size_t>(w * h));
    const auto at = [&](PathFind::Cell c) -> Node & { return nodes[static_cast<std::size_t>(c.y * w + c.x)]; };
    const auto wall = [&](int x, int y) {
        const bool inside = x >= 0 && y >= 0 && x < w && y < h;
        const char c = inside ? map[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] : '.';
        return (c == '#' || c == 'X') && !(x == goal.x && y == goal.y);
    };
    const auto contains = [](const std::vector<PathFind::Cell> &list, PathFind::Cell c) {
        return std::find(list.begin(), list.end(), c) != list.end();
    };
    std::vector<PathFind::Cell> open, closed;
    Outcome out;
    while (true) {
        PathFind::Cell cur = start;
        if (!open.empty()) {
            std::size_t best = open.size() - 1;
            for (std::size_t i = open.size(); i-- > 0;)
                if (at(open[i]).f < at(open[best]).f)
                    best = i;
            cur = open[best];
            open.erase(open.begin() + static_cast<long>(best));
        }
        closed.push_back(cur);
        out.expansions++;
        if (cur == goal) {
            out.result = vk::PATH_FOUND;
            break;
        }
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) {
                const PathFind::Cell n{cur.x + dx, cur.y + dy};
                if ((dx == 0 && dy == 0) || n.x < 0 || n.y < 0 || n.x >= w || n.y >= h || contains(closed, n) ||
                    wall(n.x, n.y) || (dx != 0 && dy != 0 && wall(cur.x + dx, cur.y) && wall(cur.x, cur.y + dy)))
                    continue;
                const float g = at(cur).g + static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
                if (contains(open, n) && g > at(n).g)
                    continue;
                if (!contains(open, n))
                    open.push_back(n);
                const double ex = n.x - goal.x, ey = n.y - goal.y;
                at(n) = Node{g, g + static_cast<float>(std::sqrt(ex * ex + ey * ey)), cur};
            }
        if (open.empty()) {
            out.result = vk::PATH_NOT_FOUND;
            return out;
        }
    }
    for (PathFind::Cell c = goal; c != start; c = at(c).parent)
        out.waypoints.insert(out.waypoints.begin(), Vector(static_cast<float>(c.x), static_cast<float>(c.y)));
    out.waypoints.insert(out.waypoints.begin(), Vector(static_cast<float>(start.x), static_cast<float>(start.y)));
    return out;
}

} // namespace

TEST(PathFind, SmallCasesFollowTheSearchRules) {
    struct Case {
        const char *what;
        std::vector<std::string> map;
        int result;
        int expansions;
        std::vector<Vector> path;
    };
    const std::vector<Case> cases = {
        {"goal on the start", {"...", ".@.", "..."}, vk::PATH_FOUND, 1, cells({{1, 1}})},
        // two routes of equal cost: the cell that joined the open list last is
        // looked at first, so the route below wins
        {"ties go to the latest", {"...", "S#G", "..."}, vk::PATH_FOUND, 3, cells({{0, 1}, {1, 2}, {2, 1}})},
        {"diagonal past one blocked corner", {"S#.", ".G.", "..."}, vk::PATH_FOUND, 2, cells({{0, 0}, {1, 1}})},
        {"no squeezing between two", {"S#.", "#G.", "..."}, vk::PATH_NOT_FOUND, 1, {}},
        // every cell but the nine of the walled-in goal is looked at
        {"goal walled in", {"S......", "..###..", "..#G#..", "..###..", "......."}, vk::PATH_NOT_FOUND, 26, {}},
        {"goal inside a wall", {"S.#", "..#", "..X"}, vk::PATH_FOUND, 3, cells({{0, 0}, {1, 1}, {2, 2}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        World world(c.map);
        const Outcome out = runSearch(world, c.map);
        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.expansions, c.expansions);
        EXPECT_EQ(out.waypoints, c.path);
    }
}

TEST(PathFind, RandomFieldsMatchThePlainSearchStepForStep) {
    constexpr int W = 30, H = 20;
    for (unsigned seed = 1; seed <= 12; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::srand(seed);
        std::vector<std::string> map(H, std::string(W, '.'));
        for (std::string &row : map)
            for (char &c : row)
                c = std::rand() % 100 < 27 ? '#' : '.';
        map[static_cast<std::size_t>(std::rand() % H)][static_cast<std::size_t>(std::rand() % W)] = 'S';
        // the goal may well be on a wall
        map[static_cast<std::size_t>(std::rand() % H)][static_cast<std::size_t>(std::rand() % W)] = 'G';
        World world(map);
        const Outcome expected = referenceSearch(map, cellAt(world.start), cellAt(world.goal));
        const Outcome out = runSearch(world, map);
        EXPECT_EQ(out.result, expected.result);
        EXPECT_EQ(out.expansions, expected.expansions);
        EXPECT_EQ(out.waypoints, expected.waypoints);
    }
}

TEST(PathFind, MazeIsSolvedByItsShortestWay) {
    const std::vector<std::string> maze = {
        "S....#...........#...", //
        "####.#.#########.#.#.", //
        "#....#.#.......#...#.", //
        "#.####.#.#####.#####.", //
        "#......#.#...#.......", //
        "########.#.#.#######.", //
        "#........#.#.......#.", //
        "#.########.#######.#.", //
        "#..........#G....#...", //
        "############.#####.##", //
        "...................#.", //
    };
    World world(maze);
    auto *p_walker = new Walker(world.start);
    ASSERT_EQ(World::pm().findPath(p_walker, world.goal), 0); // through the manager, as a game would
    for (int cycles = 0; cycles < 1000 && World::pm().getSearchCount() > 0; cycles++)
        World::pm().cycle(1000);
    ASSERT_EQ(p_walker->heard.size(), 1u);
    const vk::Path path = p_walker->heard[0].path;
    // 28 straight steps and 15 diagonal ones, from start to goal
    EXPECT_NEAR(pathtest::lengthOf(path), 28 + 15 * std::sqrt(2.0), 1e-4);
    EXPECT_EQ(path.getCurrent(), world.start);
    EXPECT_EQ(path.getWaypoints().back(), world.goal);
}

TEST(PathFind, OnlyHardObjectsBlock) {
    World world(vk::Box(Vector(0, 0), 10, 10));
    const PathFind search(new Walker(Vector(0, 0)), {0, 0}, {5, 5}, nullptr, 10, 10);
    World::wall(Vector(2, 2), vk::SOFT);
    World::wall(Vector(2, 2), vk::SPECTRAL);
    EXPECT_FALSE(search.isBlocked(2, 2));
    World::wall(Vector(2, 2));
    EXPECT_TRUE(search.isBlocked(2, 2));
}

TEST(PathFind, TargetEndsTheSearchAtFirstTouchEvenAfterItIsGone) {
    World world({"S.......", "........"});
    // HARD and three cells wide, over the goal: it blocks nothing
    vk::Object *p_target = World::wall(Vector(6, 0));
    p_target->setBox(vk::Box(Vector(-1.5f, -1.5f), 3, 3));
    PathFind search(new Walker(Vector(0, 0)), {0, 0}, {6, 0}, p_target, 8, 2);
    EXPECT_EQ(search.cycleOnce(), vk::PATH_SEARCHING);
    World::wm().markForDelete(p_target);
    World::wm().update();
    EXPECT_EQ(finish(search), vk::PATH_FOUND);
    EXPECT_EQ(search.getPath().getWaypoints(), cells({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
}

TEST(PathFind, SearchStaysWithinItsNodeGridWhateverTheWorldDoes) {
    // the boundary grows or shrinks during the search
    for (const auto &[width, result] : {std::pair{40.0f, vk::PATH_FOUND}, std::pair{6.0f, vk::PATH_NOT_FOUND}}) {
        World world(vk::Box(Vector(0, 0), 10, 5));
        PathFind search(new Walker(Vector(0, 0)), {0, 0}, {9, 4}, nullptr, 10, 5);
        World::wm().setBoundary(vk::Box(Vector(0, 0), width, 30));
        EXPECT_EQ(finish(search), result);
        const vk::Path path = search.getPath();
        for (const Vector &w : path.getWaypoints())
            EXPECT_TRUE(w.getX() < 10 && w.getY() < 5) << w.toString();
    }
    // no grid at all, or a start outside it
    World world(vk::Box(Vector(0, 0), 10, 5));
    for (const auto &[start, width] : {std::pair{PathFind::Cell{0, 0}, 0}, std::pair{PathFind::Cell{10, 0}, 10}}) {
        PathFind search(new Walker(Vector(0, 0)), start, {3, 3}, nullptr, width, 5);
        EXPECT_EQ(search.cycleOnce(), vk::PATH_NOT_FOUND);
        EXPECT_TRUE(search.getPath().getWaypoints().empty());
    }
    EXPECT_EQ(world.env.logCount("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."), 2);
}
