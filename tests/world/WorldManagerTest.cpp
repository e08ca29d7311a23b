#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

using vk::Object;
using vk::Vector;
using worldtest::box;
using worldtest::contents;
using worldtest::Probe;
using worldtest::World;

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();
const float INF = std::numeric_limits<float>::infinity();

// A mover heading for `to` in one step.
Probe *mover(Vector from, Vector to, vk::Solidness solidness = vk::HARD) {
    auto *p = new Probe(from, solidness);
    p->setVelocity(to - from);
    return p;
}

} // namespace

TEST(WorldManager, DeletionWaitsForTheEndOfTheStepHappensOnceAndLeavesNothingBehind) {
    World world;
    // marks another object when it is deleted
    struct Chain : Probe {
        Object *p_next;
        Chain(Vector position, Object *p_marks) : Probe(position), p_next(p_marks) {}
        ~Chain() override { vk::WorldManager::getInstance().markForDelete(p_next); }
    };
    int deleted = 0;
    auto *next = new Probe(Vector(30, 20));
    auto *doomed = new Chain(Vector(10, 10), next);
    auto *twin = new Chain(Vector(50, 20), doomed);
    auto *other = mover(Vector(14, 10), Vector(11, 10));
    doomed->setVelocity(Vector(1, 0));
    for (Probe *p : {next, static_cast<Probe *>(doomed), static_cast<Probe *>(twin), other})
        p->p_deleted = &deleted;
    World::wm().setViewFollowing(doomed);
    EXPECT_EQ(World::wm().markForDelete(twin), 0);
    EXPECT_EQ(World::wm().markForDelete(doomed), 0);
    EXPECT_EQ(World::wm().markForDelete(doomed), 0);
    EXPECT_EQ(World::wm().markForDelete(nullptr), -1);

    // it still moves and is met in its last step; what a destructor marks
    // waits for the next step unless it is going already, and the view no
    // longer follows it
    World::wm().update();
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(other->partners, std::vector<Object *>{doomed});
    EXPECT_EQ(World::wm().getViewFollowing(), nullptr);
    World::wm().update();
    World::wm().update();
    EXPECT_EQ(deleted, 3);

    // stopping deletes the rest, asleep or marked, and a new start is empty
    other->setActive(false);
    World::wm().markForDelete(other);
    World::wm().shutDown();
    EXPECT_EQ(deleted, 4);
    ASSERT_EQ(World::wm().startUp(), 0);
    EXPECT_TRUE(World::wm().getAllObjects(true).isEmpty());
    EXPECT_EQ(World::wm().startUp(), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::startup(): Warning! WorldManager already started."));
}

TEST(WorldManager, ANewBoundaryKeepsEveryObjectIndexed) {
    World world;
    auto *a = new Probe(Vector(70, 20));
    auto *b = new Probe(Vector(150, 20));
    auto *asleep = new Probe(Vector(3, 3));
    asleep->setActive(false);
    a->setType("Shark");
    b->setType("Shark");
    ASSERT_EQ(World::wm().setBoundary(box(0, 0, 200, 50)), 0);
    EXPECT_EQ(contents(World::wm().getAllObjects(true)), (std::vector<Object *>{a, b, asleep}));
    EXPECT_EQ(contents(World::wm().getCollisions(a, Vector(150, 20))), std::vector<Object *>{b});
    EXPECT_EQ(worldtest::checkIndexes({a, b, asleep}, {"(Undefined)"}), "");
}

TEST(WorldManager, StepMovesThenAcceleratesAndNewObjectsWaitForTheNextStep) {
    World world;
    Probe *child = nullptr;
    auto *parent = mover(Vector(79, 10), Vector(81, 10), vk::SPECTRAL);
    parent->setAcceleration(Vector(1, 0));
    parent->on_event = [&](const vk::Event *p_event) {
        if (p_event->getType() == vk::OUT_EVENT)
            child = mover(Vector(40, 10), Vector(41, 10), vk::SPECTRAL);
    };
    World::wm().update();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->getPosition(), Vector(40, 10));
    EXPECT_EQ(parent->getPosition(), Vector(81, 10));
    World::wm().update();
    EXPECT_EQ(child->getPosition(), Vector(41, 10));
    EXPECT_EQ(parent->getPosition(), Vector(84, 10));
}

TEST(WorldManager, BlockingFollowsSolidnessAndBothObjectsHearEveryAttempt) {
    World world;
    const struct Case {
        vk::Solidness mover, obstacle;
        bool no_soft, moves;
        const char *what;
    } cases[] = {
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
    for (const Case &c : cases) {
        const float y = 1 + 3 * static_cast<float>(movers.size());
        obstacles.push_back(new Probe(Vector(12, y), c.obstacle));
        movers.push_back(mover(Vector(10, y), Vector(12, y), c.mover));
        movers.back()->setNoSoft(c.no_soft);
    }
    World::wm().update();
    World::wm().update();
    for (std::size_t i = 0; i < movers.size(); i++) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.what);
        // a blocked mover tries again and is heard again; one that passed is gone
        const bool meet = c.mover != vk::SPECTRAL && c.obstacle != vk::SPECTRAL;
        const std::size_t attempts = !meet ? 0 : c.moves ? 1 : 2;
        EXPECT_EQ(movers[i]->getPosition().getX(), c.moves ? 14 : 10);
        EXPECT_EQ(movers[i]->partners, std::vector<Object *>(attempts, obstacles[i]));
        EXPECT_EQ(obstacles[i]->partners, std::vector<Object *>(attempts, movers[i]));
        const float y = movers[i]->getPosition().getY();
        EXPECT_EQ(obstacles[i]->hit_positions, std::vector<Vector>(attempts, Vector(12, y)));
    }
}

