#include "Object.h"

#include "Event.h"
#include "EventPath.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "PathFind.h"
#include "PathManager.h"
#include "ResourceManager.h"
#include "SceneGraph.h"
#include "WorldManager.h"
#include "geometry.h"
#include "utility.h"

#include <cmath>

namespace vk {

namespace {

int g_next_id = 1;

bool isNetworkEvent(const std::string &event_type) {
    return event_type == NETWORK_EVENT || event_type == KEYBOARD_NETWORK_EVENT || event_type == MSE_NETWORK_EVENT ||
           event_type == NETWORK_CREATE_EVENT || event_type == CUSTOM_NETWORK_EVENT ||
           event_type == NETWORK_DELETE_EVENT || event_type == NETWORK_GAME_OVER_EVENT ||
           event_type == NETWORK_SYNC_EVENT;
}

// The manager that serves an event type: one line per manager, and the world
// manager serves every name no other manager claims.
Manager &managerFor(const std::string &event_type) {
    if (event_type == STEP_EVENT) return GameManager::getInstance();
    if (event_type == KEYBOARD_EVENT || event_type == MSE_EVENT) return InputManager::getInstance();
    if (isNetworkEvent(event_type)) return NetworkManager::getInstance();
    return WorldManager::getInstance();
}

SceneGraph &sceneGraph() { return WorldManager::getInstance().getSceneGraph(); }

bool isValidBox(const Box &box) {
    return isFinite(box.getCorner()) && std::isfinite(box.getHorizontal()) && std::isfinite(box.getVertical()) &&
           box.getHorizontal() >= 0 && box.getVertical() >= 0;
}

} // namespace

Object::Object() : m_id(g_next_id++) {
    if (WorldManager::getInstance().insertObject(this) == -1)
        LogManager::getInstance().writeLog("Object::Object(): Error! Unable to add %p to game world.",
                                           static_cast<void *>(this));
}

Object::~Object() {
    // from the last registered to the first, so each manager forgets us
    while (m_event_count > 0) {
        const int before = m_event_count;
        unregisterInterest(m_event_name.back());
        // a manager that refuses must not keep us here forever
        if (m_event_count == before) {
            m_event_name.pop_back();
            m_event_count--;
        }
    }
    dropPathFind();
    if (WorldManager::getInstance().removeObject(this) == -1)
        LogManager::getInstance().writeLog("Object::~Object(): Error! Unable to remove %p from game world.",
                                           static_cast<void *>(this));
}

void Object::setId(int id) {
    if (id == m_id)
        return;
    if (id >= g_next_id)
        g_next_id = id + 1;
    m_id = id;
    m_modified |= attr::ID;
}

void Object::setType(std::string type) {
    sceneGraph().updateType(this, type);
    m_type = std::move(type);
    m_modified |= attr::TYPE;
}

int Object::setPosition(Vector position) {
    if (position == m_position)
        return 0;
    if (!isFinite(position)) {
        LogManager::getInstance().writeLog("Object::setPosition(): Error! Position %s not finite. Ignored.",
                                           position.toString().c_str());
        return -1;
    }
    sceneGraph().updatePosition(this, position);
    m_position = position;
    m_modified |= attr::POSITION;
    return 0;
}

int Object::eventHandler(const Event *p_event) {
    if (!p_event || p_event->getType() != PATH_EVENT)
        return 0;
    const auto *p_path_event = dynamic_cast<const EventPath *>(p_event);
    if (!p_path_event) {
        LogManager::getInstance().writeLog("Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
        return 0;
    }
    if (p_path_event->getResult() == PATH_FOUND) {
        setPath(p_path_event->getPath());
        setFollowPath(true);
    }
    dropPathFind();
    return 1;
}

void Object::setPathFind(std::unique_ptr<PathFind> p_path_find) {
    dropPathFind();
    m_p_path_find = std::move(p_path_find);
}

void Object::dropPathFind() {
    if (!m_p_path_find)
        return;
    PathManager::getInstance().remove(m_p_path_find.get());
    m_p_path_find.reset();
}

int Object::setPath(Path path) {
    for (const Vector &waypoint : path.getWaypoints()) {
        if (!isFinite(waypoint)) {
            LogManager::getInstance().writeLog("Object::setPath(): Error! Waypoint %s not finite. Ignored.",
                                               waypoint.toString().c_str());
            return -1;
        }
    }
    m_path = std::move(path);
    m_modified |= attr::PATH;
    return 0;
}

void Object::setFollowPath(bool follow) {
    m_follow_path = follow;
    if (!m_path.atEnd())
        setDirection(m_path.getCurrent() - m_position);
    m_modified |= attr::FOLLOW_PATH;
}

int Object::setSolidness(Solidness solidness) {
    if (solidness == m_solidness)
        return 0;
    if (solidness != HARD && solidness != SOFT && solidness != SPECTRAL) {
        LogManager::getInstance().writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                                           static_cast<int>(solidness));
        return -1;
    }
    if (sceneGraph().updateSolidness(this, solidness) == -1)
        return -1;
    m_solidness = solidness;
    m_modified |= attr::SOLIDNESS;
    return 0;
}

void Object::setAvoidCollisions(bool avoid) {
    m_avoid_collisions = avoid;
    m_modified |= attr::AVOID_COLLISIONS;
}

int Object::setAltitude(int altitude) {
    if (altitude == m_altitude)
        return 0;
    if (!valueInRange(static_cast<float>(altitude), 0, MAX_ALTITUDE)) {
        LogManager::getInstance().writeLog("Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.",
                                           altitude, 0, MAX_ALTITUDE);
        return -1;
    }
    if (sceneGraph().updateAltitude(this, altitude) == -1)
        return -1;
    m_altitude = altitude;
    m_modified |= attr::ALTITUDE;
    return 0;
}

int Object::setDirection(Vector direction) {
    if (!isFinite(direction)) {
        LogManager::getInstance().writeLog("Object::setDirection(): Error! Direction %s not finite. Ignored.",
                                           direction.toString().c_str());
        return -1;
    }
    direction.normalize();
    m_direction = direction;
    m_modified |= attr::DIRECTION;
    return 0;
}

int Object::setVelocity(Vector velocity) {
    const float speed = velocity.getMagnitude();
    // finite components can still have a length beyond float range
    if (!isFinite(velocity) || !std::isfinite(speed)) {
        LogManager::getInstance().writeLog("Object::setVelocity(): Error! Velocity %s not finite. Ignored.",
                                           velocity.toString().c_str());
        return -1;
    }
    m_speed = speed;
    velocity.normalize();
    m_direction = velocity;
    m_modified |= attr::SPEED | attr::DIRECTION;
    return 0;
}

Vector Object::getVelocity() const {
    Vector velocity = m_direction;
    velocity.scale(m_speed);
    return velocity;
}

int Object::setAcceleration(Vector acceleration) {
    if (!isFinite(acceleration)) {
        LogManager::getInstance().writeLog("Object::setAcceleration(): Error! Acceleration %s not finite. Ignored.",
                                           acceleration.toString().c_str());
        return -1;
    }
    m_acceleration = acceleration;
    m_modified |= attr::ACCELERATION;
    return 0;
}

bool Object::isVisible() const { return m_is_visible; }

int Object::setVisible(bool visible) {
    if (visible == m_is_visible)
        return 0;
    if (sceneGraph().updateVisible(this, visible) == -1)
        return -1;
    m_is_visible = visible;
    m_modified |= attr::VISIBLE;
    return 0;
}

int Object::setActive(bool active) {
    if (active == m_is_active)
        return 0;
    if (sceneGraph().updateActive(this, active) == -1)
        return -1;
    m_is_active = active;
    m_modified |= attr::ACTIVE;
    return 0;
}

int Object::setBox(Box box) {
    if (box == m_box)
        return 0;
    if (!isValidBox(box)) {
        LogManager::getInstance().writeLog("Object::setBox(): Error! Box %s not finite or negative. Ignored.",
                                           box.toString().c_str());
        return -1;
    }
    // out and back in, so the grid cells are those of the new extent
    SceneGraph &graph = sceneGraph();
    graph.removeObject(this);
    m_box = box;
    graph.insertObject(this);
    m_modified |= attr::BOX;
    return 0;
}

int Object::setSprite(std::string label) {
    Sprite *p_sprite = ResourceManager::getInstance().getSprite(label);
    if (!p_sprite) {
        LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found", label.c_str());
        return -1;
    }
    // the animation changes in place: not a new animation for serializing
    m_animation.setSprite(p_sprite);
    setBox(m_animation.getBox());
    return 0;
}

int Object::setAnimation(Animation animation, bool set_box) {
    m_animation = std::move(animation);
    m_modified |= attr::ANIMATION;
    if (set_box)
        return setBox(m_animation.getBox());
    return 0;
}

int Object::draw() {
    const int result = m_animation.draw(m_position);
    if (m_shape.getType() != SHAPE_NONE)
        m_shape.draw(m_position);
    return result;
}

void Object::setShape(Shape shape) {
    m_shape = shape;
    m_modified |= attr::SHAPE;
}

Shape Object::noShape() {
    Shape shape;
    shape.setType(SHAPE_NONE);
    return shape;
}

int Object::getNextId() noexcept { return g_next_id; }

void Object::setNextId(int next_id) noexcept { g_next_id = next_id; }

int Object::setSpeed(float speed) {
    if (!std::isfinite(speed)) {
        LogManager::getInstance().writeLog("Object::setSpeed(): Error! Speed %s not finite. Ignored.",
                                           vk::toString(speed).c_str());
        return -1;
    }
    m_speed = speed;
    m_modified |= attr::SPEED;
    return 0;
}

void Object::setNoSoft(bool no_soft) {
    m_no_soft = no_soft;
    m_modified |= attr::NO_SOFT;
}

Vector Object::predictPosition() const { return m_position + getVelocity(); }

int Object::registerInterest(std::string event_type) {
    if (m_event_count == MAX_OBJ_EVENTS) {
        LogManager::getInstance().writeLog(
            "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'", MAX_OBJ_EVENTS,
            event_type.c_str());
        return -1;
    }
    if (managerFor(event_type).registerInterest(this, event_type) == -1)
        return -1;
    m_event_name.push_back(std::move(event_type));
    m_event_count++;
    m_modified |= attr::EVENTS;
    return 0;
}

int Object::unregisterInterest(std::string event_type) {
    int index = -1;
    for (int i = 0; i < m_event_count; i++) {
        if (m_event_name[i] == event_type) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        LogManager::getInstance().writeLog("Object::unregisterInterest(): event '%s' not previously registered",
                                           event_type.c_str());
        return -1;
    }
    if (managerFor(event_type).unregisterInterest(this, event_type) == -1)
        return -1;
    m_event_name.erase(m_event_name.begin() + index);
    m_event_count--;
    m_modified |= attr::EVENTS;
    return 0;
}

std::string Object::getEventName(int index) const {
    if (index < 0 || index >= m_event_count)
        return "";
    return m_event_name[static_cast<std::size_t>(index)];
}

} // namespace vk
