#include "WorldSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

using vk::Object;
using vk::Vector;
using worldtest::box;
using worldtest::contents;
using worldtest::Probe;
using worldtest::World;

namespace {

const std::set<std::string> TYPES = {"(Undefined)", "Surfer", "Shark", "Buoy", "Wave"};

} // namespace

TEST(SceneGraph, ChangesWhileInactiveTakeEffectOnWaking) {
    World world;
    auto *o = new Probe(Vector(19.8f, 4));
    auto *other = new Probe(Vector(50, 20));
    ASSERT_EQ(o->setActive(false), 0);
    o->setType("Buoy");
    EXPECT_TRUE(World::wm().objectsOfType("Buoy").isEmpty());
    o->setAltitude(0);
    o->setPosition(Vector(30, 12));
    ASSERT_EQ(o->setActive(true), 0);
    EXPECT_EQ(contents(World::wm().objectsOfType("Buoy")), std::vector<Object *>{o});
    EXPECT_EQ(contents(World::graph().visibleObjects(0)), std::vector<Object *>{o});
    EXPECT_EQ(contents(World::wm().getCollisions(other, Vector(30, 12))), std::vector<Object *>{o});
    EXPECT_EQ(worldtest::checkIndexes({o, other}, TYPES), "");
}

// Deleting most objects, putting one to sleep and waking it, and moving one
// to another altitude and back leave the rest in the order they came in; an
// object that comes back to a list is last in it.
TEST(SceneGraph, ListsAndDrawingKeepInsertionOrderThroughRemovals) {
    World world;
    std::vector<int> draws;
    std::vector<Probe *> probes;
    for (int i = 0; i < 30; i++) {
        auto *p = new Probe(Vector(static_cast<float>(i), 5), vk::SPECTRAL);
        p->setAltitude(2);
        p->setType("Spark");
        p->p_draws = &draws;
        probes.push_back(p);
    }
    std::vector<Probe *> kept;
    for (std::size_t i = 0; i < probes.size(); i++) {
        if (i % 3 == 0)
            kept.push_back(probes[i]);
        else
            World::wm().markForDelete(probes[i]);
    }
    World::wm().update();
    Probe *sleeper = kept[1];
    Probe *climber = kept[2];
    sleeper->setActive(false);
    sleeper->setActive(true);
    climber->setAltitude(3);
    climber->setAltitude(2);

    std::vector<Object *> active;
    std::vector<int> drawn;
    for (Probe *p : kept) {
        if (p != sleeper)
            active.push_back(p);
        if (p != sleeper && p != climber)
            drawn.push_back(p->getId());
    }
    active.push_back(sleeper);
    drawn.push_back(sleeper->getId());
    drawn.push_back(climber->getId());
    EXPECT_EQ(contents(World::wm().getAllObjects()), active);
    EXPECT_EQ(contents(World::wm().objectsOfType("Spark")), active);
    World::wm().draw();
    EXPECT_EQ(draws, drawn);
}

TEST(SceneGraph, MissingEntriesAreReportedOnlyWhileTheGameRuns) {
    World world;
    auto *o = new Probe();
    o->setType("Ghost");
    vk::SceneGraph stranger; // it has never seen the object
    ASSERT_EQ(stranger.startUp(), 0);
    EXPECT_EQ(stranger.updateVisible(o, false), -1);
    EXPECT_TRUE(world.env.logHas("SceneGraph::updateVisible(): unable to remove visible object (Ghost)"));
    EXPECT_EQ(stranger.removeObject(o), -1);
    EXPECT_EQ(world.env.logMessages().back().rfind("SceneGraph::removeObject(): Error removing Object (id " +
                                                       std::to_string(o->getId()) + ")! Pointer is ",
                                                   0),
              0u);
    vk::GameManager::getInstance().setGameOver(true);
    const std::size_t lines = world.env.logMessages().size();
    EXPECT_EQ(stranger.removeObject(o), 0);
    EXPECT_EQ(stranger.updateVisible(o, false), 0);
    EXPECT_EQ(stranger.updateAltitude(o, 3), 0);
    EXPECT_EQ(stranger.updateActive(o, false), -1); // a missing type entry always counts, silently
    EXPECT_EQ(world.env.logMessages().size(), lines);
    stranger.shutDown();
}

// Random sequences of every operation that touches an index, with a full walk
// of the indexes after each one.
TEST(SceneGraph, IndexesStayConsistentThroughRandomOperations) {
    World world(box(0, 0, 80, 24), "", 0);
    const std::vector<std::string> types(TYPES.begin(), TYPES.end());
    const char *const names[] = {"create", "toggle active", "toggle visible", "altitude", "solidness",
                                 "type",   "position",      "box",            "move",     "velocity and step",
                                 "delete", "boundary",      "avoiding move"};
    for (unsigned seed = 1; seed <= 6; seed++) {
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const auto at = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
        const auto someType = [&] { return types[static_cast<std::size_t>(pick(5))]; };
        std::set<Object *> alive;
        for (int step = 0; step < 400; step++) {
            Object *p_o = alive.empty() ? nullptr : *std::next(alive.begin(), pick(static_cast<int>(alive.size())));
            const int operation = alive.size() < 3 ? 0 : pick(13);
            switch (operation) {
            case 0: {
                auto *p = new Probe(Vector(at(-10, 90), at(-10, 34)), static_cast<vk::Solidness>(pick(3)));
                p->p_alive = &alive;
                p->setType(someType());
                p->setAltitude(pick(5));
                alive.insert(p);
                break;
            }
            case 1: p_o->setActive(!p_o->isActive()); break;
            case 2: p_o->setVisible(!p_o->isVisible()); break;
            case 3: p_o->setAltitude(pick(7) - 1); break;                           // -1 and 5 are refused
            case 4: p_o->setSolidness(static_cast<vk::Solidness>(pick(4))); break; // 3 is refused
            case 5: p_o->setType(someType()); break;
            case 6: p_o->setPosition(Vector(at(-30, 110), at(-30, 54))); break;
            case 7: p_o->setBox(box(at(-3, 0), at(-3, 0), at(0, 45), at(0, 20))); break;
            case 8: World::wm().moveObject(p_o, p_o->getPosition() + Vector(at(-25, 25), at(-10, 10))); break;
            case 9:
                p_o->setVelocity(Vector(at(-3, 3), at(-3, 3)));
                World::wm().update();
                break;
            case 10:
                World::wm().markForDelete(p_o);
                if (pick(2) == 0)
                    World::wm().markForDelete(p_o);
                World::wm().update();
                break;
            case 11: // empty boundaries too
                World::wm().setBoundary(box(0, 0, static_cast<float>(pick(4)) * 40, static_cast<float>(pick(4)) * 16));
                break;
            default:
                p_o->setAvoidCollisions(pick(2) == 0);
                p_o->setNoSoft(pick(2) == 0);
                World::wm().moveObject(p_o, p_o->getPosition() + Vector(at(-4, 4), at(-4, 4)));
                break;
            }
            ASSERT_EQ(worldtest::checkIndexes(alive, TYPES), "")
                << "seed " << seed << ", step " << step << ", after " << names[operation];
        }
        // everything left goes with the world, and the world starts empty
        World::wm().shutDown();
        EXPECT_TRUE(alive.empty()) << "seed " << seed;
        ASSERT_EQ(World::wm().startUp(), 0);
        World::wm().setBoundary(box(0, 0, 80, 24));
    }
}