TEST(WorldManager, ExactlyOneOutEventPerExit) {
    World world;
    // spectral: it collides with nothing but still leaves the world
    auto *o = new Probe(Vector(78, 10), vk::SPECTRAL);
    const auto outsAfter = [&](float x) {
        EXPECT_EQ(World::wm().moveObject(o, Vector(x, 10)), 0);
        return o->count(vk::OUT_EVENT);
    };
    EXPECT_EQ(outsAfter(80), 0); // the box still touches the boundary's edge
    EXPECT_EQ(outsAfter(81), 1);
    EXPECT_EQ(outsAfter(500), 1);
    outsAfter(40);
    EXPECT_EQ(outsAfter(-3), 2);
}

TEST(WorldManager, HandlerMovingTheMoverAbandonsTheMove) {
    World world;
    auto *trap = new Probe(Vector(12, 10), vk::SOFT);
    auto *o = new Probe(Vector(10, 10), vk::SOFT);
    o->on_event = [&](const vk::Event *) { o->setPosition(Vector(5, 5)); };
    EXPECT_EQ(World::wm().moveObject(o, Vector(12, 10)), -1);
    EXPECT_EQ(o->getPosition(), Vector(5, 5));
    EXPECT_EQ(trap->count(vk::COLLISION_EVENT), 1);
    EXPECT_EQ(worldtest::checkIndexes({o, trap}, {}), "");
}

TEST(WorldManager, AvoidingObjectSlidesAlongAHardWallUnlessTheSlideIsBlockedToo) {
    World world(box(0, 0, 80, 40), "", 5);
    // two walls on row 20, from x 5 to 35 and from 45 to 75, and a slider
    // heading down-right onto each; a post stands in the second one's way
    std::vector<Probe *> walls, sliders;
    for (float x : {5.0f, 45.0f}) {
        walls.push_back(new Probe(Vector(x, 20)));
        walls.back()->setBox(box(0, 0, 30, 1));
        sliders.push_back(new Probe(Vector(x + 5, 17)));
        sliders.back()->setBox(box(0, 0, 2, 2));
        sliders.back()->setVelocity(Vector(1, 1));
        sliders.back()->setAvoidCollisions(true);
    }
    auto *post = new Probe(Vector(52, 17));
    // the first goes along its wall at full speed instead of into it
    for (int step = 1; step <= 2; step++) {
        World::wm().update();
        EXPECT_FLOAT_EQ(sliders[0]->getPosition().getX(), 10 + step * std::sqrt(2.0f)) << step;
        EXPECT_FLOAT_EQ(sliders[0]->getPosition().getY(), 17) << step;
    }
    EXPECT_EQ(sliders[1]->getPosition(), Vector(50, 17));
    EXPECT_TRUE(
        world.env.logHas("WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move."));
    for (Probe *p : {walls[0], walls[1], sliders[0], post})
        EXPECT_EQ(p->count(vk::COLLISION_EVENT), 0);

    // without avoiding, the same move stops at the wall
    sliders[0]->setAvoidCollisions(false);
    World::wm().update();
    EXPECT_FLOAT_EQ(sliders[0]->getPosition().getY(), 17);
    EXPECT_EQ(walls[0]->count(vk::COLLISION_EVENT), 1);
}

TEST(WorldManager, NonFiniteAndNullArgumentsAreRefused) {
    World world;
    auto *o = new Probe(Vector(10, 10));
    vk::WorldManager &wm = World::wm();
    for (int result : {wm.moveObject(o, Vector(NaN, 3)), wm.moveObject(o, Vector(INF, 3)),
                       wm.moveObject(nullptr, Vector(3, 3)), wm.insertObject(nullptr), wm.removeObject(nullptr),
                       wm.setBoundary(box(0, 0, -5, 10)), wm.setBoundary(box(0, 0, NaN, 10)),
                       wm.setView(box(0, 0, 10, -1)), wm.setViewPosition(Vector(NaN, 0)),
                       wm.setViewSlack(Vector(NaN, 0))})
        EXPECT_EQ(result, -1);
    EXPECT_EQ(o->getPosition(), Vector(10, 10));
    EXPECT_TRUE(world.env.logHas("WorldManager::moveObject(): Error! Object is NULL"));
    EXPECT_TRUE(world.env.logHas(
        "WorldManager::setBoundary(): Error! Boundary (0,0) h: -5 v: 10 not finite or negative. Ignored."));
    EXPECT_EQ(World::wm().getBoundary(), box(0, 0, 80, 24));
    EXPECT_EQ(World::wm().getView(), box(0, 0, 80, 24));
    EXPECT_EQ(World::wm().getViewSlack(), Vector(0, 0));
    EXPECT_EQ(worldtest::checkIndexes({o}, {}), "");
}

