#include <vessik/world/WorldManager.h>

#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/services/Path.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/EventOut.h>
#include <vessik/world/Object.h>
#include <vessik/world/geometry.h>

#include <cmath>

namespace vk {

namespace {

// View objects are placed relative to the view, so their boxes say nothing
// about whether they are in it: they are drawn wherever their box is.
bool isDrawnAnywhere(const Object *p_o) { return dynamic_cast<const ViewObject *>(p_o) != nullptr; }

bool isValidExtent(const Box &box) {
    return isFinite(box.getCorner()) && std::isfinite(box.getHorizontal()) && std::isfinite(box.getVertical()) &&
           box.getHorizontal() >= 0 && box.getVertical() >= 0;
}

int refuseStranger(const char *operation, const Object *p_o) {
    LogManager::getInstance().writeLog("WorldManager::%s(): Error! Object %p is not in the game world.", operation,
                                       static_cast<const void *>(p_o));
    return -1;
}

Object *firstHard(const ObjectList &list) {
    for (int i = 0; i < list.getCount(); i++)
        if (list[i]->getSolidness() == HARD)
            return list[i];
    return nullptr;
}

// Steers an object that follows its path towards the current waypoint. A
// waypoint within three quarters of a step is reached: the object is put on
// it and heads for the next one in the same step. At the end it stops.
void followPath(Object *p_o) {
    if (!p_o->getFollowPath())
        return;
    Path path = p_o->getPath();
    while (!path.atEnd()) {
        const Vector waypoint = path.getCurrent();
        if (distance(p_o->getPosition(), waypoint) > p_o->getSpeed() * 3 * 0.25f) {
            p_o->setDirection(waypoint - p_o->getPosition());
            return;
        }
        p_o->setPosition(waypoint);
        p_o->setPath(path.next());
    }
    p_o->setDirection(Vector(0, 0));
    p_o->setFollowPath(false);
}

} // namespace

WorldManager::WorldManager() { setType("WorldManager"); }

WorldManager &WorldManager::getInstance() {
    static WorldManager world_manager;
    return world_manager;
}

int WorldManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }
    m_deletions.clear();
    m_boundary = Box();
    m_view = Box();
    m_view_slack = Vector();
    m_p_view_following = nullptr;
    // a stopped world holds no objects; start the indexes afresh
    m_scene_graph.shutDown();
    if (m_scene_graph.startUp() == -1) {
        log.writeLog("WorldManager::startUp(): Error! Unable to startup Scenegraph");
        return -1;
    }
    Manager::startUp();
    log.writeLog(5, "WorldManager::startUp(): successfully started.");
    return 0;
}

void WorldManager::shutDown() {
    Manager::shutDown();
    const ObjectList all = getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++)
        delete all[i];
    // objects marked during their own deletion are gone as well
    m_deletions.clear();
    m_p_view_following = nullptr;
    m_scene_graph.shutDown();
    LogManager::getInstance().writeLog(5, "WorldManager::shutDown(): Successfully stopped.");
}

bool WorldManager::isValid(std::string event_type) const {
    if (event_type == KEYBOARD_EVENT || event_type == MSE_EVENT || event_type == STEP_EVENT) {
        LogManager::getInstance().writeLog("WorldManager::isValid(): WorldManager does not handle %s",
                                           event_type.c_str());
        return false;
    }
    if (event_type == OUT_EVENT || event_type == COLLISION_EVENT) {
        LogManager::getInstance().writeLog("WorldManager::isValid(): Event %s handled automatically.",
                                           event_type.c_str());
        return false;
    }
    return true;
}

int WorldManager::insertObject(Object *p_o) {
    LogManager &log = LogManager::getInstance();
    if (!p_o) {
        log.writeLog("WorldManager::insertObject(): Error! Object is NULL");
        return -1;
    }
    if (!isStarted()) {
        log.writeLog(2, "WorldManager::insertObject(): Warning! Not adding Object %d", p_o->getId());
        log.writeLog(2, "%30sbecause WorldManager not started.", "");
        return -1;
    }
    return m_scene_graph.insertObject(p_o);
}

