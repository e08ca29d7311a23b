#include "EventOut.h"
#include "GameManager.h"
#include "WorldSupport.h"
#include "geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

using vk::Box;
using vk::Object;
using vk::Vector;
using worldtest::contents;
using worldtest::Probe;
using worldtest::World;

namespace {

Box box(float x, float y, float h, float v) { return Box(Vector(x, y), h, v); }

// A mover heading for `target` in one step.
Probe *mover(Vector from, Vector to, vk::Solidness solidness = vk::HARD) {
    auto *p = new Probe(from, solidness);
    p->setVelocity(to - from);
    return p;
}

std::string pointerText(const void *p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

} // namespace

TEST(WorldManager, SecondStartIsRefusedAndStopDeletesEveryObject) {
    World world;
    EXPECT_EQ(World::wm().startUp(), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::startup(): Warning! WorldManager already started."));

    int deleted = 0;
    auto *a = new Probe();
    auto *b = new Probe(Vector(5, 5));
    b->setActive(false);
    a->p_deleted = b->p_deleted = &deleted;
    World::wm().markForDelete(a);
    World::wm().shutDown();
    EXPECT_EQ(deleted, 2);
    EXPECT_FALSE(World::wm().isStarted());

    // a fresh start is empty, and the deletion list forgot `a`
    ASSERT_EQ(World::wm().startUp(), 0);
    EXPECT_TRUE(World::wm().getAllObjects(true).isEmpty());
    World::wm().update();
}

TEST(WorldManager, QueriesReturnCopiesOfActiveAndInactiveObjects) {
    World world;
    auto *a = new Probe();
    auto *b = new Probe(Vector(3, 3));
    auto *c = new Probe(Vector(5, 5));
    b->setType("Buoy");
    c->setType("Buoy");
    b->setActive(false);
    EXPECT_EQ(contents(World::wm().getAllObjects()), (std::vector<Object *>{a, c}));
    EXPECT_EQ(contents(World::wm().getAllObjects(true)), (std::vector<Object *>{a, c, b}));
    EXPECT_EQ(contents(World::wm().objectsOfType("Buoy")), std::vector<Object *>{c});
    EXPECT_TRUE(World::wm().objectsOfType("Shark").isEmpty());

    // a copy does not change when the world does
    const vk::ObjectList before = World::wm().getAllObjects();
    World::wm().markForDelete(a);
    World::wm().update();
    EXPECT_EQ(before.getCount(), 2);
    EXPECT_EQ(contents(World::wm().getAllObjects()), std::vector<Object *>{c});
}

TEST(WorldManager, MarkedObjectsLiveUntilTheEndOfTheStepAndDieOnce) {
    World world;
    int deleted = 0;
    auto *doomed = new Probe(Vector(10, 10));
    doomed->p_deleted = &deleted;
    doomed->setVelocity(Vector(1, 0));
    EXPECT_EQ(World::wm().markForDelete(doomed), 0);
    EXPECT_EQ(World::wm().markForDelete(doomed), 0);

    // still moved and still met by others during the step it was marked in
    auto *other = mover(Vector(14, 10), Vector(11, 10));
    World::wm().update();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(other->count(vk::COLLISION_EVENT), 1);
    EXPECT_EQ(contents(World::wm().getAllObjects()), std::vector<Object *>{other});
    World::wm().update();
    EXPECT_EQ(deleted, 1);

    EXPECT_EQ(World::wm().markForDelete(nullptr), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::markForDelete(): Error! unable to add Object " +
                                 pointerText(nullptr) + " to deletions list"));
}

TEST(WorldManager, ObjectsMarkedWhileOthersAreDeletedGoAtTheNextStep) {
    World world;
    int deleted = 0;
    auto *second = new Probe(Vector(20, 20));
    struct Chain : Probe {
        Object *p_next = nullptr;
        ~Chain() override { vk::WorldManager::getInstance().markForDelete(p_next); }
    };
    auto *first = new Chain();
    first->p_next = second;
    first->p_deleted = second->p_deleted = &deleted;
    World::wm().markForDelete(first);
    World::wm().update();
    EXPECT_EQ(deleted, 1);
    World::wm().update();
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(World::wm().getAllObjects(true).isEmpty());
}

TEST(WorldManager, ObjectsCreatedDuringAStepMoveFromTheNextStep) {
    World world;
    Probe *child = nullptr;
    auto *parent = mover(Vector(79, 10), Vector(81, 10), vk::SPECTRAL);
    parent->on_event = [&](const vk::Event *p_event) {
        if (p_event->getType() == vk::OUT_EVENT) {
            child = new Probe(Vector(40, 10), vk::SPECTRAL);
            child->setVelocity(Vector(1, 0));
        }
    };
    World::wm().update();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->getPosition(), Vector(40, 10));
    World::wm().update();
    EXPECT_EQ(child->getPosition(), Vector(41, 10));
}