TEST(WorldManager, ViewStaysInsideTheBoundaryAndFollowsAnObjectBeyondItsSlack) {
    World world(box(0, 0, 200, 100));
    World::wm().setView(box(0, 0, 80, 24));
    EXPECT_EQ(World::wm().setViewSlack(Vector(1.5f, 0.2f)), 0);
    EXPECT_TRUE(world.env.logHas("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]"));
    const std::pair<Vector, Vector> centre_corner[] = {
        {Vector(199, 99), Vector(120, 76)}, {Vector(100, 50), Vector(60, 38)}, {Vector(3, 2), Vector(0, 0)}};
    for (const auto &cc : centre_corner) {
        World::wm().setViewPosition(cc.first);
        EXPECT_EQ(World::wm().getView(), vk::Box(cc.second, 80, 24)) << cc.first.toString();
    }

    // the zone reaches a quarter of the view (half the half) each way from
    // its centre, first (40,12); others move without moving the view
    World::wm().setViewSlack(Vector(0.5f, 0.5f));
    auto *o = new Probe(Vector(40, 12), vk::SPECTRAL);
    auto *other = new Probe(Vector(100, 50), vk::SPECTRAL);
    World::wm().setViewFollowing(o);
    const struct {
        Probe *who;
        Vector to, corner;
    } moves[] = {{o, Vector(59, 17), Vector(0, 0)},  {o, Vector(70, 21), Vector(10, 3)},
                 {o, Vector(55, 15), Vector(10, 3)}, {o, Vector(25, 21), Vector(5, 3)},
                 {other, Vector(150, 80), Vector(5, 3)}};
    for (const auto &m : moves) {
        World::wm().moveObject(m.who, m.to);
        EXPECT_EQ(World::wm().getView().getCorner(), m.corner) << m.to.toString();
    }
    World::wm().setViewFollowing(nullptr);
    World::wm().moveObject(o, Vector(190, 90));
    EXPECT_EQ(World::wm().getView().getCorner(), Vector(5, 3));
}

TEST(WorldManager, DrawingGoesByAltitudeThenInsertionAndSkipsWhatIsNotShown) {
    World world(box(0, 0, 200, 100));
    World::wm().setView(box(0, 0, 80, 24));
    std::vector<int> draws;
    const auto make = [&](Vector position, int altitude) {
        auto *p = new Probe(position, vk::SPECTRAL);
        p->setAltitude(altitude);
        p->p_draws = &draws;
        return p;
    };
    const int top = make(Vector(5, 5), 4)->getId();
    const int low = make(Vector(6, 5), 0)->getId();
    const int mid1 = make(Vector(7, 5), 2)->getId();
    const int mid2 = make(Vector(8, 5), 2)->getId();
    make(Vector(9, 5), 1)->setVisible(false);
    make(Vector(10, 5), 1)->setActive(false);
    const int beyond = make(Vector(120, 60), 3)->getId();
    const int edge = make(Vector(80.4f, 12), 3)->getId(); // its box reaches into the view by half a cell
    World::wm().draw();
    EXPECT_EQ(draws, (std::vector<int>{low, mid1, mid2, edge, top}));
    // the view moves over the far object, the others fall out of it
    draws.clear();
    World::wm().setViewPosition(Vector(120, 60));
    World::wm().draw();
    EXPECT_EQ(draws, std::vector<int>{beyond});
}

TEST(WorldManager, GameStartUpSizesTheWorldToTheWindowAndTheLoopRunsIt) {
    vktest::TestEnv env("headless:true,window_horizontal_chars:100,window_vertical_chars:30,frame_time:0,");
    setenv("VESSIK_LOG_LEVEL", "5", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_EQ(World::wm().getBoundary(), box(0, 0, 100, 30));
    EXPECT_EQ(World::wm().getView(), box(0, 0, 100, 30));
    EXPECT_EQ(World::wm().getViewSlack(), Vector(0.33333334f, 0.33333334f));
    EXPECT_TRUE(env.logHas("World manager started."));
    EXPECT_TRUE(env.logHas("Grid::startUp(): m_num_cols 5, m_num_rows 4"));
    int deleted = 0;
    auto *o = mover(Vector(10, 10), Vector(11, 10), vk::SPECTRAL);
    o->registerInterest(vk::STEP_EVENT);
    o->on_event = [&](const vk::Event *p_event) {
        if (p_event->getType() == vk::STEP_EVENT && o->getPosition().getX() >= 12)
            game.setGameOver();
    };
    auto *gone = new Probe();
    gone->p_deleted = o->p_deleted = &deleted;
    World::wm().markForDelete(gone);
    game.run();
    EXPECT_EQ(o->getPosition(), Vector(13, 10));
    EXPECT_EQ(deleted, 1);
    game.shutDown();
    EXPECT_FALSE(World::wm().isStarted());
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(env.logHas("World manager stopped"));
}
