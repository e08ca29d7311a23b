#include "Grid.h"
#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using vk::Box;
using vk::CellKey;
using vk::Object;
using vk::Vector;
using worldtest::contents;
using worldtest::Probe;
using worldtest::World;

namespace {

Box box(float x, float y, float h, float v) { return Box(Vector(x, y), h, v); }

// An object whose world box is exactly `b`.
Probe *covering(Box b, vk::Solidness solidness = vk::HARD) {
    auto *p = new Probe(b.getCorner(), solidness);
    p->setBox(Box(Vector(0, 0), b.getHorizontal(), b.getVertical()));
    return p;
}

std::vector<CellKey> keysOf(const Object *p_o) {
    return World::graph().getGrid().cellsOf(p_o, p_o->getPosition()).keys();
}

std::vector<CellKey> keys(std::initializer_list<CellKey> list) { return list; }

const vk::Grid &grid() { return World::graph().getGrid(); }

} // namespace

TEST(Grid, DefaultCellsCutAWindowIntoFourByThree) {
    World world(box(0, 0, 80, 24), "", 5);
    EXPECT_EQ(grid().getNumCols(), 4);
    EXPECT_EQ(grid().getNumRows(), 3);
    EXPECT_TRUE(world.env.logHas("Grid::startUp(): m_num_cols 4, m_num_rows 3"));
    // a part-filled last cell still counts
    World::wm().setBoundary(box(0, 0, 81, 24.5f));
    EXPECT_EQ(grid().getNumCols(), 5);
    EXPECT_EQ(grid().getNumRows(), 4);
}