TEST(WorldManager, AccelerationChangesTheVelocityAfterTheMove) {
    World world;
    auto *o = new Probe(Vector(10, 10), vk::SPECTRAL);
    o->setAcceleration(Vector(1, 0));
    World::wm().update();
    EXPECT_EQ(o->getPosition(), Vector(10, 10));
    EXPECT_EQ(o->getVelocity(), Vector(1, 0));
    World::wm().update();
    EXPECT_EQ(o->getPosition(), Vector(11, 10));
    EXPECT_EQ(o->getVelocity(), Vector(2, 0));
}

TEST(WorldManager, BlockingFollowsSolidnessAndBothObjectsHearEveryAttempt) {
    World world;
    struct Case {
        vk::Solidness mover, obstacle;
        bool no_soft, moves;
        const char *what;
    };
    const Case cases[] = {
        {vk::HARD, vk::HARD, false, false, "hard stops hard"},
        {vk::SOFT, vk::HARD, false, true, "soft passes hard"},
        {vk::HARD, vk::SOFT, false, true, "hard passes soft"},
        {vk::SOFT, vk::SOFT, true, false, "no soft stops at soft"},
        {vk::HARD, vk::SOFT, true, false, "no soft stops hard at soft"},
        {vk::SPECTRAL, vk::HARD, false, true, "spectral passes without a word"},
        {vk::HARD, vk::SPECTRAL, false, true, "nothing meets a spectral obstacle"},
    };
    // one row of the world per case: a mover aimed at an obstacle two cells on
    std::vector<Probe *> movers, obstacles;
    float y = 1;
    for (const Case &c : cases) {
        obstacles.push_back(new Probe(Vector(12, y), c.obstacle));
        movers.push_back(mover(Vector(10, y), Vector(12, y), c.mover));
        movers.back()->setNoSoft(c.no_soft);
        y += 3;
    }
    World::wm().update();
    World::wm().update();
    for (std::size_t i = 0; i < movers.size(); i++) {
        const Case &c = cases[i];
        Probe *m = movers[i];
        Probe *o = obstacles[i];
        const bool meet = c.mover != vk::SPECTRAL && c.obstacle != vk::SPECTRAL;
        // a blocked mover tries again and is heard again; one that passed is gone
        const int attempts = !meet ? 0 : c.moves ? 1 : 2;
        EXPECT_EQ(m->getPosition().getX(), c.moves ? 14 : 10) << c.what;
        EXPECT_EQ(m->count(vk::COLLISION_EVENT), attempts) << c.what;
        EXPECT_EQ(o->count(vk::COLLISION_EVENT), attempts) << c.what;
        EXPECT_EQ(m->partners, std::vector<Object *>(static_cast<std::size_t>(attempts), o)) << c.what;
        EXPECT_EQ(o->partners, std::vector<Object *>(static_cast<std::size_t>(attempts), m)) << c.what;
        if (attempts > 0) {
            EXPECT_EQ(o->hit_positions[0], Vector(12, m->getPosition().getY())) << c.what;
        }
    }
}

TEST(WorldManager, ExactlyOneOutEventPerExit) {
    World world;
    // spectral: it collides with nothing but still leaves the world
    auto *o = new Probe(Vector(78, 10), vk::SPECTRAL);
    auto move = [&](float x) { return World::wm().moveObject(o, Vector(x, 10)); };
    EXPECT_EQ(move(80), 0); // the box still touches the boundary's edge
    EXPECT_EQ(o->count(vk::OUT_EVENT), 0);
    EXPECT_EQ(move(81), 0);
    EXPECT_EQ(o->count(vk::OUT_EVENT), 1);
    move(90);
    move(500);
    EXPECT_EQ(o->count(vk::OUT_EVENT), 1);
    move(40);
    move(-3);
    EXPECT_EQ(o->count(vk::OUT_EVENT), 2);
}

