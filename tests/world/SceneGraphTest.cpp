#include "GameManager.h"
#include "SceneGraph.h"
#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

using vk::Box;
using vk::Object;
using vk::Vector;
using worldtest::contents;
using worldtest::occurrences;
using worldtest::Probe;
using worldtest::World;

namespace {

const std::set<std::string> TYPES = {"(Undefined)", "Surfer", "Shark", "Buoy", "Wave"};

} // namespace

TEST(SceneGraph, InvisibleObjectIsIndexedEverywhereButTheAltitudeLists) {
    World world;
    auto *o = new Probe();
    o->setVisible(false);
    auto *late = new Probe(Vector(5, 5));
    for (int altitude = 0; altitude <= vk::MAX_ALTITUDE; altitude++)
        EXPECT_EQ(occurrences(World::graph().visibleObjects(altitude), o), 0);
    EXPECT_EQ(occurrences(World::graph().solidObjects(), o), 1);
    EXPECT_EQ(contents(World::graph().activeObjects()), (std::vector<Object *>{o, late}));
    EXPECT_EQ(worldtest::checkIndexes({o, late}, TYPES), "");
}

TEST(SceneGraph, DeactivationEmptiesEveryActiveIndexAndReactivationRestoresThem) {
    World world;
    auto *o = new Probe(Vector(19.8f, 4));
    auto *other = new Probe(Vector(50, 20));
    o->setType("Shark");
    ASSERT_EQ(o->setActive(false), 0);
    EXPECT_EQ(contents(World::graph().inactiveObjects()), std::vector<Object *>{o});
    EXPECT_TRUE(World::wm().objectsOfType("Shark").isEmpty());
    EXPECT_TRUE(World::wm().getCollisions(other, Vector(19.8f, 4)).isEmpty());
    EXPECT_EQ(worldtest::checkIndexes({o, other}, TYPES), "");

    // changes while asleep take effect on waking
    o->setType("Buoy");
    o->setAltitude(0);
    o->setSolidness(vk::SOFT);
    o->setPosition(Vector(30, 12));
    ASSERT_EQ(o->setActive(true), 0);
    EXPECT_EQ(contents(World::graph().activeObjects()), (std::vector<Object *>{other, o}));
    EXPECT_EQ(contents(World::wm().objectsOfType("Buoy")), std::vector<Object *>{o});
    EXPECT_TRUE(World::wm().objectsOfType("Shark").isEmpty());
    EXPECT_EQ(contents(World::graph().visibleObjects(0)), std::vector<Object *>{o});
    EXPECT_EQ(contents(World::wm().getCollisions(other, Vector(30, 12))), std::vector<Object *>{o});
    EXPECT_EQ(worldtest::checkIndexes({o, other}, TYPES), "");
}

TEST(SceneGraph, AltitudeChangeMovesAVisibleObjectToTheEndOfItsNewList) {
    World world;
    auto *a = new Probe();
    auto *b = new Probe(Vector(4, 4));
    auto *c = new Probe(Vector(6, 6));
    a->setAltitude(1);
    b->setAltitude(3);
    c->setAltitude(1);
    ASSERT_EQ(a->setAltitude(3), 0);
    EXPECT_EQ(contents(World::graph().visibleObjects(1)), std::vector<Object *>{c});
    EXPECT_EQ(contents(World::graph().visibleObjects(3)), (std::vector<Object *>{b, a}));

    // for an invisible object only the field changes
    c->setVisible(false);
    ASSERT_EQ(c->setAltitude(4), 0);
    EXPECT_EQ(c->getAltitude(), 4);
    EXPECT_TRUE(World::graph().visibleObjects(4).isEmpty());
    EXPECT_EQ(worldtest::checkIndexes({a, b, c}, TYPES), "");
}

