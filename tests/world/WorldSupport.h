#pragma once

// Shared pieces of the world tests: a started world, an object that records
// what happens to it, and a walk over every index of the scene graph.

#include "TestEnv.h"

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace worldtest {

inline vk::Box box(float x, float y, float h, float v) { return vk::Box(vk::Vector(x, y), h, v); }

// A started log and world with the given boundary; the view is the same box.
// Stopping the world deletes every object the test left in it.
struct World {
    vktest::TestEnv env;
    explicit World(vk::Box boundary = box(0, 0, 80, 24), const std::string &config = "", int log_level = 1)
        : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
        vk::GameManager::getInstance().setGameOver(false);
        wm().startUp();
        wm().setBoundary(boundary);
        wm().setView(boundary);
    }
    ~World() {
        wm().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    World(const World &) = delete;
    World &operator=(const World &) = delete;
    static vk::WorldManager &wm() { return vk::WorldManager::getInstance(); }
    static vk::SceneGraph &graph() { return wm().getSceneGraph(); }
};

// Records the events it receives, the other object and the position of each
// collision, and its draws; runs an optional action in its handler. Always
// created with `new`: the world owns it.
struct Probe : vk::Object {
    std::vector<std::string> events;
    std::vector<vk::Object *> partners;
    std::vector<vk::Vector> hit_positions;
    std::function<void(const vk::Event *)> on_event;
    std::vector<int> *p_draws = nullptr;
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
        if (const auto *p_c = dynamic_cast<const vk::EventCollision *>(p_event)) {
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
    [[nodiscard]] long count(const std::string &type) const { return std::count(events.begin(), events.end(), type); }
};

inline std::vector<vk::Object *> contents(const vk::ObjectList &list) {
    std::vector<vk::Object *> out;
    for (int i = 0; i < list.getCount(); i++)
        out.push_back(list[i]);
    return out;
}

// Walks every index of the world's scene graph and checks it against the
// objects themselves: `objects` are all objects that exist, `types` every type
// any of them ever had. Returns "" when all agree, otherwise what is wrong.
inline std::string checkIndexes(const std::set<vk::Object *> &objects, std::set<std::string> types) {
    vk::SceneGraph &graph = World::graph();
    const vk::Grid &grid = graph.getGrid();
    std::map<std::string, std::multiset<const vk::Object *>> have, want;
    const auto cell = [](vk::CellKey k) { return "cell " + std::to_string(k.col) + "," + std::to_string(k.row); };
    for (const vk::Object *p_o : objects) {
        types.insert(p_o->getType());
        want[p_o->isActive() ? "active" : "inactive"].insert(p_o);
        if (!p_o->isActive())
            continue;
        want["type " + p_o->getType()].insert(p_o);
        if (p_o->isVisible())
            want["altitude " + std::to_string(p_o->getAltitude())].insert(p_o);
        if (p_o->isSolid()) {
            want["solid"].insert(p_o);
            for (vk::CellKey key : grid.cellsOf(p_o, p_o->getPosition()).keys())
                want[cell(key)].insert(p_o);
        }
    }
    const auto record = [&](const std::string &name, const vk::ObjectList &list) {
        for (vk::Object *p_o : contents(list))
            have[name].insert(p_o);
    };
    record("active", graph.activeObjects());
    record("inactive", graph.inactiveObjects());
    record("solid", graph.solidObjects());
    for (int altitude = 0; altitude <= vk::MAX_ALTITUDE; altitude++)
        record("altitude " + std::to_string(altitude), graph.visibleObjects(altitude));
    for (const std::string &type : types)
        record("type " + type, graph.objectsOfType(type));
    record(cell(vk::CellKey{}), grid.getCell(vk::CellKey{}));
    for (int r = 0; r < grid.getNumRows(); r++)
        for (int c = 0; c < grid.getNumCols(); c++)
            record(cell(vk::CellKey{c, r}), grid.getCell(vk::CellKey{c, r}));

    std::ostringstream problems;
    // the grid keeps boxes of its own: a query must find what a scan of every
    // active solid object finds
    std::vector<const vk::Object *> solid;
    for (const vk::Object *p_o : objects)
        if (p_o->isActive() && p_o->isSolid())
            solid.push_back(p_o);
    for (const vk::Object *p_o : solid) {
        std::multiset<const vk::Object *> found, scanned;
        for (vk::Object *p_hit : contents(grid.getCollisions(p_o, p_o->getPosition())))
            found.insert(p_hit);
        for (const vk::Object *p_other : solid)
            if (p_other != p_o && vk::boxIntersectsBox(vk::getWorldBox(p_other), vk::getWorldBox(p_o)))
                scanned.insert(p_other);
        if (found != scanned)
            problems << "object " << p_o->getId() << " collides with " << found.size() << " objects, not "
                     << scanned.size() << "\n";
    }
    for (const auto &entry : want)
        have[entry.first];
    for (const auto &entry : have)
        if (entry.second != want[entry.first])
            problems << entry.first << " list holds " << entry.second.size() << " entries, not "
                     << want[entry.first].size() << "\n";
    return problems.str();
}

} // namespace worldtest