TEST(WorldManager, HandlerMovingTheMoverAbandonsTheMove) {
    World world;
    auto *trap = new Probe(Vector(12, 10), vk::SOFT);
    auto *o = mover(Vector(10, 10), Vector(12, 10), vk::SOFT);
    o->on_event = [&](const vk::Event *p_event) {
        if (p_event->getType() == vk::COLLISION_EVENT)
            o->setPosition(Vector(5, 5));
    };
    EXPECT_EQ(World::wm().moveObject(o, Vector(12, 10)), -1);
    EXPECT_EQ(o->getPosition(), Vector(5, 5));
    EXPECT_EQ(trap->count(vk::COLLISION_EVENT), 1);
    EXPECT_EQ(worldtest::checkIndexes({o, trap}, {"(Undefined)"}), "");
}

TEST(WorldManager, AvoidingObjectSlidesAlongAHardWall) {
    World world(box(0, 0, 80, 40));
    // a long wall from x 5 to 35 on row 20
    auto *wall = new Probe(Vector(5, 20));
    wall->setBox(box(0, 0, 30, 1));
    auto *slider = new Probe(Vector(10, 17));
    slider->setBox(box(0, 0, 2, 2));
    slider->setVelocity(Vector(1, 1));
    slider->setAvoidCollisions(true);

    // each step aims at (x+1, y+1), where the box would reach the wall at
    // y 20; it goes along the wall at full speed instead
    for (int step = 1; step <= 2; step++) {
        World::wm().update();
        EXPECT_FLOAT_EQ(slider->getPosition().getX(), 10 + step * std::sqrt(2.0f)) << step;
        EXPECT_FLOAT_EQ(slider->getPosition().getY(), 17) << step;
    }
    // the wall was slid along, not run into
    EXPECT_EQ(wall->count(vk::COLLISION_EVENT), 0);
    EXPECT_EQ(slider->count(vk::COLLISION_EVENT), 0);

    // without avoiding, the same move stops at the wall
    slider->setAvoidCollisions(false);
    World::wm().update();
    EXPECT_FLOAT_EQ(slider->getPosition().getY(), 17);
    EXPECT_EQ(wall->count(vk::COLLISION_EVENT), 1);
}

TEST(WorldManager, SlideIntoAnotherHardObjectIsADoubleCollision) {
    World world(box(0, 0, 80, 40), "", 5);
    auto *wall = new Probe(Vector(5, 20));
    wall->setBox(box(0, 0, 30, 1));
    auto *post = new Probe(Vector(12, 17));
    auto *slider = new Probe(Vector(10, 17));
    slider->setBox(box(0, 0, 2, 2));
    slider->setVelocity(Vector(1, 1));
    slider->setAvoidCollisions(true);
    EXPECT_EQ(World::wm().moveObject(slider, Vector(11, 18)), -1);
    EXPECT_EQ(slider->getPosition(), Vector(10, 17));
    EXPECT_TRUE(
        world.env.logHas("WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move."));
    EXPECT_EQ(post->count(vk::COLLISION_EVENT), 0);
    EXPECT_EQ(wall->count(vk::COLLISION_EVENT), 0);
}

