#include "WorldSupport.h"

#include <vessik/core/EventStep.h>
#include <vessik/resources/ResourceManager.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <memory>

using vk::Object;
using vk::Vector;
using worldtest::box;
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
    auto *c = new Probe();
    EXPECT_EQ(c->getId(), far_ahead + 1);
    // a lower id is taken as it is and does not pull the counter back
    c->setId(3);
    EXPECT_EQ(c->getId(), 3);
    EXPECT_EQ((new Probe())->getId(), far_ahead + 2);
}

TEST(Object, NewObjectIsFullyModifiedAndEachChangeMarksOnlyItsOwnAttribute) {
    World world;
    auto *o = new Probe();
    EXPECT_EQ(o->getModified(), vk::attr::ALL_OBJECT);
    // each change is made twice: the second time the value is unchanged
    const unsigned SPEED_DIRECTION = vk::attr::SPEED | vk::attr::DIRECTION;
    const struct {
        const char *what;
        std::function<void()> change;
        unsigned bits, bits_again;
    } cases[] = {
        {"id", [&] { o->setId(1000); }, vk::attr::ID, 0},
        {"active", [&] { o->setActive(!o->isActive()); }, vk::attr::ACTIVE, vk::attr::ACTIVE},
        {"visible", [&] { o->setVisible(false); }, vk::attr::VISIBLE, 0},
        {"box", [&] { o->setBox(box(0, 0, 2, 2)); }, vk::attr::BOX, 0},
        {"position", [&] { o->setPosition(Vector(7, 7)); }, vk::attr::POSITION, 0},
        {"altitude", [&] { o->setAltitude(4); }, vk::attr::ALTITUDE, 0},
        {"solidness", [&] { o->setSolidness(vk::SOFT); }, vk::attr::SOLIDNESS, 0},
        {"type", [&] { o->setType("Rock"); }, vk::attr::TYPE, vk::attr::TYPE},
        {"velocity", [&] { o->setVelocity(Vector(0, 3)); }, SPEED_DIRECTION, SPEED_DIRECTION},
        {"acceleration", [&] { o->setAcceleration(Vector(1, 0)); }, vk::attr::ACCELERATION, vk::attr::ACCELERATION},
    };
    for (const auto &c : cases)
        for (unsigned bits : {c.bits, c.bits_again}) {
            o->setModified(0);
            c.change();
            EXPECT_EQ(o->getModified(), bits) << c.what;
        }
}

TEST(Object, BadValuesAreRefusedAndLeaveTheObjectAsItWas) {
    World world;
    auto *o = new Probe(Vector(4, 4));
    o->setVelocity(Vector(1, 0));
    o->setModified(0);
    for (int result : {o->setPosition(Vector(NaN, 2)), o->setPosition(Vector(3, INF)), o->setVelocity(Vector(INF, 0)),
                       o->setVelocity(Vector(3e38f, 3e38f)), o->setDirection(Vector(NaN, NaN)), o->setSpeed(-INF),
                       o->setAcceleration(Vector(0, NaN)), o->setBox(box(0, 0, -1, 2)), o->setBox(box(NaN, 0, 1, 2)),
                       o->setAltitude(5), o->setAltitude(-1), o->setSolidness(static_cast<vk::Solidness>(3)),
                       o->setSolidness(static_cast<vk::Solidness>(-7))})
        EXPECT_EQ(result, -1);
    EXPECT_EQ(o->getPosition(), Vector(4, 4));
    EXPECT_EQ(o->getVelocity(), Vector(1, 0));
    EXPECT_TRUE(o->getAcceleration().isZero());
    EXPECT_EQ(o->getBox(), box(-0.5f, -0.5f, 0.99f, 0.99f));
    EXPECT_EQ(o->getModified(), 0u);
    for (const char *line : {"Object::setPosition(): Error! Position (nan,2) not finite. Ignored.",
                             "Object::setVelocity(): Error! Velocity (inf,0) not finite. Ignored.",
                             "Object::setBox(): Error! Box (0,0) h: -1 v: 2 not finite or negative. Ignored.",
                             "Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored.",
                             "Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."})
        EXPECT_TRUE(world.env.logHas(line)) << line;
    EXPECT_EQ(worldtest::checkIndexes({o}, {}), "");
}

TEST(Object, InterestsGoToTheirManagersAndLeaveWithTheObjectEvenWhenRegisteredTwice) {
    World world;
    auto *o = new Probe();
    auto *keeper = new Probe(Vector(10, 10));
    const vk::EventStep step(1);
    vk::Event tide;
    tide.setType("tide");
    EXPECT_EQ(o->registerInterest(vk::STEP_EVENT), 0);
    // the manager holds a name once: the second removal finds nothing there,
    // and deletion must not loop on it
    EXPECT_EQ(o->registerInterest("tide"), 0);
    EXPECT_EQ(o->registerInterest("tide"), 0);
    keeper->registerInterest("tide");
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 1);
    EXPECT_EQ(World::wm().onEvent(&tide), 2);
    // events the world delivers by itself cannot be registered for
    EXPECT_EQ(o->registerInterest(vk::COLLISION_EVENT), -1);
    EXPECT_EQ(o->registerInterest(vk::OUT_EVENT), -1);
    EXPECT_TRUE(world.env.logHas("WorldManager::isValid(): Event vk-out handled automatically."));

    World::wm().markForDelete(o);
    World::wm().update();
    EXPECT_EQ(vk::GameManager::getInstance().onEvent(&step), 0);
    EXPECT_EQ(World::wm().onEvent(&tide), 1);
    EXPECT_EQ(worldtest::checkIndexes({keeper}, {}), "");
}

