#include <vessik/world/SceneGraph.h>

#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>

namespace vk {

namespace {

bool validAltitude(int altitude) { return valueInRange(static_cast<float>(altitude), 0, MAX_ALTITUDE); }

bool gameOver() { return GameManager::getInstance().getGameOver(); }

bool isNull(const Object *p_o, const char *where) {
    if (p_o)
        return false;
    LogManager::getInstance().writeLog("SceneGraph::%s(): Error! Object is NULL", where);
    return true;
}

} // namespace

int SceneGraph::startUp() {
    m_type_map.clear();
    LogManager::getInstance().writeLog(1, "Scenegraph configuration: GRID");
    const bool had_grid = m_grid.isStarted();
    const int result = m_grid.startUp();

    // a restart for a new boundary keeps the objects: index them again
    const ObjectList objects = m_objects.toList();
    for (int i = 0; i < objects.getCount(); i++) {
        Object *p_o = objects[i];
        m_type_map[p_o->getType()].insert(p_o);
        if (p_o->isSolid() && !had_grid && result == 0)
            m_grid.insertObject(p_o);
    }
    return result;
}

void SceneGraph::shutDown() {
    m_type_map.clear();
    m_grid.shutDown();
}

int SceneGraph::insertObject(Object *p_o) {
    if (isNull(p_o, "insertObject"))
        return -1;
    LogManager &log = LogManager::getInstance();
    if (!p_o->isActive())
        return m_inactive_objects.insert(p_o);

    if (m_objects.insert(p_o) == -1) {
        log.writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)", p_o->getId());
        return -1;
    }
    if (m_type_map[p_o->getType()].insert(p_o) == -1) {
        log.writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map",
                     p_o->getId());
        return -1;
    }
    if (p_o->isSolid()) {
        if (m_solid_objects.insert(p_o) == -1) {
            log.writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)", p_o->getId());
            return -1;
        }
        if (m_grid.insertObject(p_o) == -1) {
            log.writeLog("SceneGraph::insertObject(): Error! unable to add to Grid (id %d)", p_o->getId());
            return -1;
        }
    }
    if (!p_o->isVisible())
        return 0;
    const int altitude = p_o->getAltitude();
    if (!validAltitude(altitude)) {
        log.writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]", altitude, 0,
                     MAX_ALTITUDE);
        return -1;
    }
    if (m_visible_objects[altitude].insert(p_o) == -1) {
        log.writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)", p_o->getId());
        return -1;
    }
    return 0;
}