TEST(WorldManager, BadMovesAreRefused) {
    World world;
    auto *o = new Probe(Vector(10, 10));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(World::wm().moveObject(o, Vector(nan, 3)), -1);
    EXPECT_EQ(World::wm().moveObject(o, Vector(std::numeric_limits<float>::infinity(), 3)), -1);
    EXPECT_EQ(World::wm().moveObject(nullptr, Vector(3, 3)), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::moveObject(): Error! Object is NULL"));
    EXPECT_EQ(o->getPosition(), Vector(10, 10));
    EXPECT_EQ(World::wm().insertObject(nullptr), -1);
    EXPECT_EQ(World::wm().removeObject(nullptr), -1);
    EXPECT_TRUE(World::wm().getCollisions(nullptr, Vector(1, 1)).isEmpty());

    EXPECT_EQ(worldtest::checkIndexes({o}, {"(Undefined)"}), "");
}

TEST(WorldManager, FarAwayObjectsStillCollideAndCostNoCells) {
    World world;
    auto *a = new Probe(Vector(1e9f, 1e9f));
    auto *b = mover(Vector(1e9f + 256, 1e9f), Vector(1e9f, 1e9f));
    World::wm().update();
    EXPECT_EQ(b->getPosition(), Vector(1e9f + 256, 1e9f));
    EXPECT_EQ(a->count(vk::COLLISION_EVENT), 1);
    const vk::Grid &grid = World::graph().getGrid();
    EXPECT_EQ(grid.getCell(vk::CellKey{}).getCount(), 2);
    EXPECT_EQ(worldtest::checkIndexes({a, b}, {"(Undefined)"}), "");
}

TEST(WorldManager, ViewStaysInsideTheBoundaryAndOddSlackIsWarnedAbout) {
    World world(box(0, 0, 200, 100));
    EXPECT_EQ(World::wm().setViewSlack(Vector(1.5f, 0.2f)), 0);
    EXPECT_TRUE(world.env.logHas("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]"));
    EXPECT_EQ(World::wm().getViewSlack(), Vector(1.5f, 0.2f));
    EXPECT_EQ(World::wm().setViewSlack(Vector(std::numeric_limits<float>::quiet_NaN(), 0)), -1);
    EXPECT_EQ(World::wm().getViewSlack(), Vector(1.5f, 0.2f));

    World::wm().setView(box(0, 0, 80, 24));
    World::wm().setViewPosition(Vector(3, 2));
    EXPECT_EQ(World::wm().getView(), box(0, 0, 80, 24));
    World::wm().setViewPosition(Vector(100, 50));
    EXPECT_EQ(World::wm().getView(), box(60, 38, 80, 24));
    World::wm().setViewPosition(Vector(199, 99));
    EXPECT_EQ(World::wm().getView(), box(120, 76, 80, 24));
    EXPECT_EQ(World::wm().setViewPosition(Vector(std::numeric_limits<float>::quiet_NaN(), 0)), -1);
    EXPECT_EQ(World::wm().getView(), box(120, 76, 80, 24));
}

TEST(WorldManager, ViewFollowsAnObjectThatLeavesItsSlackZone) {
    World world(box(0, 0, 200, 100));
    World::wm().setView(box(0, 0, 80, 24));
    World::wm().setViewSlack(Vector(0.5f, 0.5f));
    auto *o = new Probe(Vector(40, 12), vk::SPECTRAL);
    EXPECT_EQ(World::wm().setViewFollowing(o), 0);
    EXPECT_EQ(World::wm().getViewFollowing(), o);

    // the zone is x 20 to 60 and y 6 to 18 around the centre (40,12)
    World::wm().moveObject(o, Vector(59, 17));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(0, 0));
    World::wm().moveObject(o, Vector(70, 21));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(10, 3));
    World::wm().moveObject(o, Vector(25, 21));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(5, 3));

    // others move without moving the view; null stops following
    auto *other = new Probe(Vector(100, 50), vk::SPECTRAL);
    World::wm().moveObject(other, Vector(150, 80));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(5, 3));
    World::wm().setViewFollowing(nullptr);
    World::wm().moveObject(o, Vector(180, 90));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(5, 3));
}

TEST(WorldManager, DeletingTheFollowedObjectStopsFollowing) {
    World world(box(0, 0, 200, 100));
    World::wm().setView(box(0, 0, 80, 24));
    auto *o = new Probe(Vector(40, 12), vk::SPECTRAL);
    World::wm().setViewFollowing(o);
    World::wm().markForDelete(o);
    World::wm().update();
    EXPECT_EQ(World::wm().getViewFollowing(), nullptr);
    // an object that may reuse the address is not followed by accident
    auto *next = new Probe(Vector(40, 12), vk::SPECTRAL);
    World::wm().moveObject(next, Vector(190, 90));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(0, 0));
}

TEST(WorldManager, DrawingGoesByAltitudeThenInsertionAndSkipsWhatIsNotShown) {
    World world(box(0, 0, 200, 100));
    World::wm().setView(box(0, 0, 80, 24));
    std::vector<int> draws;
    auto make = [&](Vector position, int altitude) {
        auto *p = new Probe(position, vk::SPECTRAL);
        p->setAltitude(altitude);
        p->p_draws = &draws;
        return p;
    };
    Probe *top = make(Vector(5, 5), 4);
    Probe *low = make(Vector(6, 5), 0);
    Probe *mid1 = make(Vector(7, 5), 2);
    Probe *mid2 = make(Vector(8, 5), 2);
    Probe *hidden = make(Vector(9, 5), 1);
    hidden->setVisible(false);
    Probe *asleep = make(Vector(10, 5), 1);
    asleep->setActive(false);
    Probe *beyond = make(Vector(120, 60), 3);
    // its box reaches into the view by half a cell
    Probe *edge = make(Vector(80.4f, 12), 3);

    World::wm().draw();
    EXPECT_EQ(draws, (std::vector<int>{low->getId(), mid1->getId(), mid2->getId(), edge->getId(), top->getId()}));

    // the view moves over the far object, the others fall out of it
    draws.clear();
    World::wm().setViewPosition(Vector(120, 60));
    World::wm().draw();
    EXPECT_EQ(draws, std::vector<int>{beyond->getId()});
}