TEST(Object, AHundredInterestsAtMost) {
    World world;
    auto *o = new Probe();
    for (int i = 0; i < vk::MAX_OBJ_EVENTS; i++)
        ASSERT_EQ(o->registerInterest("e" + std::to_string(i)), 0) << i;
    EXPECT_EQ(o->registerInterest("one-more"), -1);
    EXPECT_TRUE(
        world.env.logHas("Object::registerInterest(): maximum (100) reached, cannot register for event 'one-more'"));
    // removing one moves the later names down one place and makes room
    EXPECT_EQ(o->unregisterInterest("e50"), 0);
    EXPECT_EQ(o->registerInterest("one-more"), 0);
    EXPECT_EQ(o->getEventName(50), "e51");
}

// Objects made before the world starts or after it stops are refused. Their
// setters change them alone; the world never lists, moves nor deletes them,
// whether they live on the stack or on the heap.
TEST(Object, ObjectsTheWorldRefusedStayOutOfItWhateverTheirSetters) {
    vktest::TestEnv env;
    vk::LogManager::getInstance().startUp();
    vk::LogManager::getInstance().setLogLevel(2);
    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    ASSERT_EQ(rm.startUp(), 0);
    env.writeFile("rock.txt", "1\n3\n2\n1\nwhite\n###\n###\n");
    ASSERT_EQ(rm.loadSprite(env.path("rock.txt"), "rock"), 0);
    vk::WorldManager &wm = World::wm();

    // every setter that files an object somewhere, each changing a value
    const auto changeAll = [](Object &o, float x, bool end_active) {
        EXPECT_EQ(o.setActive(!o.isActive()), 0);
        EXPECT_EQ(o.setActive(true), 0);
        o.setType(o.getType() == "Stray" ? "Lost" : "Stray");
        EXPECT_EQ(o.setPosition(Vector(x, 5)), 0);
        EXPECT_EQ(o.setBox(box(0, 0, x, 1)), 0);
        EXPECT_EQ(o.setSprite("rock"), 0);
        EXPECT_EQ(o.setSolidness(o.isSolid() ? vk::SPECTRAL : vk::SOFT), 0);
        EXPECT_EQ(o.setAltitude(o.getAltitude() == 4 ? 0 : 4), 0);
        EXPECT_EQ(o.setVisible(!o.isVisible()), 0);
        EXPECT_EQ(o.setActive(end_active), 0);
        EXPECT_EQ(o.isActive(), end_active);
        EXPECT_EQ(o.getPosition(), Vector(x, 5));
        EXPECT_EQ(o.getBox(), box(-1.5f, -1, 3, 2));
    };
    {
        Probe on_stack(Vector(10, 5));
        const auto on_heap = std::make_unique<Probe>(Vector(10, 5));
        char address[32];
        std::snprintf(address, sizeof address, "%p", static_cast<void *>(&on_stack));
        EXPECT_TRUE(env.logHas("WorldManager::insertObject(): Warning! Not adding Object " +
                               std::to_string(on_stack.getId())));
        EXPECT_TRUE(env.logHas(std::string(30, ' ') + "because WorldManager not started."));
        EXPECT_TRUE(env.logHas("Object::Object(): Error! Unable to add " + std::string(address) + " to game world."));
        changeAll(on_stack, 11, true);
        changeAll(*on_heap, 12, false);

        ASSERT_EQ(wm.startUp(), 0);
        wm.setBoundary(box(0, 0, 80, 24));
        auto *owned = new Probe(Vector(10, 5));
        owned->setType("Stray");
        owned->setVelocity(Vector(1, 0));
        changeAll(on_stack, 10, false);
        changeAll(*on_heap, 10, true);
        on_heap->setVelocity(Vector(0, 1));
        EXPECT_EQ(contents(wm.getAllObjects(true)), std::vector<Object *>{owned});
        EXPECT_TRUE(wm.getCollisions(owned, Vector(10, 5)).isEmpty());
        EXPECT_EQ(worldtest::checkIndexes({owned}, {"Stray", "Lost"}), "");
        EXPECT_EQ(wm.markForDelete(&on_stack), -1);
        EXPECT_EQ(wm.markForDelete(on_heap.get()), -1);
        EXPECT_TRUE(env.logHas("WorldManager::markForDelete(): Error! Object " + std::string(address) +
                               " is not in the game world."));
        EXPECT_EQ(wm.setViewFollowing(on_heap.get()), -1);
        wm.update();
        EXPECT_EQ(owned->getPosition(), Vector(11, 5));
        EXPECT_EQ(on_heap->getPosition(), Vector(10, 5));

        wm.shutDown();
        Probe made_after(Vector(10, 5));
        changeAll(made_after, 13, false);
        wm.shutDown();
        ASSERT_EQ(wm.startUp(), 0);
        EXPECT_TRUE(wm.getAllObjects(true).isEmpty());
        wm.shutDown();
    }
    // they were never in the world, so leaving it cannot fail
    EXPECT_EQ(env.readLog().find("Unable to remove"), std::string::npos);
    rm.shutDown();
    vk::LogManager::getInstance().shutDown();
}
