#pragma once

#include <string>

namespace vk {

class Event;

// Most interests one object may hold.
inline constexpr int MAX_OBJ_EVENTS = 100;

// Base of everything in the game world. Game code creates objects with `new`;
// the world manager owns them from construction on and deletes them when they
// are marked for deletion (this is the one place raw `new` is the rule).
class Object {
  public:
    Object();
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;
    virtual ~Object();

    [[nodiscard]] int getId() const noexcept { return m_id; }
    void setId(int id);

    virtual void setType(std::string type);
    [[nodiscard]] std::string getType() const { return m_type; }

    // 1 when the event was handled, 0 when ignored.
    virtual int eventHandler(const Event *p_event);

    virtual int setActive(bool active = true);
    [[nodiscard]] bool isActive() const noexcept { return m_is_active; }

    // Registers with the manager that serves `event_type`; -1 on refusal or
    // when MAX_OBJ_EVENTS interests are held.
    int registerInterest(std::string event_type);
    int unregisterInterest(std::string event_type);

  private:
    int m_id = 0;
    std::string m_type = "(Undefined)";
    bool m_is_active = true;
    int m_event_count = 0;
    std::string m_event_name[MAX_OBJ_EVENTS];
};

} // namespace vk