TEST(SceneGraph, OnlyBecomingOrCeasingToBeSpectralTouchesTheSolidIndexes) {
    World world(Box(Vector(0, 0), 80, 24), "", 20);
    auto *o = new Probe(Vector(10, 10));
    auto *probe = new Probe(Vector(30, 10), vk::SPECTRAL);
    auto *other = new Probe(Vector(50, 10));

    ASSERT_EQ(o->setSolidness(vk::SOFT), 0);
    EXPECT_EQ(contents(World::graph().solidObjects()), (std::vector<Object *>{o, other}));
    EXPECT_FALSE(world.env.logHas("SceneGraph::updateSolidness(): Adding to grid."));

    ASSERT_EQ(o->setSolidness(vk::SPECTRAL), 0);
    EXPECT_EQ(contents(World::graph().solidObjects()), std::vector<Object *>{other});
    EXPECT_TRUE(World::wm().getCollisions(probe, Vector(10, 10)).isEmpty());

    ASSERT_EQ(o->setSolidness(vk::SOFT), 0);
    EXPECT_TRUE(world.env.logHas("SceneGraph::updateSolidness(): Adding to grid."));
    EXPECT_EQ(contents(World::graph().solidObjects()), (std::vector<Object *>{other, o}));
    EXPECT_EQ(contents(World::wm().getCollisions(probe, Vector(10, 10))), std::vector<Object *>{o});
    EXPECT_EQ(worldtest::checkIndexes({o, probe, other}, TYPES), "");
}

TEST(SceneGraph, QueriesForUnknownTypesAndAltitudesAreEmpty) {
    World world;
    new Probe();
    EXPECT_TRUE(World::graph().objectsOfType("Kraken").isEmpty());
    EXPECT_TRUE(World::graph().visibleObjects(5).isEmpty());
    EXPECT_TRUE(world.env.logHas("SceneGraph::visibleObjects(): Warning! altitude 5 not in [0,4]."));
    EXPECT_TRUE(World::graph().visibleObjects(-1).isEmpty());
    EXPECT_TRUE(world.env.logHas("SceneGraph::visibleObjects(): Warning! altitude -1 not in [0,4]."));
}

TEST(SceneGraph, MissingEntriesAreReportedOnlyWhileTheGameRuns) {
    World world;
    auto *o = new Probe();
    o->setType("Ghost");
    // a second scene graph that has never seen the object
    vk::SceneGraph stranger;
    ASSERT_EQ(stranger.startUp(), 0);

    EXPECT_EQ(stranger.updateVisible(o, false), -1);
    EXPECT_TRUE(world.env.logHas("SceneGraph::updateVisible(): unable to remove visible object (Ghost)"));
    EXPECT_EQ(stranger.updateActive(o, false), -1);
    EXPECT_TRUE(world.env.logHas("SceneGraph::updateActive(): remove object (Ghost) failed for objects!"));
    EXPECT_EQ(stranger.removeObject(o), -1);

    vk::GameManager::getInstance().setGameOver(true);
    const std::size_t lines = world.env.logMessages().size();
    EXPECT_EQ(stranger.updateVisible(o, false), 0);
    EXPECT_EQ(stranger.updateAltitude(o, 3), 0);
    EXPECT_EQ(stranger.updateType(o, "Wraith"), 0);
    // a missing type entry always counts, but is not written down
    EXPECT_EQ(stranger.updateActive(o, false), -1);
    EXPECT_EQ(world.env.logMessages().size(), lines);
    stranger.shutDown();
    vk::GameManager::getInstance().setGameOver(false);
}

TEST(SceneGraph, NullObjectsAreRefused) {
    World world;
    vk::SceneGraph &graph = World::graph();
    EXPECT_EQ(graph.insertObject(nullptr), -1);
    EXPECT_TRUE(world.env.logHas("SceneGraph::insertObject(): Error! Object is NULL"));
    for (int result : {graph.removeObject(nullptr), graph.updateActive(nullptr, false),
                       graph.updateVisible(nullptr, false), graph.updateAltitude(nullptr, 1),
                       graph.updateSolidness(nullptr, vk::SOFT), graph.updateType(nullptr, "x"),
                       graph.updatePosition(nullptr, Vector(1, 1))})
        EXPECT_EQ(result, -1);
    EXPECT_TRUE(graph.activeObjects().isEmpty());
}