int WorldManager::removeObject(Object *p_o) {
    if (!p_o) {
        LogManager::getInstance().writeLog("WorldManager::removeObject(): Error! Object is NULL");
        return -1;
    }
    // nothing may keep pointing at an object that is going away
    m_deletions.remove(p_o);
    if (m_p_view_following == p_o)
        m_p_view_following = nullptr;
    return m_scene_graph.removeObject(p_o);
}

ObjectList WorldManager::getAllObjects(bool inactive) const {
    if (inactive)
        return m_scene_graph.activeObjects() + m_scene_graph.inactiveObjects();
    return m_scene_graph.activeObjects();
}

ObjectList WorldManager::objectsOfType(std::string type) { return m_scene_graph.objectsOfType(std::move(type)); }

ObjectList WorldManager::getCollisions(const Object *p_o, Vector where) const {
    return m_scene_graph.getCollisions(p_o, where);
}

int WorldManager::markForDelete(Object *p_o) {
    // an object the world refused is not the world's to delete
    if (p_o && !p_o->isInWorld())
        return refuseStranger("markForDelete", p_o);
    if (m_deletions.contains(p_o))
        return 0;
    if (m_deletions.insert(p_o) == -1) {
        LogManager::getInstance().writeLog(
            "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
            static_cast<void *>(p_o));
        return -1;
    }
    return 0;
}

int WorldManager::moveObject(Object *p_o, Vector where) {
    LogManager &log = LogManager::getInstance();
    if (!p_o) {
        log.writeLog("WorldManager::moveObject(): Error! Object is NULL");
        return -1;
    }
    if (!isFinite(where)) {
        log.writeLog("WorldManager::moveObject(): Error! Position %s for Object %d not finite.",
                     where.toString().c_str(), p_o->getId());
        return -1;
    }

    if (p_o->isSolid()) {
        ObjectList collisions = getCollisions(p_o, where);

        // slide along the first HARD obstacle instead of stopping at it
        Object *p_hard = nullptr;
        if (!collisions.isEmpty() && p_o->getSolidness() == HARD && p_o->getAvoidCollisions())
            p_hard = firstHard(collisions);
        if (p_hard) {
            const Vector normal = getNormal(p_o, p_hard);
            const Vector direction = p_o->getDirection();
            const float nx = std::fabs(normal.getX());
            const float ny = std::fabs(normal.getY());
            Vector slide(direction.getX() * ny, direction.getY() * nx);
            if (nx == 1 && ny == 1)
                slide.setX(-slide.getX());
            slide.normalize();
            slide.scale(p_o->getSpeed());
            const Vector target = p_o->getPosition() + slide;
            ObjectList again = getCollisions(p_o, target);
            if (firstHard(again)) {
                log.writeLog(5, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
                return -1;
            }
            collisions = again;
            where = target;
        }

        if (!collisions.isEmpty()) {
            // every collision is told before the move is decided
            const Vector before = p_o->getPosition();
            bool blocked = false;
            for (int i = 0; i < collisions.getCount(); i++) {
                Object *p_other = collisions[i];
                const EventCollision collision(p_o, p_other, where);
                p_o->eventHandler(&collision);
                p_other->eventHandler(&collision);
                if ((p_o->getSolidness() == HARD && p_other->getSolidness() == HARD) ||
                    (p_o->getNoSoft() && p_other->getSolidness() == SOFT))
                    blocked = true;
            }
            if (blocked || p_o->getPosition() != before)
                return -1;
        }
    }

    const Box old_box = getWorldBox(p_o);
    if (p_o->setPosition(where) == -1)
        return -1;
    const Box new_box = getWorldBox(p_o);

    if (boxIntersectsBox(old_box, m_boundary) && !boxIntersectsBox(new_box, m_boundary)) {
        const EventOut out;
        p_o->eventHandler(&out);
    }

    if (p_o == m_p_view_following)
        followWithView(p_o);
    return 0;
}

void WorldManager::followWithView(const Object *p_o) {
    const float half_h = m_view.getHorizontal() / 2;
    const float half_v = m_view.getVertical() / 2;
    float cx = m_view.getCorner().getX() + half_h;
    float cy = m_view.getCorner().getY() + half_v;
    const float slack_x = m_view_slack.getX() * half_h;
    const float slack_y = m_view_slack.getY() * half_v;
    const Vector position = p_o->getPosition();

    if (position.getX() < cx - slack_x)
        cx -= (cx - slack_x) - position.getX();
    else if (position.getX() > cx + slack_x)
        cx += position.getX() - (cx + slack_x);
    if (position.getY() < cy - slack_y)
        cy -= (cy - slack_y) - position.getY();
    else if (position.getY() > cy + slack_y)
        cy += position.getY() - (cy + slack_y);
    setViewPosition(Vector(cx, cy));
}

void WorldManager::update() {
    // objects created during this step wait for the next one
    const ObjectList moving = m_scene_graph.activeObjects();
    const Grid &grid = m_scene_graph.getGrid();
    for (int i = 0; i < moving.getCount(); i++) {
        // the objects a few places ahead, and the cells of those half as far
        // ahead, which have arrived by now, for their collision queries
        moving.prefetch(i + ObjectList::PREFETCH_AHEAD);
        if (i + ObjectList::PREFETCH_AHEAD / 2 < moving.getCount())
            grid.prefetch(moving[i + ObjectList::PREFETCH_AHEAD / 2]);
        Object *p_o = moving[i];
        // a handler earlier in this step may have put it to sleep
        if (!p_o->isActive())
            continue;
        const Vector where = p_o->predictPosition();
        if (where != p_o->getPosition())
            moveObject(p_o, where);
        followPath(p_o);
        const Vector acceleration = p_o->getAcceleration();
        if (!acceleration.isZero())
            p_o->setVelocity(p_o->getVelocity() + acceleration);
    }

    // destructors remove their objects from the list; objects marked while
    // these are deleted wait for the next step
    const ObjectList doomed = m_deletions.toList();
    m_deletions.clear();
    for (int i = 0; i < doomed.getCount(); i++)
        delete doomed[i];
}

void WorldManager::draw() {
    for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
        const ObjectList visible = m_scene_graph.visibleObjects(altitude);
        for (int i = 0; i < visible.getCount(); i++) {
            Object *p_o = visible[i];
            if (isDrawnAnywhere(p_o) || boxIntersectsBox(getWorldBox(p_o), m_view))
                p_o->draw();
        }
    }
}

