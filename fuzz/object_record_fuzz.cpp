// Feeds arbitrary bytes to Object::deserialize and ViewObject::deserialize.
// Whatever the bytes, a read must end with 0 or -1, never ask for more memory
// than the input could justify (the run sets -malloc_limit_mb), and leave an
// object whose whole state survives a trip through a record of its own.

#include <vessik/core/LogManager.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/world/Box.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "object_record_fuzz: %s\n", what);
        std::abort();
    }
}

bool sameObject(const vk::Object &a, const vk::Object &b) {
    if (a.getEventCount() != b.getEventCount())
        return false;
    for (int i = 0; i < a.getEventCount(); i++)
        if (a.getEventName(i) != b.getEventName(i))
            return false;
    return a.getId() == b.getId() && a.isActive() == b.isActive() && a.isVisible() == b.isVisible() &&
           a.getBox() == b.getBox() && a.getPosition() == b.getPosition() && a.getType() == b.getType() &&
           a.getAnimation().getName() == b.getAnimation().getName() &&
           a.getAnimation().getIndex() == b.getAnimation().getIndex() &&
           a.getAnimation().getSlowdownCount() == b.getAnimation().getSlowdownCount() &&
           a.getAnimation().getTransform() == b.getAnimation().getTransform() &&
           a.getAltitude() == b.getAltitude() && a.getSolidness() == b.getSolidness() &&
           a.getNoSoft() == b.getNoSoft() && a.getDirection() == b.getDirection() && a.getSpeed() == b.getSpeed() &&
           a.getAcceleration() == b.getAcceleration() && a.getShape().getType() == b.getShape().getType() &&
           a.getShape().getSize() == b.getShape().getSize() && a.getShape().getColor() == b.getShape().getColor() &&
           a.getShape().getAlpha() == b.getShape().getAlpha() && a.getFollowPath() == b.getFollowPath() &&
           a.getPath().getWaypoints() == b.getPath().getWaypoints() &&
           a.getAvoidCollisions() == b.getAvoidCollisions();
}

bool sameView(const vk::ViewObject &a, const vk::ViewObject &b) {
    return sameObject(a, b) && a.getValue() == b.getValue() && a.getViewString() == b.getViewString() &&
           a.getBorder() == b.getBorder() && a.getColor() == b.getColor() && a.getLocation() == b.getLocation() &&
           a.getDrawValue() == b.getDrawValue();
}

template <class T, class Same> void readInto(const std::string &bytes, unsigned everything, Same same) {
    auto *p_read = new T();
    std::istringstream in(bytes);
    const int result = p_read->deserialize(in);
    check(result == 0 || result == -1, "deserialize returned neither 0 nor -1");
    check(p_read->getEventCount() >= 0 && p_read->getEventCount() <= vk::MAX_OBJ_EVENTS, "interest count");

    // the state it ended in, whatever it is, travels whole
    std::stringstream record;
    check(p_read->serialize(record, everything) == 0, "serialize failed");
    auto *p_copy = new T();
    check(p_copy->deserialize(record) == 0, "own record not read back");
    check(same(*p_read, *p_copy), "own record read back differently");

    vk::WorldManager &world = vk::WorldManager::getInstance();
    world.markForDelete(p_read);
    world.markForDelete(p_copy);
    world.update();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // every message, the detailed ones included, is formatted and dropped
    setenv("VESSIK_LOG", "/dev/null", 1);
    setenv("VESSIK_CONFIG", "/nonexistent", 1);
    setenv("ALSOFT_DRIVERS", "null", 0);
    vk::LogManager &log = vk::LogManager::getInstance();
    if (log.startUp() != 0)
        std::abort();
    log.setLogLevel(25);
    vk::WorldManager &world = vk::WorldManager::getInstance();
    if (world.startUp() != 0 || world.setBoundary(vk::Box(vk::Vector(0, 0), 80, 24)) != 0)
        std::abort();
    world.setView(vk::Box(vk::Vector(0, 0), 80, 24));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    readInto<vk::Object>(bytes, vk::attr::ALL_OBJECT, sameObject);
    readInto<vk::ViewObject>(bytes, vk::attr::ALL_OBJECT | vk::attr::VALUE | vk::attr::APPEARANCE, sameView);
    return 0;
}
