#pragma once

#include <vessik/export.h>

#include <vessik/presentation/Shape.h>
#include <vessik/resources/Animation.h>
#include <vessik/services/Path.h>
#include <vessik/world/Box.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace vk {

class Event;
class PathFind;
class SceneGraph;

// Most interests one object may hold.
inline constexpr int MAX_OBJ_EVENTS = 100;

// The drawing layers: altitude 0 is drawn first, MAX_ALTITUDE last (on top).
inline constexpr int MAX_ALTITUDE = 4;

// Bits of the modified mask: one per attribute that can be serialized. A
// setter that changes an attribute sets its bit; serializing clears it.
namespace attr {
inline constexpr unsigned ID = 0x1;
inline constexpr unsigned ACTIVE = 0x2;
inline constexpr unsigned VISIBLE = 0x4;
inline constexpr unsigned EVENTS = 0x8;
inline constexpr unsigned BOX = 0x10;
inline constexpr unsigned POSITION = 0x20;
inline constexpr unsigned TYPE = 0x40;
inline constexpr unsigned ANIMATION = 0x80;
inline constexpr unsigned ALTITUDE = 0x100;
inline constexpr unsigned SOLIDNESS = 0x200;
inline constexpr unsigned NO_SOFT = 0x400;
inline constexpr unsigned SPEED = 0x800;
inline constexpr unsigned DIRECTION = 0x1000;
inline constexpr unsigned ACCELERATION = 0x2000;
inline constexpr unsigned SHAPE = 0x4000;
inline constexpr unsigned PATH = 0x8000;
inline constexpr unsigned FOLLOW_PATH = 0x10000;
inline constexpr unsigned AVOID_COLLISIONS = 0x20000;
// Every attribute of a plain object.
inline constexpr unsigned ALL_OBJECT = 0x3FFFF;
} // namespace attr

// Base of everything in the game world.
//
// Objects are created with `new` and belong to the world manager from their
// construction: it deletes them at the end of the step in which they are
// marked (WorldManager::markForDelete) or when it shuts down. Game code never
// deletes an object itself; this is the one place where a raw `new` hands
// over ownership. An object destroyed some other way (a test's stack object)
// still leaves the world and every interest list cleanly.
//
// The world refuses objects made while it is not running: it never lists,
// moves or deletes them, and their setters change the object alone. Those
// who made such an object delete it themselves.
//
// Every setter that affects the world's indexes tells the scene graph while
// the object still holds the old value, so the indexes always agree with it.
class VK_API Object {
  public:
    Object();
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;
    virtual ~Object();

    [[nodiscard]] int getId() const noexcept { return m_id; }
    void setId(int id);
    // The id the next object will take. Objects that take no id (particles)
    // lower it again after construction.
    [[nodiscard]] static int getNextId() noexcept;
    static void setNextId(int next_id) noexcept;

    // Whether the world was running, and so took the object, when it was made.
    [[nodiscard]] bool isInWorld() const noexcept { return m_is_in_world; }

    virtual void setType(std::string type);
    [[nodiscard]] std::string getType() const { return m_type; }

    // 0 on success; -1 for a position that is not finite.
    virtual int setPosition(Vector position);
    [[nodiscard]] Vector getPosition() const noexcept { return m_position; }

    // 1 when the event was handled, 0 when ignored. Handles the end of the
    // object's path search ("vk-path"): takes a path found and follows it,
    // and drops the search whatever its result. Subclasses that handle events
    // of their own pass the rest on to this one.
    virtual int eventHandler(const Event *p_event);

    virtual int setSolidness(Solidness solidness);
    [[nodiscard]] Solidness getSolidness() const noexcept { return m_solidness; }
    [[nodiscard]] bool isSolid() const noexcept { return m_solidness == HARD || m_solidness == SOFT; }

    // Slide along HARD obstacles instead of stopping at them.
    virtual void setAvoidCollisions(bool avoid = true);
    [[nodiscard]] bool getAvoidCollisions() const noexcept { return m_avoid_collisions; }

    virtual int setAltitude(int altitude);
    [[nodiscard]] int getAltitude() const noexcept { return m_altitude; }

    // Stored at unit length (a zero vector stays zero). -1 when not finite.
    virtual int setDirection(Vector direction);
    [[nodiscard]] Vector getDirection() const noexcept { return m_direction; }

    // Speed becomes the length of `velocity`, direction its unit vector.
    virtual int setVelocity(Vector velocity);
    // Direction times speed.
    [[nodiscard]] Vector getVelocity() const;

    // Added to the velocity every step.
    virtual int setAcceleration(Vector acceleration);
    [[nodiscard]] Vector getAcceleration() const noexcept { return m_acceleration; }

