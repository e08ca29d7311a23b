#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"
#include "WorldSupport.h"
#include "geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
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

const float NaN = std::numeric_limits<float>::quiet_NaN();
const float INF = std::numeric_limits<float>::infinity();

} // namespace

TEST(Object, IdsCountUpAndSetIdKeepsThemUnique) {
    World world;
    auto *a = new Probe();
    auto *b = new Probe();
    EXPECT_EQ(b->getId(), a->getId() + 1);

    const int far_ahead = b->getId() + 10;
    a->setId(far_ahead);
    EXPECT_EQ(a->getId(), far_ahead);
    auto *c = new Probe();
    EXPECT_EQ(c->getId(), far_ahead + 1);

    // a lower id is taken as it is and does not pull the counter back
    c->setModified(0);
    c->setId(3);
    EXPECT_EQ(c->getId(), 3);
    EXPECT_EQ(c->getModified(), vk::attr::ID);
    EXPECT_EQ((new Probe())->getId(), far_ahead + 2);

    c->setModified(0);
    c->setId(3);
    EXPECT_EQ(c->getModified(), 0u);
}

TEST(Object, NewObjectHasTheDocumentedDefaults) {
    World world;
    auto *o = new Object();
    EXPECT_EQ(o->getPosition(), Vector(1, 1));
    EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
    EXPECT_EQ(o->getAltitude(), 2);
    EXPECT_EQ(o->getSolidness(), vk::HARD);
    EXPECT_TRUE(o->isActive() && o->isVisible());
    EXPECT_EQ(o->getModified(), 0x3FFFFu);
    EXPECT_EQ(o->getEventCount(), 0);
    // and it is in the world, its indexes and its cell straight away
    EXPECT_EQ(contents(World::wm().getAllObjects()), std::vector<Object *>{o});
    EXPECT_EQ(worldtest::checkIndexes({o}, {"(Undefined)"}), "");
}

TEST(Object, EachSetterMarksOnlyItsOwnAttribute) {
    World world;
    auto *o = new Probe();
    struct Case {
        const char *what;
        std::function<void()> change;
        unsigned bits;
    };
    const std::vector<Case> cases = {
        {"active", [&] { o->setActive(false); }, vk::attr::ACTIVE},
        {"active again", [&] { o->setActive(true); }, vk::attr::ACTIVE},
        {"visible", [&] { o->setVisible(false); }, vk::attr::VISIBLE},
        {"interest", [&] { o->registerInterest("custom"); }, vk::attr::EVENTS},
        {"interest dropped", [&] { o->unregisterInterest("custom"); }, vk::attr::EVENTS},
        {"box", [&] { o->setBox(Box(Vector(0, 0), 2, 2)); }, vk::attr::BOX},
        {"position", [&] { o->setPosition(Vector(7, 7)); }, vk::attr::POSITION},
        {"type", [&] { o->setType("Rock"); }, vk::attr::TYPE},
        {"altitude", [&] { o->setAltitude(4); }, vk::attr::ALTITUDE},
        {"solidness", [&] { o->setSolidness(vk::SOFT); }, vk::attr::SOLIDNESS},
        {"no soft", [&] { o->setNoSoft(true); }, vk::attr::NO_SOFT},
        {"speed", [&] { o->setSpeed(2); }, vk::attr::SPEED},
        {"direction", [&] { o->setDirection(Vector(1, 0)); }, vk::attr::DIRECTION},
        {"velocity", [&] { o->setVelocity(Vector(0, 3)); }, vk::attr::SPEED | vk::attr::DIRECTION},
        {"acceleration", [&] { o->setAcceleration(Vector(0.5f, 0)); }, vk::attr::ACCELERATION},
        {"avoid collisions", [&] { o->setAvoidCollisions(true); }, vk::attr::AVOID_COLLISIONS},
        // unchanged values and refusals mark nothing
        {"same position", [&] { o->setPosition(Vector(7, 7)); }, 0},
        {"same altitude", [&] { o->setAltitude(4); }, 0},
        {"same solidness", [&] { o->setSolidness(vk::SOFT); }, 0},
        {"same activity", [&] { o->setActive(true); }, 0},
        {"same visibility", [&] { o->setVisible(false); }, 0},
        {"same box", [&] { o->setBox(Box(Vector(0, 0), 2, 2)); }, 0},
        {"altitude refused", [&] { o->setAltitude(9); }, 0},
        {"position refused", [&] { o->setPosition(Vector(NaN, 1)); }, 0},
    };
    for (const Case &c : cases) {
        o->setModified(0);
        c.change();
        EXPECT_EQ(o->getModified(), c.bits) << c.what;
    }
}

