#include <vessik/world/Object.h>

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>
#include <vessik/display/InputManager.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/services/EventPath.h>
#include <vessik/services/NetworkManager.h>
#include <vessik/services/PathFind.h>
#include <vessik/services/PathManager.h>
#include <vessik/services/serialization.h>
#include <vessik/world/SceneGraph.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <climits>
#include <cmath>
#include <istream>
#include <ostream>

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

const char *boolText(bool value) { return value ? "true" : "false"; }

// A length for the log's "%d".
int logLength(std::uint64_t length) { return length > INT_MAX ? INT_MAX : static_cast<int>(length); }

// The smallest record of one interest: its length alone.
constexpr std::size_t MIN_NAME_BYTES = 8;

// How far from 1 the length of a normalized vector may be.
constexpr float UNIT_TOLERANCE = 1e-5f;

bool isValidBox(const Box &box) {
    return isFinite(box.getCorner()) && std::isfinite(box.getHorizontal()) && std::isfinite(box.getVertical()) &&
           box.getHorizontal() >= 0 && box.getVertical() >= 0;
}

// The id of a new object. The counter stops at the largest int rather than
// overflow, which an id read from a record could otherwise bring about.
int takeNextId() { return g_next_id < INT_MAX ? g_next_id++ : g_next_id; }

} // namespace

Object::Object() : m_id(takeNextId()) {
    WorldManager &world = WorldManager::getInstance();
    // a running world owns the object even if indexing it fails part-way,
    // so that deleting it still clears what was indexed
    m_is_in_world = world.isStarted();
    if (world.insertObject(this) == -1)
        LogManager::getInstance().writeLog("Object::Object(): Error! Unable to add %p to game world.",
                                           static_cast<void *>(this));
}

Object::~Object() {
    unregisterAll();
    dropPathFind();
    if (m_is_in_world && WorldManager::getInstance().removeObject(this) == -1)
        LogManager::getInstance().writeLog("Object::~Object(): Error! Unable to remove %p from game world.",
                                           static_cast<void *>(this));
}

void Object::setId(int id) {
    if (id == m_id)
        return;
    if (id >= g_next_id)
        g_next_id = id < INT_MAX ? id + 1 : INT_MAX;
    m_id = id;
    m_modified |= attr::ID;
}

void Object::setType(std::string type) {
    if (SceneGraph *p_graph = indexes())
        p_graph->updateType(this, type);
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
    if (SceneGraph *p_graph = indexes())
        p_graph->updatePosition(this, position);
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
    SceneGraph *p_graph = indexes();
    if (p_graph && p_graph->updateSolidness(this, solidness) == -1)
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
    SceneGraph *p_graph = indexes();
    if (p_graph && p_graph->updateAltitude(this, altitude) == -1)
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
    SceneGraph *p_graph = indexes();
    if (p_graph && p_graph->updateVisible(this, visible) == -1)
        return -1;
    m_is_visible = visible;
    m_modified |= attr::VISIBLE;
    return 0;
}