    [[nodiscard]] virtual bool isVisible() const;

    virtual int setActive(bool active = true);
    [[nodiscard]] bool isActive() const noexcept { return m_is_active; }

    // Relative to the position. -1 for negative or non-finite extents.
    virtual int setBox(Box box);
    [[nodiscard]] Box getBox() const noexcept { return m_box; }

    // Shows the sprite the resource manager knows by `label`, from its first
    // frame, and takes its box. -1 when there is no such sprite.
    virtual int setSprite(std::string label);
    // Takes a copy of the animation, its frame and transform included; with
    // `set_box`, also its box.
    virtual int setAnimation(Animation animation, bool set_box);
    [[nodiscard]] Animation getAnimation() const { return m_animation; }

    // Draws the animation at the position, then the shape over it; the
    // animation's result.
    virtual int draw();

    // Writes a record of the attributes named in `attr`, or of the modified
    // ones when `attr` is 0, and clears the bits of those it wrote. 0, or -1
    // when the stream is in error afterwards.
    virtual int serialize(std::ostream &out, unsigned attr = 0);
    // Reads a record and applies it through the setters, then clears the
    // modified mask; the mask read goes to `p_attr_out` when not null. A
    // record that runs short, or asks for more than the stream holds, ends
    // the reading with -1; what was applied before stays applied.
    virtual int deserialize(std::istream &in, unsigned *p_attr_out = nullptr);

    virtual void setModified(unsigned mask) { m_modified = mask; }
    [[nodiscard]] virtual unsigned getModified() const { return m_modified; }
    [[nodiscard]] bool isModified() const { return getModified() != 0; }

    // Drawn over the animation unless its type is SHAPE_NONE, which a new
    // object's shape has.
    virtual void setShape(Shape shape);
    [[nodiscard]] Shape getShape() const noexcept { return m_shape; }

    // Heads for the path's current waypoint while the path is not finished;
    // the world manager then steers along it every step until the end.
    virtual void setFollowPath(bool follow = true);
    [[nodiscard]] bool getFollowPath() const noexcept { return m_follow_path; }

    int setVisible(bool visible = true);

    // Units per step. -1 when not finite.
    int setSpeed(float speed);
    [[nodiscard]] float getSpeed() const noexcept { return m_speed; }

    // When set, SOFT objects block this object as HARD ones do.
    void setNoSoft(bool no_soft = true);
    [[nodiscard]] bool getNoSoft() const noexcept { return m_no_soft; }

    // Where the next step would put the object: position + direction * speed.
    [[nodiscard]] Vector predictPosition() const;

    // Registers with the manager that serves `event_type`; -1 on refusal or
    // when MAX_OBJ_EVENTS interests are held.
    int registerInterest(std::string event_type);
    int unregisterInterest(std::string event_type);
    [[nodiscard]] int getEventCount() const noexcept { return m_event_count; }
    // The name of interest `index` in registration order; "" out of range.
    [[nodiscard]] std::string getEventName(int index) const;

    // -1, changing nothing, for a path with a waypoint that is not finite.
    int setPath(Path path);
    [[nodiscard]] Path getPath() const { return m_path; }

    // The search for a path this object waits for, or null. The object owns
    // it; the path manager lists it while it runs (PathManager::findPath).
    [[nodiscard]] PathFind *getPathFind() const noexcept { return m_p_path_find.get(); }
    // Takes over `p_path_find`, dropping the search held before.
    void setPathFind(std::unique_ptr<PathFind> p_path_find);

  private:
    // The world's indexes, or null for an object the world refused.
    [[nodiscard]] SceneGraph *indexes() const;
    void dropPathFind();
    void unregisterAll();
    static Shape noShape();

    // what every step reads or writes of every object comes first, so that
    // it shares the object's first cache lines: a world of tens of thousands
    // of objects does not fit the processor's caches
    int m_id = 0;
    bool m_is_active = true;
    bool m_is_visible = true;
    bool m_no_soft = false;
    bool m_follow_path = false;
    bool m_avoid_collisions = false;
    Solidness m_solidness = HARD;
    int m_altitude = MAX_ALTITUDE / 2;
    Box m_box = Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    Vector m_position = Vector(1, 1);
    Vector m_direction;
    float m_speed = 0;
    Vector m_acceleration;
    unsigned m_modified = attr::ALL_OBJECT;
    int m_event_count = 0;
    std::string m_type = "(Undefined)";
    Animation m_animation;
    // in registration order, at most MAX_OBJ_EVENTS
    std::vector<std::string> m_event_name;
    Shape m_shape = noShape();
    std::unique_ptr<PathFind> m_p_path_find;
    Path m_path;
    bool m_is_in_world = false;
};

} // namespace vk
