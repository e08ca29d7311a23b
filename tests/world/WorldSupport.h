#pragma once

// Shared pieces of the world tests: a started world, an object that records
// what happens to it, and a walk over every index of the scene graph.

#include "Box.h"
#include "Config.h"
#include "Event.h"
#include "EventCollision.h"
#include "GameManager.h"
#include "Grid.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "SceneGraph.h"
#include "TestEnv.h"
#include "Vector.h"
#include "WorldManager.h"

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace worldtest {

// A started log and world with the given boundary; the view is the same box.
// Stopping the world deletes every object the test left in it.
struct World {
    vktest::TestEnv env;
    explicit World(vk::Box boundary = vk::Box(vk::Vector(0, 0), 80, 24), const std::string &config = "",
                   int log_level = 1)
        : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
        vk::GameManager::getInstance().setGameOver(false);
        vk::WorldManager::getInstance().startUp();
        vk::WorldManager::getInstance().setBoundary(boundary);
        vk::WorldManager::getInstance().setView(boundary);
    }
    ~World() {
        vk::WorldManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    World(const World &) = delete;
    World &operator=(const World &) = delete;

    static vk::WorldManager &wm() { return vk::WorldManager::getInstance(); }
    static vk::SceneGraph &graph() { return vk::WorldManager::getInstance().getSceneGraph(); }
};

// Records the events it receives and its draws; runs an optional action in
// its handler. Always created with `new`: the world owns it.
struct Probe : vk::Object {
    std::vector<std::string> events;
    std::vector<vk::Object *> partners;   // the other object of each collision
    std::vector<vk::Vector> hit_positions; // the position carried by each collision
    std::function<void(const vk::Event *)> on_event;
    std::vector<int> *p_draws = nullptr;   // shared log of drawn ids
    std::set<vk::Object *> *p_alive = nullptr;
    int *p_deleted = nullptr;

    explicit Probe(vk::Vector position = vk::Vector(1, 1), vk::Solidness solidness = vk::HARD) {
        setPosition(position);
        setSolidness(solidness);
    }
    ~Probe() override {
        if (p_alive)
            p_alive->erase(this);
        if (p_deleted)
            ++*p_deleted;
    }
    int eventHandler(const vk::Event *p_event) override {
        events.push_back(p_event->getType());
        if (p_event->getType() == vk::COLLISION_EVENT) {
            const auto *p_c = static_cast<const vk::EventCollision *>(p_event);
            partners.push_back(p_c->getObject1() == this ? p_c->getObject2() : p_c->getObject1());
            hit_positions.push_back(p_c->getPosition());
        }
        if (on_event)
            on_event(p_event);
        return 1;
    }
    int draw() override {
        if (p_draws)
            p_draws->push_back(getId());
        return 0;
    }
    [[nodiscard]] int count(const std::string &type) const {
        int n = 0;
        for (const std::string &e : events)
            n += e == type;
        return n;
    }
};

inline std::vector<vk::Object *> contents(const vk::ObjectList &list) {
    std::vector<vk::Object *> out;
    for (int i = 0; i < list.getCount(); i++)
        out.push_back(list[i]);
    return out;
}

inline int occurrences(const vk::ObjectList &list, const vk::Object *p_o) {
    int n = 0;
    for (int i = 0; i < list.getCount(); i++)
        n += list[i] == p_o;
    return n;
}

// Every key of the grid: the outside list first, then the cells.
inline std::vector<vk::CellKey> allKeys(const vk::Grid &grid) {
    std::vector<vk::CellKey> keys{vk::CellKey{}};
    for (int r = 0; r < grid.getNumRows(); r++)
        for (int c = 0; c < grid.getNumCols(); c++)
            keys.push_back(vk::CellKey{c, r});
    return keys;
}

// Walks every index of the world's scene graph and checks it against the
// objects themselves: `objects` are all objects that exist, `types` every type
// any of them ever had. Returns "" when all agree, otherwise what is wrong.
inline std::string checkIndexes(const std::set<vk::Object *> &objects, const std::set<std::string> &types) {
    vk::SceneGraph &graph = World::graph();
    const vk::Grid &grid = graph.getGrid();
    std::ostringstream problems;
    const vk::ObjectList active = graph.activeObjects();
    const vk::ObjectList inactive = graph.inactiveObjects();
    const vk::ObjectList solid = graph.solidObjects();
    const std::vector<vk::CellKey> keys = allKeys(grid);

    int active_count = 0;
    int solid_count = 0;
    int visible_count[vk::MAX_ALTITUDE + 1] = {};
    for (vk::Object *p_o : objects) {
        const std::string who = "object " + std::to_string(p_o->getId()) + " (" + p_o->getType() + "): ";
        const bool is_active = p_o->isActive();
        const bool in_grid = is_active && p_o->isSolid();
        active_count += is_active;
        solid_count += in_grid;
        if (occurrences(active, p_o) != (is_active ? 1 : 0))
            problems << who << "active list holds it " << occurrences(active, p_o) << " times\n";
        if (occurrences(inactive, p_o) != (is_active ? 0 : 1))
            problems << who << "inactive list holds it " << occurrences(inactive, p_o) << " times\n";
        if (occurrences(solid, p_o) != (in_grid ? 1 : 0))
            problems << who << "solid list holds it " << occurrences(solid, p_o) << " times\n";
        for (int altitude = 0; altitude <= vk::MAX_ALTITUDE; altitude++) {
            const bool expected = is_active && p_o->isVisible() && p_o->getAltitude() == altitude;
            visible_count[altitude] += expected;
            const int n = occurrences(graph.visibleObjects(altitude), p_o);
            if (n != (expected ? 1 : 0))
                problems << who << "altitude list " << altitude << " holds it " << n << " times\n";
        }
        for (const std::string &type : types) {
            const int n = occurrences(graph.objectsOfType(type), p_o);
            if (n != (is_active && type == p_o->getType() ? 1 : 0))
                problems << who << "type list " << type << " holds it " << n << " times\n";
        }
        const vk::CellSpan span = grid.cellsOf(p_o, p_o->getPosition());
        for (const vk::CellKey &key : keys) {
            const int n = occurrences(grid.getCell(key), p_o);
            if (n != (in_grid && span.contains(key) ? 1 : 0))
                problems << who << "cell (" << key.col << "," << key.row << ") holds it " << n << " times\n";
        }
    }

    // nothing that is not a live object may be left in any index
    if (active.getCount() != active_count)
        problems << "active list has " << active.getCount() << " entries for " << active_count << " objects\n";
    if (inactive.getCount() != static_cast<int>(objects.size()) - active_count)
        problems << "inactive list has " << inactive.getCount() << " entries\n";
    if (solid.getCount() != solid_count)
        problems << "solid list has " << solid.getCount() << " entries for " << solid_count << " objects\n";
    for (int altitude = 0; altitude <= vk::MAX_ALTITUDE; altitude++)
        if (graph.visibleObjects(altitude).getCount() != visible_count[altitude])
            problems << "altitude list " << altitude << " has extra entries\n";
    int typed = 0;
    for (const std::string &type : types)
        typed += graph.objectsOfType(type).getCount();
    if (typed != active_count)
        problems << "type lists hold " << typed << " entries for " << active_count << " objects\n";
    for (const vk::CellKey &key : keys) {
        const vk::ObjectList cell = grid.getCell(key);
        for (int i = 0; i < cell.getCount(); i++)
            if (objects.count(cell[i]) == 0)
                problems << "cell (" << key.col << "," << key.row << ") holds a dead object\n";
    }
    return problems.str();
}

} // namespace worldtest