int WorldManager::setBoundary(Box boundary) {
    if (boundary == m_boundary)
        return 0;
    if (!isValidExtent(boundary)) {
        LogManager::getInstance().writeLog(
            "WorldManager::setBoundary(): Error! Boundary %s not finite or negative. Ignored.",
            boundary.toString().c_str());
        return -1;
    }
    m_boundary = boundary;
    if (!isStarted())
        return 0;
    // the grid is cut to the boundary: build it again
    m_scene_graph.shutDown();
    return m_scene_graph.startUp();
}

int WorldManager::setView(Box view) {
    if (!isValidExtent(view)) {
        LogManager::getInstance().writeLog("WorldManager::setView(): Error! View %s not finite or negative. Ignored.",
                                           view.toString().c_str());
        return -1;
    }
    m_view = view;
    return 0;
}

int WorldManager::setViewPosition(Vector centre) {
    if (!isFinite(centre)) {
        LogManager::getInstance().writeLog(
            "WorldManager::setViewPosition(): Error! Position %s not finite. Ignored.", centre.toString().c_str());
        return -1;
    }
    float x = centre.getX() - m_view.getHorizontal() / 2;
    float y = centre.getY() - m_view.getVertical() / 2;
    if (x + m_view.getHorizontal() > m_boundary.getHorizontal())
        x = m_boundary.getHorizontal() - m_view.getHorizontal();
    if (y + m_view.getVertical() > m_boundary.getVertical())
        y = m_boundary.getVertical() - m_view.getVertical();
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    m_view.setCorner(Vector(x, y));
    return 0;
}

int WorldManager::setViewSlack(Vector slack) {
    const float x = slack.getX();
    const float y = slack.getY();
    // written so that NaN counts as out of range
    const bool in_range = x >= 0 && x <= 1 && y >= 0 && y <= 1;
    if (!in_range)
        LogManager::getInstance().writeLog("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
    if (!isFinite(slack))
        return -1;
    m_view_slack = slack;
    return 0;
}

int WorldManager::setViewFollowing(Object *p_o) {
    // only the world's objects tell it when they go
    if (p_o && !p_o->isInWorld())
        return refuseStranger("setViewFollowing", p_o);
    m_p_view_following = p_o;
    return 0;
}

} // namespace vk