TEST(Object, OutOfRangeAltitudeAndSolidnessAreRefused) {
    World world;
    auto *o = new Probe();
    EXPECT_EQ(o->setAltitude(5), -1);
    EXPECT_TRUE(world.env.logHas("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."));
    EXPECT_EQ(o->setAltitude(-1), -1);
    EXPECT_TRUE(world.env.logHas("Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored."));
    EXPECT_EQ(o->getAltitude(), 2);
    EXPECT_EQ(worldtest::occurrences(World::graph().visibleObjects(2), o), 1);

    EXPECT_EQ(o->setSolidness(static_cast<vk::Solidness>(3)), -1);
    EXPECT_TRUE(world.env.logHas("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
    EXPECT_EQ(o->setSolidness(static_cast<vk::Solidness>(-7)), -1);
    EXPECT_EQ(o->getSolidness(), vk::HARD);
    EXPECT_EQ(worldtest::occurrences(World::graph().solidObjects(), o), 1);
}

TEST(Object, UnchangedAltitudeDoesNotReorderTheDrawingList) {
    World world;
    auto *a = new Probe();
    auto *b = new Probe();
    EXPECT_EQ(a->setAltitude(2), 0);
    EXPECT_EQ(contents(World::graph().visibleObjects(2)), (std::vector<Object *>{a, b}));
    // a real change goes through the scene graph and lands at the end
    a->setAltitude(3);
    a->setAltitude(2);
    EXPECT_EQ(contents(World::graph().visibleObjects(2)), (std::vector<Object *>{b, a}));
}

TEST(Object, VelocityIsDirectionTimesSpeed) {
    World world;
    auto *o = new Probe(Vector(10, 10));
    o->setVelocity(Vector(3, 4));
    EXPECT_FLOAT_EQ(o->getSpeed(), 5);
    EXPECT_FLOAT_EQ(o->getDirection().getX(), 0.6f);
    EXPECT_FLOAT_EQ(o->getDirection().getY(), 0.8f);
    EXPECT_FLOAT_EQ(o->getVelocity().getX(), 3);
    EXPECT_FLOAT_EQ(o->getVelocity().getY(), 4);
    EXPECT_FLOAT_EQ(o->predictPosition().getX(), 13);
    EXPECT_FLOAT_EQ(o->predictPosition().getY(), 14);

    o->setDirection(Vector(0, 2));
    EXPECT_EQ(o->getDirection(), Vector(0, 1));
    EXPECT_FLOAT_EQ(o->getVelocity().getY(), 5);
    o->setDirection(Vector(0, 0));
    EXPECT_EQ(o->getDirection(), Vector(0, 0));
    EXPECT_EQ(o->predictPosition(), Vector(10, 10));

    o->setVelocity(Vector(0, 0));
    EXPECT_EQ(o->getSpeed(), 0);
    EXPECT_TRUE(o->getDirection().isZero());
}

TEST(Object, NonFiniteValuesAreRefusedAndLeaveTheObjectAsItWas) {
    World world;
    auto *o = new Probe(Vector(4, 4));
    o->setVelocity(Vector(1, 0));
    o->setModified(0);

    EXPECT_EQ(o->setPosition(Vector(NaN, 2)), -1);
    EXPECT_EQ(o->setPosition(Vector(3, INF)), -1);
    EXPECT_EQ(o->setVelocity(Vector(INF, 0)), -1);
    // finite components whose length overflows
    EXPECT_EQ(o->setVelocity(Vector(3e38f, 3e38f)), -1);
    EXPECT_EQ(o->setDirection(Vector(NaN, NaN)), -1);
    EXPECT_EQ(o->setSpeed(-INF), -1);
    EXPECT_EQ(o->setAcceleration(Vector(0, NaN)), -1);
    EXPECT_EQ(o->setBox(Box(Vector(0, 0), -1, 2)), -1);
    EXPECT_EQ(o->setBox(Box(Vector(NaN, 0), 1, 2)), -1);

    EXPECT_EQ(o->getPosition(), Vector(4, 4));
    EXPECT_EQ(o->getVelocity(), Vector(1, 0));
    EXPECT_TRUE(o->getAcceleration().isZero());
    EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
    EXPECT_EQ(o->getModified(), 0u);
    EXPECT_TRUE(world.env.logHas("Object::setPosition(): Error! Position (nan,2) not finite. Ignored."));
    EXPECT_TRUE(world.env.logHas("Object::setVelocity(): Error! Velocity (inf,0) not finite. Ignored."));
    EXPECT_TRUE(world.env.logHas("Object::setBox(): Error! Box (0,0) h: -1 v: 2 not finite or negative. Ignored."));
    EXPECT_EQ(worldtest::checkIndexes({o}, {"(Undefined)"}), "");
}

TEST(Object, TypeAndBoxChangesKeepTheIndexesCurrent) {
    World world;
    auto *o = new Probe(Vector(19, 4));
    o->setType("Rock");
    EXPECT_EQ(contents(World::wm().objectsOfType("Rock")), std::vector<Object *>{o});
    EXPECT_TRUE(World::wm().objectsOfType("(Undefined)").isEmpty());

    // a wider box reaches into the next cell of the grid
    const vk::Grid &grid = World::graph().getGrid();
    EXPECT_EQ(grid.getCell(vk::CellKey{1, 0}).getCount(), 0);
    o->setBox(Box(Vector(-1, -1), 4, 2));
    EXPECT_EQ(grid.getCell(vk::CellKey{1, 0}).getCount(), 1);
    EXPECT_EQ(worldtest::checkIndexes({o}, {"Rock", "(Undefined)"}), "");
}

TEST(Object, InterestsGoToTheManagerThatServesThem) {
    World world;
    auto *o = new Probe();
    EXPECT_EQ(o->registerInterest(vk::STEP_EVENT), 0);
    EXPECT_EQ(o->registerInterest("point_event"), 0);
    const vk::EventStep step(1);
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 1);
    vk::Event point;
    point.setType("point_event");
    EXPECT_EQ(World::wm().onEvent(&point), 1);

    // events the world delivers by itself cannot be registered for
    EXPECT_EQ(o->registerInterest(vk::COLLISION_EVENT), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::isValid(): Event vk-collision handled automatically."));
    EXPECT_EQ(o->registerInterest(vk::OUT_EVENT), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::isValid(): Event vk-out handled automatically."));
    // and step events only go through the game manager
    EXPECT_FALSE(World::wm().isValid(vk::STEP_EVENT));
    EXPECT_TRUE(world.env.logHas("WorldManager::isValid(): WorldManager does not handle vk-step"));
    EXPECT_EQ(o->getEventCount(), 2);
    EXPECT_EQ(o->getEventName(0), vk::STEP_EVENT);
    EXPECT_EQ(o->getEventName(1), "point_event");

    EXPECT_EQ(o->unregisterInterest("never"), -1);
    EXPECT_TRUE(world.env.logHas("Object::unregisterInterest(): event 'never' not previously registered"));
}

TEST(Object, SameInterestTwiceIsListedTwiceAndDestructionStillEnds) {
    World world;
    auto *o = new Probe();
    EXPECT_EQ(o->registerInterest("tide"), 0);
    EXPECT_EQ(o->registerInterest("tide"), 0);
    EXPECT_EQ(o->getEventCount(), 2);
    vk::Event tide;
    tide.setType("tide");
    EXPECT_EQ(World::wm().onEvent(&tide), 1);

    // the manager holds it once: the second unregistration has nothing to
    // remove, and deletion must not loop on it
    int deleted = 0;
    o->p_deleted = &deleted;
    World::wm().markForDelete(o);
    World::wm().update();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(World::wm().onEvent(&tide), 0);
}

TEST(Object, AHundredInterestsAtMost) {
    World world;
    auto *o = new Probe();
    for (int i = 0; i < vk::MAX_OBJ_EVENTS; i++)
        ASSERT_EQ(o->registerInterest("e" + std::to_string(i)), 0) << i;
    EXPECT_EQ(o->registerInterest("one-more"), -1);
    EXPECT_TRUE(
        world.env.logHas("Object::registerInterest(): maximum (100) reached, cannot register for event 'one-more'"));
    EXPECT_EQ(o->unregisterInterest("e50"), 0);
    EXPECT_EQ(o->registerInterest("one-more"), 0);
    // the later names moved down one place
    EXPECT_EQ(o->getEventName(50), "e51");
    EXPECT_EQ(o->getEventName(99), "one-more");
}

TEST(Object, DeletedObjectLeavesEveryManagerAndIndex) {
    World world;
    auto *o = new Probe();
    auto *keeper = new Probe(Vector(10, 10));
    o->registerInterest(vk::STEP_EVENT);
    o->registerInterest("point_event");
    keeper->registerInterest("point_event");
    World::wm().markForDelete(o);
    World::wm().update();

    const vk::EventStep step(2);
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 0);
    vk::Event point;
    point.setType("point_event");
    EXPECT_EQ(World::wm().onEvent(&point), 1);
    EXPECT_EQ(worldtest::checkIndexes({keeper}, {"(Undefined)"}), "");
}

TEST(Object, ObjectMadeBeforeTheWorldStartsIsNotPartOfIt) {
    vktest::TestEnv env;
    vk::LogManager::getInstance().startUp();
    vk::LogManager::getInstance().setLogLevel(2);
    {
        Object outsider;
        EXPECT_TRUE(env.logHas("WorldManager::insertObject(): Warning! Not adding Object " +
                               std::to_string(outsider.getId())));
        EXPECT_TRUE(env.logHas(std::string(30, ' ') + "because WorldManager not started."));
        char address[32];
        std::snprintf(address, sizeof address, "%p", static_cast<void *>(&outsider));
        EXPECT_TRUE(env.logHas("Object::Object(): Error! Unable to add " + std::string(address) + " to game world."));
        vk::WorldManager::getInstance().startUp();
        EXPECT_TRUE(vk::WorldManager::getInstance().getAllObjects(true).isEmpty());
    }
    vk::WorldManager::getInstance().shutDown();
    vk::LogManager::getInstance().shutDown();
}