TEST(WorldManager, BoundaryMustBeFiniteAndNotNegative) {
    World world;
    const Box before = World::wm().getBoundary();
    EXPECT_EQ(World::wm().setBoundary(box(0, 0, -5, 10)), -1);
    EXPECT_TRUE(
        world.env.logHas("WorldManager::setBoundary(): Error! Boundary (0,0) h: -5 v: 10 not finite or negative. Ignored."));
    EXPECT_EQ(World::wm().setBoundary(box(0, 0, std::numeric_limits<float>::infinity(), 10)), -1);
    EXPECT_EQ(World::wm().getBoundary(), before);
    EXPECT_EQ(World::wm().setView(box(0, 0, 10, -1)), -1);

    // 0 x 0 is a world where everything is outside
    EXPECT_EQ(World::wm().setBoundary(box(0, 0, 0, 0)), 0);
    auto *a = new Probe(Vector(5, 5));
    auto *b = mover(Vector(7, 5), Vector(5.5f, 5));
    World::wm().update();
    EXPECT_EQ(a->count(vk::COLLISION_EVENT), 1);
    EXPECT_EQ(b->getPosition(), Vector(7, 5));
}

TEST(WorldManager, NewBoundaryKeepsTheObjectsIndexed) {
    World world;
    auto *a = new Probe(Vector(70, 20));
    auto *b = new Probe(Vector(150, 20));
    a->setType("Shark");
    b->setType("Shark");
    ASSERT_EQ(World::wm().setBoundary(box(0, 0, 200, 50)), 0);
    EXPECT_EQ(World::graph().getGrid().getNumCols(), 10);
    EXPECT_EQ(contents(World::wm().objectsOfType("Shark")), (std::vector<Object *>{a, b}));
    EXPECT_EQ(worldtest::checkIndexes({a, b}, {"Shark"}), "");
    // and collisions are found in the new grid
    EXPECT_EQ(contents(World::wm().getCollisions(a, Vector(150, 20))), std::vector<Object *>{b});
}

TEST(WorldManager, GameStartUpSizesTheWorldToTheWindowAndStopsIt) {
    vktest::TestEnv env("headless:true,window_horizontal_chars:100,window_vertical_chars:30,frame_time:0,");
    setenv("VESSIK_LOG_LEVEL", "5", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_TRUE(World::wm().isStarted());
    EXPECT_EQ(World::wm().getBoundary(), box(0, 0, 100, 30));
    EXPECT_EQ(World::wm().getView(), box(0, 0, 100, 30));
    EXPECT_EQ(World::wm().getViewSlack(), Vector(0.33333334f, 0.33333334f));
    EXPECT_TRUE(env.logHas("World manager started."));
    EXPECT_TRUE(env.logHas("WorldManager::startUp(): successfully started."));
    EXPECT_TRUE(env.logHas("Grid::startUp(): m_num_cols 5, m_num_rows 4"));

    // the loop moves objects and deletes the marked ones
    int deleted = 0;
    auto *o = new Probe(Vector(10, 10), vk::SPECTRAL);
    o->setVelocity(Vector(1, 0));
    o->registerInterest(vk::STEP_EVENT);
    o->on_event = [&](const vk::Event *p_event) {
        if (p_event->getType() == vk::STEP_EVENT && o->getPosition().getX() >= 12)
            game.setGameOver();
    };
    auto *gone = new Probe();
    gone->p_deleted = &deleted;
    World::wm().markForDelete(gone);
    game.run();
    EXPECT_EQ(o->getPosition(), Vector(13, 10));
    EXPECT_EQ(deleted, 1);

    o->p_deleted = &deleted;
    game.shutDown();
    EXPECT_FALSE(World::wm().isStarted());
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(env.logHas("World manager stopped"));
}