TEST(Grid, BoxesOnBordersBelongToTheCellsOnBothSides) {
    World world;
    EXPECT_EQ(keysOf(covering(box(19, 2, 2, 1))), keys({{0, 0}, {1, 0}}));
    EXPECT_EQ(keysOf(covering(box(18, 2, 2, 1))), keys({{0, 0}, {1, 0}}));   // right edge exactly at 20
    EXPECT_EQ(keysOf(covering(box(20, 2, 2, 1))), keys({{1, 0}}));           // left edge at 20
    EXPECT_EQ(keysOf(covering(box(30, 7, 1, 1))), keys({{1, 0}, {1, 1}}));   // bottom edge at 8
    EXPECT_EQ(keysOf(covering(box(39.5f, 15.5f, 1, 1))), keys({{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
}

TEST(Grid, BoxesReachingBeyondTheGridAreAlsoOutside) {
    World world;
    EXPECT_EQ(keysOf(covering(box(-1, 2, 2, 1))), keys({{}, {0, 0}}));
    EXPECT_EQ(keysOf(covering(box(79.5f, 23.5f, 1, 1))), keys({{}, {3, 2}}));
    EXPECT_EQ(keysOf(covering(box(100, 5, 2, 2))), keys({{}}));
    EXPECT_EQ(keysOf(covering(box(5, -40, 2, 2))), keys({{}}));
    // covering the whole world and more: every cell, outside first
    const std::vector<CellKey> all = keysOf(covering(box(-5, -5, 100, 40)));
    ASSERT_EQ(all.size(), 13u);
    EXPECT_TRUE(all.front().isOutside());
    EXPECT_EQ(all[1], (CellKey{0, 0}));
    EXPECT_EQ(all[4], (CellKey{3, 0}));
    EXPECT_EQ(all[5], (CellKey{0, 1}));
}

TEST(Grid, AnyCoordinateGivesASafeCellSet) {
    World world;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto *o = new Probe();
    struct Case {
        Vector where;
        std::vector<CellKey> expected;
    };
    const Case cases[] = {
        {Vector(nan, 5), keys({{}})},          {Vector(5, nan), keys({{}})},
        {Vector(inf, 5), keys({{}})},          {Vector(-inf, -inf), keys({{}})},
        {Vector(1e30f, 1e30f), keys({{}})},    {Vector(-1e30f, 5), keys({{}})},
        {Vector(3e9f, 12), keys({{}})},        {Vector(10, 4), keys({{0, 0}})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(grid().cellsOf(o, c.where).keys(), c.expected) << c.where.toString();
    // a finite box of astronomic size covers every cell once
    o->setBox(box(-1e30f, -1e30f, 3e30f, 3e30f));
    EXPECT_EQ(keysOf(o).size(), 13u);
    EXPECT_EQ(worldtest::checkIndexes({o}, {"(Undefined)"}), "");
}

TEST(Grid, OutsideObjectsCollideOnlyWhenTheirBoxesMeet) {
    World world;
    auto *far_left = covering(box(-50, 5, 2, 2));
    auto *far_right = covering(box(200, 5, 2, 2));
    auto *near_right = covering(box(201, 6, 2, 2));
    EXPECT_EQ(grid().getCell(CellKey{}).getCount(), 3);
    EXPECT_TRUE(World::wm().getCollisions(far_left, far_left->getPosition()).isEmpty());
    EXPECT_EQ(contents(World::wm().getCollisions(far_right, far_right->getPosition())),
              std::vector<Object *>{near_right});
}

TEST(Grid, MovingWithinACellKeepsTheListsAndAcrossABorderRewritesThem) {
    World world;
    auto *a = covering(box(2, 2, 1, 1));
    auto *b = covering(box(5, 2, 1, 1));
    auto *c = covering(box(22, 2, 1, 1));
    World::wm().moveObject(a, Vector(8, 3));
    EXPECT_EQ(contents(grid().getCell(CellKey{0, 0})), (std::vector<Object *>{a, b}));

    // across the border: appended after what the entered cell held
    World::wm().moveObject(a, Vector(19.5f, 3));
    EXPECT_EQ(contents(grid().getCell(CellKey{0, 0})), (std::vector<Object *>{a, b}));
    EXPECT_EQ(contents(grid().getCell(CellKey{1, 0})), (std::vector<Object *>{c, a}));
    World::wm().moveObject(a, Vector(30, 3));
    EXPECT_EQ(contents(grid().getCell(CellKey{0, 0})), std::vector<Object *>{b});
    EXPECT_EQ(contents(grid().getCell(CellKey{1, 0})), (std::vector<Object *>{c, a}));
    World::wm().moveObject(a, Vector(-0.5f, 3));
    EXPECT_EQ(contents(grid().getCell(CellKey{0, 0})), (std::vector<Object *>{b, a}));
    EXPECT_EQ(contents(grid().getCell(CellKey{})), std::vector<Object *>{a});
    EXPECT_EQ(worldtest::checkIndexes({a, b, c}, {"(Undefined)"}), "");
}

TEST(Grid, CollisionsComeInCellOrderWithoutRepeatsAndNeverTheMoverItself) {
    World world;
    auto *spanning = covering(box(18, 6, 4, 4)); // cells (0,0) (1,0) (0,1) (1,1)
    auto *lower = covering(box(12, 12, 1, 1));   // cell (0,1)
    auto *upper = covering(box(23, 4, 1, 1));    // cell (1,0)
    auto *edge = covering(box(-1, 9, 2, 2));     // outside and (0,1)
    covering(box(60, 20, 1, 1));                 // cell (3,2), not queried
    covering(box(15, 9, 2, 2), vk::SPECTRAL);    // never in the grid
    covering(box(15, 9, 2, 2))->setActive(false); // neither

    // a big mover, itself in the cells it asks about
    auto *mover = covering(box(0, 0, 30, 12));
    EXPECT_EQ(contents(World::wm().getCollisions(mover, Vector(-1, 3))),
              (std::vector<Object *>{edge, spanning, upper, lower}));
    EXPECT_EQ(contents(World::wm().getCollisions(spanning, spanning->getPosition())),
              (std::vector<Object *>{mover}));
}

TEST(Grid, SecondStartUpIsRefusedUntilShutDown) {
    World world;
    vk::Grid extra;
    ASSERT_EQ(extra.startUp(), 0);
    EXPECT_EQ(extra.startUp(), -1);
    EXPECT_TRUE(world.env.logHas("Grid::startUp(): Warning! Grid allocated. Not proceeding."));
    extra.shutDown();
    EXPECT_EQ(extra.startUp(), 0);
    extra.shutDown();
}

TEST(Grid, EmptyBoundaryPutsEverythingOutside) {
    World world(box(0, 0, 0, 0));
    EXPECT_EQ(grid().getNumCols(), 0);
    EXPECT_EQ(grid().getNumRows(), 0);
    auto *a = covering(box(3, 3, 2, 2));
    auto *b = covering(box(4, 4, 2, 2));
    EXPECT_EQ(contents(grid().getCell(CellKey{})), (std::vector<Object *>{a, b}));
    EXPECT_EQ(contents(World::wm().getCollisions(a, a->getPosition())), std::vector<Object *>{b});
}

TEST(Grid, WithoutCellsOrObjectEveryOperationRefuses) {
    World world;
    auto *o = new Probe();
    vk::Grid idle;
    for (Object *p : {static_cast<Object *>(o), static_cast<Object *>(nullptr)}) {
        EXPECT_EQ(idle.insertObject(p), -1);
        EXPECT_EQ(idle.removeObject(p), -1);
        EXPECT_EQ(idle.updatePosition(p, Vector(3, 3)), -1);
        EXPECT_TRUE(idle.getCollisions(p, Vector(1, 1)).isEmpty());
        // with cells, only the null object is refused
        if (p == o) {
            EXPECT_TRUE(world.env.logHas("Grid::updatePosition(): Error! grid is NULL"));
            ASSERT_EQ(idle.startUp(), 0);
        }
    }
    EXPECT_TRUE(world.env.logHas("Grid::getCollisions(): Error! Object is NULL"));
    EXPECT_EQ(idle.insertObject(o), 0);
    idle.shutDown();
}

TEST(Grid, CellSizeComesFromTheConfiguration) {
    World world(box(0, 0, 80, 24), "grid_width:10,grid_height:4,");
    EXPECT_EQ(grid().getNumCols(), 8);
    EXPECT_EQ(grid().getNumRows(), 6);
    EXPECT_EQ(keysOf(covering(box(9, 3, 2, 2))), keys({{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
}

TEST(Grid, CellSizeThatIsNotPositiveFallsBackToTheDefault) {
    World world(box(0, 0, 80, 24), "grid_width:0,grid_height:-3,");
    EXPECT_TRUE(world.env.logHas("Grid::startUp(): Warning! Cell size 0 x -3 not positive. Using 20 x 8."));
    EXPECT_EQ(grid().getCellWidth(), 20);
    EXPECT_EQ(grid().getNumCols(), 4);
}

TEST(Grid, HugeWorldGetsAFiniteGridAndStillFindsEveryCollision) {
    World world(box(0, 0, 1e9f, 1e9f));
    const long long cells = static_cast<long long>(grid().getNumCols()) * grid().getNumRows();
    EXPECT_LE(cells, vk::Grid::MAX_CELLS);
    EXPECT_GT(cells, 0);
    EXPECT_FALSE(world.env.logMessages().empty());
    // far beyond the cells, in the part of the world that counts as outside
    auto *a = covering(box(5e8f, 5e8f, 2, 2));
    auto *b = covering(box(5e8f + 1, 5e8f, 2, 2));
    auto *c = covering(box(10, 10, 2, 2));
    EXPECT_EQ(contents(World::wm().getCollisions(a, a->getPosition())), std::vector<Object *>{b});
    EXPECT_TRUE(World::wm().getCollisions(c, c->getPosition()).isEmpty());
    EXPECT_EQ(worldtest::checkIndexes({a, b, c}, {"(Undefined)"}), "");
}