int SceneGraph::removeObject(Object *p_o) {
    if (isNull(p_o, "removeObject"))
        return -1;
    bool failed = false;
    if (!p_o->isActive()) {
        failed = m_inactive_objects.remove(p_o) == -1;
    } else {
        failed |= m_objects.remove(p_o) == -1;
        const auto type_entry = m_type_map.find(p_o->getType());
        failed |= type_entry == m_type_map.end() || type_entry->second.remove(p_o) == -1;
        if (p_o->isVisible()) {
            const int altitude = p_o->getAltitude();
            failed |= !validAltitude(altitude) || m_visible_objects[altitude].remove(p_o) == -1;
        }
        if (p_o->isSolid()) {
            failed |= m_solid_objects.remove(p_o) == -1;
            failed |= m_grid.removeObject(p_o) == -1;
        }
    }
    if (failed && !gameOver()) {
        LogManager::getInstance().writeLog("SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                                           p_o->getId(), static_cast<void *>(p_o));
        return -1;
    }
    return 0;
}

ObjectList SceneGraph::activeObjects() const { return m_objects.toList(); }

ObjectList SceneGraph::inactiveObjects() const { return m_inactive_objects.toList(); }

ObjectList SceneGraph::solidObjects() const { return m_solid_objects.toList(); }

ObjectList SceneGraph::visibleObjects(int altitude) const {
    if (!validAltitude(altitude)) {
        LogManager::getInstance().writeLog("SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].",
                                           altitude, 0, MAX_ALTITUDE);
        return {};
    }
    return m_visible_objects[altitude].toList();
}

ObjectList SceneGraph::objectsOfType(std::string type) { return m_type_map[type].toList(); }

ObjectList SceneGraph::getCollisions(const Object *p_o, Vector where) const {
    return m_grid.getCollisions(p_o, where);
}

int SceneGraph::updateActive(Object *p_o, bool active) {
    if (isNull(p_o, "updateActive"))
        return -1;
    if (p_o->isActive() == active)
        return 0;
    LogManager &log = LogManager::getInstance();
    const std::string type = p_o->getType();
    const bool over = gameOver();
    int result = 0;
    // failures with a message only count while the game runs
    const auto failure = [&](const char *fmt) {
        if (over)
            return;
        log.writeLog(fmt, type.c_str());
        result = -1;
    };
    const int altitude = p_o->getAltitude();

    if (!active) {
        if (m_objects.remove(p_o) == -1)
            failure("SceneGraph::updateActive(): remove object (%s) failed for objects!");
        if (m_type_map[type].remove(p_o) == -1)
            result = -1;
        if (p_o->isVisible() && (!validAltitude(altitude) || m_visible_objects[altitude].remove(p_o) == -1))
            failure("SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!");
        if (p_o->isSolid()) {
            if (m_solid_objects.remove(p_o) == -1)
                failure("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!");
            if (m_grid.removeObject(p_o) == -1)
                return -1;
        }
        if (m_inactive_objects.insert(p_o) == -1)
            failure("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!");
        return result;
    }

    if (m_objects.insert(p_o) == -1)
        failure("SceneGraph::updateActive(): insert Object (%s) failed for objects!");
    if (m_type_map[type].insert(p_o) == -1) {
        log.writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!", type.c_str());
        return -1;
    }
    if (p_o->isVisible() && (!validAltitude(altitude) || m_visible_objects[altitude].insert(p_o) == -1))
        failure("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!");
    if (p_o->isSolid()) {
        if (m_solid_objects.insert(p_o) == -1)
            failure("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!");
        if (m_grid.insertObject(p_o) == -1)
            return -1;
    }
    if (m_inactive_objects.remove(p_o) == -1)
        failure("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!");
    return result;
}

int SceneGraph::updateVisible(Object *p_o, bool visible) {
    if (isNull(p_o, "updateVisible"))
        return -1;
    if (!p_o->isActive() || p_o->isVisible() == visible)
        return 0;
    const int altitude = p_o->getAltitude();
    const bool ok = validAltitude(altitude) && (visible ? m_visible_objects[altitude].insert(p_o)
                                                        : m_visible_objects[altitude].remove(p_o)) == 0;
    if (ok || gameOver())
        return 0;
    LogManager::getInstance().writeLog(visible ? "SceneGraph::updateVisible(): unable to add visible object (%s)"
                                               : "SceneGraph::updateVisible(): unable to remove visible object (%s)",
                                       p_o->getType().c_str());
    return -1;
}

int SceneGraph::updateAltitude(Object *p_o, int altitude) {
    if (isNull(p_o, "updateAltitude"))
        return -1;
    if (!p_o->isActive())
        return 0;
    LogManager &log = LogManager::getInstance();
    if (!validAltitude(altitude)) {
        log.writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.", altitude, 0,
                     MAX_ALTITUDE);
        return -1;
    }
    const int old_altitude = p_o->getAltitude();
    if (!validAltitude(old_altitude)) {
        log.writeLog("SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is unxepected. No update.",
                     old_altitude, 0, MAX_ALTITUDE);
        return -1;
    }
    if (!p_o->isVisible())
        return 0;
    if (m_visible_objects[old_altitude].remove(p_o) == -1 && !gameOver()) {
        log.writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!", old_altitude);
        log.writeLog("\tObject: type %s, id %d, p %p", p_o->getType().c_str(), p_o->getId(),
                     static_cast<void *>(p_o));
        return -1;
    }
    if (m_visible_objects[altitude].insert(p_o) == -1) {
        log.writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!", altitude);
        return -1;
    }
    return 0;
}

int SceneGraph::updateSolidness(Object *p_o, Solidness solidness) {
    if (isNull(p_o, "updateSolidness"))
        return -1;
    if (solidness != HARD && solidness != SOFT && solidness != SPECTRAL)
        return -1;
    if (!p_o->isActive())
        return 0;
    LogManager &log = LogManager::getInstance();
    const bool becomes_solid = solidness != SPECTRAL;
    if (p_o->isSolid() == becomes_solid)
        return 0;

    if (!becomes_solid) {
        if (m_solid_objects.remove(p_o) == -1 && !gameOver())
            log.writeLog("SceneGraph::updateSolidness(): unable to remove solid object (%s)",
                         p_o->getType().c_str());
        return m_grid.removeObject(p_o) == -1 ? -1 : 0;
    }

    if (m_solid_objects.insert(p_o) == -1 && !gameOver()) {
        log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object");
        return -1;
    }
    log.writeLog(20, "SceneGraph::updateSolidness(): Adding to grid.");
    if (m_grid.insertObject(p_o) == -1) {
        log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object (%d) into grid",
                     p_o->getId());
        return -1;
    }
    return 0;
}

int SceneGraph::updateType(Object *p_o, const std::string &type) {
    if (isNull(p_o, "updateType"))
        return -1;
    // inactive objects are in no type list; activation files them under the
    // type they have then
    if (!p_o->isActive())
        return 0;
    LogManager &log = LogManager::getInstance();
    const std::string old_type = p_o->getType();
    int result = 0;
    if (m_type_map[old_type].remove(p_o) == -1 && !gameOver()) {
        log.writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s", p_o->getId(),
                     old_type.c_str());
        result = -1;
    }
    if (m_type_map[type].insert(p_o) == -1 && !gameOver()) {
        log.writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s", p_o->getId(),
                     old_type.c_str());
        result = -1;
    }
    return result;
}

int SceneGraph::updatePosition(Object *p_o, Vector where) {
    if (isNull(p_o, "updatePosition"))
        return -1;
    if (!p_o->isSolid() || !p_o->isActive())
        return 0;
    if (m_grid.updatePosition(p_o, where) == -1) {
        LogManager::getInstance().writeLog(
            "SceneGraph::updatePosition(): Error! Calling grid updatePosition (Object %d).", p_o->getId());
        return -1;
    }
    return 0;
}

} // namespace vk