int Object::setActive(bool active) {
    if (active == m_is_active)
        return 0;
    SceneGraph *p_graph = indexes();
    if (p_graph && p_graph->updateActive(this, active) == -1)
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
    SceneGraph *p_graph = indexes();
    if (p_graph)
        p_graph->removeObject(this);
    m_box = box;
    if (p_graph)
        p_graph->insertObject(this);
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

SceneGraph *Object::indexes() const {
    return m_is_in_world ? &WorldManager::getInstance().getSceneGraph() : nullptr;
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

void Object::unregisterAll() {
    // from the last registered to the first, so each manager forgets us
    while (m_event_count > 0) {
        const int before = m_event_count;
        unregisterInterest(m_event_name.back());
        // a manager that refuses must not keep us here forever
        if (m_event_count == before) {
            m_event_name.pop_back();
            m_event_count--;
            m_modified |= attr::EVENTS;
        }
    }
}

std::string Object::getEventName(int index) const {
    if (index < 0 || index >= m_event_count)
        return "";
    return m_event_name[static_cast<std::size_t>(index)];
}

int Object::serialize(std::ostream &out, unsigned attr) {
    const LogManager &log = LogManager::getInstance();
    const unsigned modified = getModified();
    log.writeLog(20, "Object::serialize(): attr is %u, modified is %u (%s)", attr, modified, boolText(modified != 0));
    log.writeLog(25, "\t%s", bitText(attr).c_str());
    writeMask(out, attr != 0 ? attr : modified);

    // named by the caller, or else modified; each written bit is cleared,
    // but not when the stream took nothing: the change is still unsent
    const auto wanted = [&](unsigned bit) { return ((attr != 0 ? attr : modified) & bit) != 0; };
    const auto written = [this, &out](unsigned bit) {
        if (out.good())
            setModified(getModified() & ~bit);
    };

    if (wanted(attr::ID)) {
        writeInt(out, m_id);
        written(attr::ID);
        log.writeLog(25, "\tID: %d", m_id);
    }
    if (wanted(attr::ACTIVE)) {
        writeBool(out, m_is_active);
        written(attr::ACTIVE);
        log.writeLog(25, "\tACTIVE: %s", boolText(m_is_active));
    }
    if (wanted(attr::VISIBLE)) {
        writeBool(out, m_is_visible);
        written(attr::VISIBLE);
        log.writeLog(25, "\tVISIBLE: %s", boolText(m_is_visible));
    }
    if (wanted(attr::EVENTS)) {
        writeInt(out, m_event_count);
        for (const std::string &name : m_event_name)
            writeString(out, name);
        written(attr::EVENTS);
        log.writeLog(25, "\tEVENTS: %d", m_event_count);
        for (const std::string &name : m_event_name)
            log.writeLog(25, "\t\t%s (size %d)", name.c_str(), logLength(name.size()));
    }
    if (wanted(attr::BOX)) {
        m_box.serialize(out);
        written(attr::BOX);
        log.writeLog(25, "\tBOX: %s", m_box.toString().c_str());
    }
    if (wanted(attr::POSITION)) {
        m_position.serialize(out);
        written(attr::POSITION);
        log.writeLog(25, "\tPOSITION: %s", m_position.toString().c_str());
    }
    if (wanted(attr::TYPE)) {
        writeString(out, m_type);
        written(attr::TYPE);
        log.writeLog(25, "\tTYPE: %s", m_type.c_str());
    }
    if (wanted(attr::ANIMATION)) {
        m_animation.serialize(out);
        written(attr::ANIMATION);
        log.writeLog(25, "\tANIMATION: %s", m_animation.toString().c_str());
    }
    if (wanted(attr::ALTITUDE)) {
        writeInt(out, m_altitude);
        written(attr::ALTITUDE);
        log.writeLog(25, "\tALTITUDE: %d", m_altitude);
    }
    if (wanted(attr::SOLIDNESS)) {
        writeInt(out, static_cast<int>(m_solidness));
        written(attr::SOLIDNESS);
        log.writeLog(25, "\tSOLIDNESS: %s", vk::toString(m_solidness).c_str());
    }
    if (wanted(attr::NO_SOFT)) {
        writeBool(out, m_no_soft);
        written(attr::NO_SOFT);
        log.writeLog(25, "\tNO_SOFT: %s", boolText(m_no_soft));
    }
    if (wanted(attr::DIRECTION)) {
        m_direction.serialize(out);
        written(attr::DIRECTION);
        log.writeLog(25, "\tDIRECTION: %s", m_direction.toString().c_str());
    }
    if (wanted(attr::SPEED)) {
        writeFloat(out, m_speed);
        written(attr::SPEED);
        log.writeLog(25, "\tSPEED: %f", static_cast<double>(m_speed));
    }
    if (wanted(attr::ACCELERATION)) {
        m_acceleration.serialize(out);
        written(attr::ACCELERATION);
        log.writeLog(25, "\tACCELERATION: %s", m_acceleration.toString().c_str());
    }
    if (wanted(attr::SHAPE)) {
        m_shape.serialize(out);
        written(attr::SHAPE);
        log.writeLog(25, "\tSHAPE: %s", m_shape.toString().c_str());
    }
    if (wanted(attr::FOLLOW_PATH)) {
        writeBool(out, m_follow_path);
        written(attr::FOLLOW_PATH);
        log.writeLog(25, "\tFOLLOW_PATH: %s", boolText(m_follow_path));
    }
    if (wanted(attr::PATH)) {
        m_path.serialize(out);
        written(attr::PATH);
        log.writeLog(25, "\tPATH: %s", m_path.toString().c_str());
    }
    if (wanted(attr::AVOID_COLLISIONS)) {
        writeBool(out, m_avoid_collisions);
        written(attr::AVOID_COLLISIONS);
        log.writeLog(25, "\tAVOID_COLLISIONS: %s", boolText(m_avoid_collisions));
    }
    return checkStream("Object::serialize()", out);
}

int Object::deserialize(std::istream &in, unsigned *p_attr_out) {
    const LogManager &log = LogManager::getInstance();
    const char *const where = "Object::deserialize()";
    // a record that runs short stops here, with what was applied kept
    const auto stop = [&in, where] {
        checkStream(where, in);
        return -1;
    };

    std::uint32_t mask = 0;
    if (!readMask(in, mask))
        return stop();
    if (p_attr_out)
        *p_attr_out = mask;
    log.writeLog(20, "Object::deserialize(): attr %u (%s)", mask, bitText(mask).c_str());

    if (mask & attr::ID) {
        int id = 0;
        if (!readInt(in, id))
            return stop();
        setId(id);
        log.writeLog(25, "\tID: %d", id);
    }
    if (mask & attr::ACTIVE) {
        bool active = false;
        if (!readBool(in, active))
            return stop();
        setActive(active);
        log.writeLog(25, "\tACTIVE: %s", boolText(active));
    }
    if (mask & attr::VISIBLE) {
        bool visible = false;
        if (!readBool(in, visible))
            return stop();
        if (visible != isVisible())
            setVisible(visible);
        log.writeLog(25, "\tVISIBLE: %s", boolText(visible));
    }
    if (mask & attr::EVENTS) {
        unregisterAll();
        int count = 0;
        // every name takes at least its length: a count beyond the stream
        // fails before anything is registered
        if (!readInt(in, count) || (count > 0 && !canHold(in, static_cast<std::uint64_t>(count), MIN_NAME_BYTES)))
            return stop();
        log.writeLog(25, "\tEVENTS: %d", count);
        for (int i = 0; i < count; i++) {
            std::uint64_t length = 0;
            if (!readCount(in, length))
                return stop();
            log.writeLog(25, "\t\tsize %d", logLength(length));
            std::string name;
            const CharsRead read = readChars(in, length, name);
            if (read == CharsRead::NO_MEMORY) {
                log.writeLog("Object::deserialize(): Error! Cannot allocate %d bytes.", logLength(length));
                return -1;
            }
            if (read != CharsRead::OK)
                return stop();
            if (registerInterest(name) == -1)
                log.writeLog("Object::deserialize(): Error! Register interest: %s", name.c_str());
            else
                log.writeLog(25, "\t\t%s (size %d)", name.c_str(), logLength(name.size()));
        }
    }
    Box box;
    if (mask & attr::BOX) {
        if (box.deserialize(in) != 0)
            return stop();
        setBox(box);
        log.writeLog(25, "\tBOX: %s", box.toString().c_str());
    }
    if (mask & attr::POSITION) {
        Vector position;
        if (position.deserialize(in) != 0)
            return stop();
        setPosition(position);
        log.writeLog(25, "\tPOSITION: %s", position.toString().c_str());
    }
    if (mask & attr::TYPE) {
        std::uint64_t length = 0;
        if (!readCount(in, length))
            return stop();
        std::string type;
        const CharsRead read = readChars(in, length, type);
        if (read == CharsRead::NO_MEMORY) {
            log.writeLog("Object::deserialize(): Error! Cannot allocate %d bytes.", logLength(length));
            return -1;
        }
        if (read != CharsRead::OK)
            return stop();
        setType(type);
        log.writeLog(25, "\tTYPE: %s", type.c_str());
    }
    if (mask & attr::ANIMATION) {
        Animation animation;
        if (animation.deserialize(in) != 0)
            return stop();
        setAnimation(animation, true);
        if (!animation.getName().empty() && setSprite(animation.getName()) == 0) {
            // the sprite of that label again, at the frame the record had
            Animation linked = getAnimation();
            linked.setIndex(animation.getIndex());
            linked.setSlowdownCount(animation.getSlowdownCount());
            setAnimation(linked, true);
        }
        // the animation brings its sprite's box, but a box the record
        // carries itself is the one the object had
        if (mask & attr::BOX)
            setBox(box);
        log.writeLog(25, "\tANIMATION: %s", getAnimation().toString().c_str());
    }
    if (mask & attr::ALTITUDE) {
        int altitude = 0;
        if (!readInt(in, altitude))
            return stop();
        setAltitude(altitude);
        log.writeLog(25, "\tALTITUDE: %d", altitude);
    }
    if (mask & attr::SOLIDNESS) {
        int solidness = 0;
        if (!readInt(in, solidness))
            return stop();
        setSolidness(static_cast<Solidness>(solidness));
        log.writeLog(25, "\tSOLIDNESS: %s", vk::toString(static_cast<Solidness>(solidness)).c_str());
    }
    if (mask & attr::NO_SOFT) {
        bool no_soft = false;
        if (!readBool(in, no_soft))
            return stop();
        m_no_soft = no_soft;
        log.writeLog(25, "\tNO_SOFT: %s", boolText(no_soft));
    }
    if (mask & attr::DIRECTION) {
        Vector direction;
        if (direction.deserialize(in) != 0)
            return stop();
        setDirection(direction);
        // a direction from a record is unit length already: normalizing it
        // again could move its last bit
        if (isFinite(direction) && std::fabs(direction.getMagnitude() - 1) < UNIT_TOLERANCE)
            m_direction = direction;
        log.writeLog(25, "\tDIRECTION: %s", direction.toString().c_str());
    }
    if (mask & attr::SPEED) {
        float speed = 0;
        if (!readFloat(in, speed))
            return stop();
        // through the setter, which refuses a speed that is not a number
        setSpeed(speed);
        log.writeLog(25, "\tSPEED: %f", static_cast<double>(speed));
    }
    if (mask & attr::ACCELERATION) {
        Vector acceleration;
        if (acceleration.deserialize(in) != 0)
            return stop();
        setAcceleration(acceleration);
        log.writeLog(25, "\tACCELERATION: %s", acceleration.toString().c_str());
    }
    if (mask & attr::SHAPE) {
        Shape shape;
        if (shape.deserialize(in) != 0)
            return stop();
        setShape(shape);
        log.writeLog(25, "\tSHAPE: %s", shape.toString().c_str());
    }
    if (mask & attr::FOLLOW_PATH) {
        bool follow = false;
        if (!readBool(in, follow))
            return stop();
        setFollowPath(follow);
        log.writeLog(25, "\tFOLLOW_PATH: %s", boolText(follow));
    }
    if (mask & attr::PATH) {
        // a fresh path: it starts again at its first waypoint
        Path path;
        if (path.deserialize(in) != 0)
            return stop();
        setPath(path);
        log.writeLog(25, "\tPATH: %s", path.toString().c_str());
    }
    if (mask & attr::AVOID_COLLISIONS) {
        bool avoid = false;
        if (!readBool(in, avoid))
            return stop();
        setAvoidCollisions(avoid);
        log.writeLog(25, "\tAVOID_COLLISIONS: %s", boolText(avoid));
    }

    setModified(0);
    log.writeLog(20, "Object::deserialize(): done checking all types.");
    return checkStream(where, in);
}

} // namespace vk
