#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <limits>

using vk::Box;
using vk::CellKey;
using vk::Object;
using vk::Vector;
using worldtest::box;
using worldtest::contents;
using worldtest::Probe;
using worldtest::World;

namespace {

using Keys = std::vector<CellKey>;
using Objects = std::vector<Object *>;

// An object whose world box is exactly `b`.
Probe *covering(Box b, vk::Solidness solidness = vk::HARD) {
    auto *p = new Probe(b.getCorner(), solidness);
    p->setBox(Box(Vector(0, 0), b.getHorizontal(), b.getVertical()));
    return p;
}

const vk::Grid &grid() { return World::graph().getGrid(); }

} // namespace

TEST(Grid, CellSizeComesFromTheConfigurationAndTheCellCountIsBounded) {
    const struct {
        const char *config;
        Box boundary;
        int cols, rows;
    } cases[] = {
        {"", box(0, 0, 80, 24), 4, 3},
        {"", box(0, 0, 81, 24.5f), 5, 4}, // a part-filled last cell counts
        {"grid_width:10,grid_height:4,", box(0, 0, 80, 24), 8, 6},
        {"grid_width:0,grid_height:-3,", box(0, 0, 80, 24), 4, 3},
        {"", box(0, 0, 0, 0), 0, 0},
        {"", box(0, 0, 1e9f, 1e9f), 1024, 1024},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.config) + " " + c.boundary.toString());
        World world(c.boundary, c.config);
        EXPECT_EQ(grid().getNumCols(), c.cols);
        EXPECT_EQ(grid().getNumRows(), c.rows);
    }
    World world(box(0, 0, 80, 24), "grid_width:0,grid_height:-3,");
    EXPECT_TRUE(world.env.logHas("Grid::startUp(): Warning! Cell size 0 x -3 not positive. Using 20 x 8."));
}

TEST(Grid, BoxesBelongToEveryCellTheyTouchAndToOutsideWhenTheyReachBeyond) {
    World world;
    Keys every{{}}; // the whole world and more: outside first, then every cell
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 4; c++)
            every.push_back({c, r});
    const struct {
        Box where;
        Keys keys;
    } cases[] = {
        {box(18, 2, 2, 1), {{0, 0}, {1, 0}}}, // right edge exactly at 20
        {box(20, 2, 2, 1), {{1, 0}}},
        {box(30, 7, 1, 1), {{1, 0}, {1, 1}}}, // bottom edge at 8
        {box(39.5f, 15.5f, 1, 1), {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
        {box(-1, 2, 2, 1), {{}, {0, 0}}},
        {box(79.5f, 23.5f, 1, 1), {{}, {3, 2}}},
        {box(100, 5, 2, 2), {{}}},
        {box(-5, -5, 100, 40), every},
        {box(-1e30f, -1e30f, 3e30f, 3e30f), every},
    };
    std::set<Object *> all;
    std::vector<Probe *> made;
    for (const auto &c : cases) {
        made.push_back(covering(c.where));
        all.insert(made.back());
        EXPECT_EQ(grid().cellsOf(made.back(), made.back()->getPosition()).keys(), c.keys) << c.where.toString();
    }
    EXPECT_EQ(worldtest::checkIndexes(all, {}), "");

    // any coordinate at all gives a safe cell set (for the first, small box)
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Vector &where : {Vector(nan, 5), Vector(5, nan), Vector(inf, 5), Vector(-inf, -inf),
                                Vector(1e30f, 1e30f), Vector(-1e30f, 5), Vector(3e9f, 12)})
        EXPECT_EQ(grid().cellsOf(made.front(), where).keys(), Keys{{}}) << where.toString();
}

TEST(Grid, OutsideObjectsCollideOnlyWhenTheirBoxesMeet) {
    World world;
    auto *far_left = covering(box(-50, 5, 2, 2));
    auto *far_right = covering(box(200, 5, 2, 2));
    auto *near_right = covering(box(201, 6, 2, 2));
    auto *remote = new Probe(Vector(1e9f, 1e9f));
    auto *next_to_it = new Probe(Vector(1e9f + 256, 1e9f));
    EXPECT_EQ(grid().getCell(CellKey{}).getCount(), 5);
    EXPECT_TRUE(World::wm().getCollisions(far_left, far_left->getPosition()).isEmpty());
    EXPECT_EQ(contents(World::wm().getCollisions(far_right, far_right->getPosition())), Objects{near_right});
    EXPECT_EQ(contents(World::wm().getCollisions(next_to_it, Vector(1e9f, 1e9f))), Objects{remote});
}

TEST(Grid, MovingWithinACellKeepsTheListsAndAcrossABorderRewritesThem) {
    World world;
    auto *a = covering(box(2, 2, 1, 1));
    auto *b = covering(box(5, 2, 1, 1));
    auto *c = covering(box(22, 2, 1, 1));
    const auto cellAfter = [&](float x, CellKey key) {
        World::wm().moveObject(a, Vector(x, 3));
        return contents(grid().getCell(key));
    };
    EXPECT_EQ(cellAfter(8, CellKey{0, 0}), (Objects{a, b}));
    // across the border: appended after what the entered cell held
    EXPECT_EQ(cellAfter(19.5f, CellKey{1, 0}), (Objects{c, a}));
    EXPECT_EQ(cellAfter(30, CellKey{0, 0}), Objects{b});
    EXPECT_EQ(cellAfter(-0.5f, CellKey{0, 0}), (Objects{b, a}));
    EXPECT_EQ(worldtest::checkIndexes({a, b, c}, {}), "");
}

TEST(Grid, CollisionsComeInCellOrderWithoutRepeatsAndNeverTheMoverItself) {
    World world;
    auto *spanning = covering(box(18, 6, 4, 4)); // cells (0,0) (1,0) (0,1) (1,1)
    auto *lower = covering(box(12, 12, 1, 1));   // cell (0,1)
    auto *upper = covering(box(23, 4, 1, 1));    // cell (1,0)
    auto *edge = covering(box(-1, 9, 2, 2));     // outside and (0,1)
    covering(box(60, 20, 1, 1));                 // cell (3,2), not queried
    covering(box(15, 9, 2, 2), vk::SPECTRAL);    // never in the grid
    covering(box(15, 9, 2, 2))->setActive(false);
    // a big mover, itself in the cells it asks about
    auto *mover = covering(box(0, 0, 30, 12));
    EXPECT_EQ(contents(World::wm().getCollisions(mover, Vector(-1, 3))), (Objects{edge, spanning, upper, lower}));
    EXPECT_EQ(contents(World::wm().getCollisions(spanning, spanning->getPosition())), Objects{mover});
}
