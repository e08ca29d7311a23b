#include <vessik/services/PathManager.h>

#include <vessik/core/Clock.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/services/EventPath.h>
#include <vessik/services/PathFind.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vk {

namespace {

// The node grid holds one node per world cell; a boundary beyond this many
// cells is not searched.
constexpr float MAX_SEARCH_CELLS = 1 << 20;

// The cell of `position` in a world of `width` x `height` cells counted from
// `corner`; false when the position lies outside it (or is not a number).
bool cellOf(Vector position, Vector corner, float width, float height, PathFind::Cell &cell) {
    const float x = std::trunc(position.getX() - corner.getX());
    const float y = std::trunc(position.getY() - corner.getY());
    if (!(x >= 0 && x < width && y >= 0 && y < height))
        return false;
    cell = PathFind::Cell{static_cast<int>(x), static_cast<int>(y)};
    return true;
}

} // namespace

PathManager::PathManager() { setType("PathManager"); }

PathManager::~PathManager() = default;

PathManager &PathManager::getInstance() {
    static PathManager path_manager;
    return path_manager;
}

int PathManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }
    m_cycle_time = GameManager::getInstance().getFrameTime() / 10;
    Manager::startUp();
    log.writeLog(5, "PathManager::startUp(): successfully started.");
    return 0;
}

void PathManager::shutDown() {
    Manager::shutDown();
    m_searches.clear();
    LogManager::getInstance().writeLog(5, "PathManager::shutDown(): successfully stopped.");
}

int PathManager::findPath(Object *p_o, Vector goal, Object *p_target) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    if (!p_o) {
        log.writeLog("PathManager::findPath(): Error! Object is NULL");
        return -1;
    }
    const Box boundary = WorldManager::getInstance().getBoundary();
    const float width = std::trunc(boundary.getHorizontal());
    const float height = std::trunc(boundary.getVertical());
    if (width < 1 || height < 1 || width * height > MAX_SEARCH_CELLS) {
        log.writeLog("PathManager::findPath(): Error! World boundary %s cannot be searched.",
                     boundary.toString().c_str());
        return -1;
    }
    PathFind::Cell start;
    const Vector corner = boundary.getCorner();
    if (!cellOf(p_o->getPosition(), corner, width, height, start)) {
        log.writeLog("PathManager::findPath(): Error! Object %d at %s is outside the world.", p_o->getId(),
                     p_o->getPosition().toString().c_str());
        return -1;
    }
    PathFind::Cell goal_cell;
    if (!cellOf(goal, corner, width, height, goal_cell)) {
        log.writeLog("PathManager::findPath(): Error! Goal %s is outside the world.", goal.toString().c_str());
        return -1;
    }

    auto search = std::make_unique<PathFind>(p_o, start, goal_cell, p_target, static_cast<int>(width),
                                             static_cast<int>(height), corner);
    PathFind *p_search = search.get();
    p_o->setPathFind(std::move(search));
    m_searches.push_back(p_search);
    log.writeLog(10, "PathManager::findPath(): Object %d from (%d,%d) to (%d,%d)", p_o->getId(), start.x, start.y,
                 goal_cell.x, goal_cell.y);
    return 0;
}

void PathManager::cycle(int time_limit) {
    if (m_searches.empty())
        return;
    const int budget = m_work_budget > 0 ? m_work_budget : std::max(m_cycle_time, time_limit);
    const Clock clock;
    int expansions = 0;
    // milliseconds, or node expansions under a work budget
    const auto spent = [&] { return m_work_budget > 0 ? expansions : clock.split() / 1000; };

    while (!m_searches.empty()) {
        if (spent() >= budget)
            break;
        for (std::size_t i = 0; i < m_searches.size(); i++) {
            PathFind *p_search = m_searches[i];
            const int result = p_search->cycleOnce();
            expansions++;
            if (result == PATH_NOT_FOUND || result == PATH_FOUND) {
                EventPath event;
                event.setResult(result);
                event.setPath(p_search->getPath());
                Object *p_o = p_search->getObject();
                // off the list before the object hears of it: its handler
                // deletes the search, and one that keeps it must not hear
                // the same result again every step. The next search moves
                // into this place and waits for the next pass.
                remove(p_search);
                if (p_o)
                    p_o->eventHandler(&event);
            }
            if (spent() > budget)
                break;
        }
    }
    if (spent() > budget)
        LogManager::getInstance().writeLog(5, "PathManager::cycle(): cycle time %d exceeded.", budget);
}

int PathManager::remove(PathFind *p) {
    if (!p)
        return -1;
    const auto end = std::remove(m_searches.begin(), m_searches.end(), p);
    if (end == m_searches.end())
        return -1;
    m_searches.erase(end, m_searches.end());
    return 0;
}

} // namespace vk
