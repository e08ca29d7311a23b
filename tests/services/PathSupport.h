#pragma once

// Shared pieces of the path tests: a started world and path manager built
// from a character map, and an object that records the path events it hears.

#include "Box.h"
#include "Config.h"
#include "Event.h"
#include "EventPath.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "Path.h"
#include "PathManager.h"
#include "TestEnv.h"
#include "Vector.h"
#include "WorldManager.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace pathtest {

// One event as the walker heard it.
struct Heard {
    int result;
    vk::Path path;
};

// Records every path event, then lets the object take it as usual.
struct Walker : vk::Object {
    std::vector<Heard> heard;
    bool pass_on = true;

    explicit Walker(vk::Vector position, vk::Solidness solidness = vk::SPECTRAL) {
        setPosition(position);
        setSolidness(solidness);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_path = dynamic_cast<const vk::EventPath *>(p_event))
            heard.push_back({p_path->getResult(), p_path->getPath()});
        return pass_on ? Object::eventHandler(p_event) : 1;
    }
};

// A started log, world and path manager. With a map, the boundary is the
// map's size and every '#' is a HARD one-cell object; 'S' and 'G' mark the
// start and the goal, '@' both, 'X' a wall on the goal. Stopping the world deletes every object left in it.
struct World {
    vktest::TestEnv env;
    vk::Vector start;
    vk::Vector goal;

    explicit World(const std::vector<std::string> &map, int log_level = 1) : World(boxOf(map), log_level) {
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
    explicit World(vk::Box boundary, int log_level = 1) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
        vk::WorldManager::getInstance().startUp();
        vk::WorldManager::getInstance().setBoundary(boundary);
        vk::WorldManager::getInstance().setView(boundary);
        vk::PathManager::getInstance().startUp();
    }
    ~World() {
        vk::PathManager::getInstance().shutDown();
        vk::WorldManager::getInstance().shutDown();
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
    static vk::Box boxOf(const std::vector<std::string> &map) {
        return {vk::Vector(0, 0), static_cast<float>(map.empty() ? 0 : map[0].size()),
                static_cast<float>(map.size())};
    }
    static vk::PathManager &pm() { return vk::PathManager::getInstance(); }
    static vk::WorldManager &wm() { return vk::WorldManager::getInstance(); }

    // Cycles with an ample budget until no search is left.
    static void finish() {
        for (int cycles = 0; pm().getSearchCount() > 0 && cycles < 1000; cycles++)
            pm().cycle(1000);
    }
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
    for (std::size_t i = 1; i < w.size(); i++) {
        const double dx = w[i].getX() - w[i - 1].getX();
        const double dy = w[i].getY() - w[i - 1].getY();
        length += std::sqrt(dx * dx + dy * dy);
    }
    return length;
}

} // namespace pathtest