// Random sequences of every operation that touches an index, with a full walk
// of the indexes after each one.
TEST(SceneGraph, IndexesStayConsistentThroughRandomOperations) {
    World world(Box(Vector(0, 0), 80, 24), "", 0);
    const std::vector<std::string> types(TYPES.begin(), TYPES.end());
    for (unsigned seed = 1; seed <= 6; seed++) {
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const auto coordinate = [&](float low, float high) {
            return std::uniform_real_distribution<float>(low, high)(random);
        };
        std::set<Object *> alive;
        std::string last_operation;
        for (int step = 0; step < 400; step++) {
            Object *p_o = nullptr;
            if (!alive.empty()) {
                auto it = alive.begin();
                std::advance(it, pick(static_cast<int>(alive.size())));
                p_o = *it;
            }
            const int operation = alive.size() < 3 ? 0 : pick(13);
            switch (operation) {
            case 0: {
                auto *p = new Probe(Vector(coordinate(-10, 90), coordinate(-10, 34)),
                                    static_cast<vk::Solidness>(pick(3)));
                p->p_alive = &alive;
                p->setType(types[static_cast<std::size_t>(pick(5))]);
                p->setAltitude(pick(5));
                alive.insert(p);
                last_operation = "create";
                break;
            }
            case 1:
                p_o->setActive(!p_o->isActive());
                last_operation = "toggle active";
                break;
            case 2:
                p_o->setVisible(!p_o->isVisible());
                last_operation = "toggle visible";
                break;
            case 3:
                p_o->setAltitude(pick(7) - 1); // -1 and 5 are refused
                last_operation = "altitude";
                break;
            case 4:
                p_o->setSolidness(static_cast<vk::Solidness>(pick(4))); // 3 is refused
                last_operation = "solidness";
                break;
            case 5:
                p_o->setType(types[static_cast<std::size_t>(pick(5))]);
                last_operation = "type";
                break;
            case 6:
                p_o->setPosition(Vector(coordinate(-30, 110), coordinate(-30, 54)));
                last_operation = "position";
                break;
            case 7:
                p_o->setBox(Box(Vector(coordinate(-3, 0), coordinate(-3, 0)), coordinate(0, 45), coordinate(0, 20)));
                last_operation = "box";
                break;
            case 8:
                World::wm().moveObject(p_o, p_o->getPosition() + Vector(coordinate(-25, 25), coordinate(-10, 10)));
                last_operation = "move";
                break;
            case 9:
                p_o->setVelocity(Vector(coordinate(-3, 3), coordinate(-3, 3)));
                World::wm().update();
                last_operation = "velocity and step";
                break;
            case 10:
                World::wm().markForDelete(p_o);
                if (pick(2) == 0)
                    World::wm().markForDelete(p_o);
                World::wm().update();
                last_operation = "delete";
                break;
            case 11: {
                const float w = static_cast<float>(pick(4)) * 40;
                const float h = static_cast<float>(pick(4)) * 16;
                World::wm().setBoundary(Box(Vector(0, 0), w, h));
                last_operation = "boundary " + std::to_string(w) + " x " + std::to_string(h);
                break;
            }
            default:
                p_o->setAvoidCollisions(pick(2) == 0);
                p_o->setNoSoft(pick(2) == 0);
                World::wm().moveObject(p_o, p_o->getPosition() + Vector(coordinate(-4, 4), coordinate(-4, 4)));
                last_operation = "avoiding move";
                break;
            }
            const std::string problems = worldtest::checkIndexes(alive, TYPES);
            ASSERT_EQ(problems, "") << "seed " << seed << ", step " << step << ", after " << last_operation;
        }
        // everything left goes with the world, and the world starts empty
        World::wm().shutDown();
        EXPECT_TRUE(alive.empty()) << "seed " << seed;
        ASSERT_EQ(World::wm().startUp(), 0);
        World::wm().setBoundary(Box(Vector(0, 0), 80, 24));
        EXPECT_EQ(worldtest::checkIndexes(alive, TYPES), "");
    }
}
