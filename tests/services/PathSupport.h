#pragma once

// A started world and path manager built from a character map, and an object
// that records the path events it hears.

#include "TestEnv.h"

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/services/EventPath.h>
#include <vessik/services/Path.h>
#include <vessik/services/PathManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/Object.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace pathtest {

struct Heard {
    int result;
    vk::Path path;
};

// Records every path event, then lets the object take it as usual.
struct Walker : vk::Object {
    std::vector<Heard> heard;
    bool pass_on = true;
    explicit Walker(vk::Vector position) {
        setPosition(position);
        setSolidness(vk::SPECTRAL);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_path = dynamic_cast<const vk::EventPath *>(p_event))
            heard.push_back({p_path->getResult(), p_path->getPath()});
        return pass_on ? Object::eventHandler(p_event) : 1;
    }
};

// A started log, world and path manager. With a map, the boundary is the
// map's size, '#' is a HARD one-cell object, 'S' the start, 'G' the goal,
// '@' both and 'X' a wall on the goal.
struct World {
    vktest::TestEnv env;
    vk::Vector start, goal;

    explicit World(const std::vector<std::string> &map)
        : World(vk::Box(vk::Vector(0, 0), static_cast<float>(map[0].size()), static_cast<float>(map.size()))) {
        for (std::size_t y = 0; y < map.size(); y++)
            for (std::size_t x = 0; x < map[y].size(); x++) {
                const vk::Vector cell(static_cast<float>(x), static_cast<float>(y));
                const char c = map[y][x];
                if (c == '#' || c == 'X')
                    wall(cell);
                if (c == 'S' || c == '@')
                    start = cell;
                if (c == 'G' || c == '@' || c == 'X')
                    goal = cell;
            }
    }
    explicit World(vk::Box boundary) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(1);
        wm().startUp();
        wm().setBoundary(boundary);
        wm().setView(boundary);
        pm().startUp();
    }
    ~World() {
        pm().shutDown();
        wm().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
    World(const World &) = delete;
    World &operator=(const World &) = delete;

    static vk::Object *wall(vk::Vector where, vk::Solidness solidness = vk::HARD) {
        auto *p_o = new vk::Object();
        p_o->setPosition(where);
        p_o->setSolidness(solidness);
        return p_o;
    }
    static vk::PathManager &pm() { return vk::PathManager::getInstance(); }
    static vk::WorldManager &wm() { return vk::WorldManager::getInstance(); }
};

inline std::vector<vk::Vector> cells(std::initializer_list<std::pair<int, int>> list) {
    std::vector<vk::Vector> out;
    for (const auto &[x, y] : list)
        out.emplace_back(static_cast<float>(x), static_cast<float>(y));
    return out;
}

// The length of the walk along the waypoints.
inline double lengthOf(const vk::Path &path) {
    double length = 0;
    const std::vector<vk::Vector> &w = path.getWaypoints();
    for (std::size_t i = 1; i < w.size(); i++)
        length += std::hypot(w[i].getX() - w[i - 1].getX(), w[i].getY() - w[i - 1].getY());
    return length;
}

} // namespace pathtest
