#pragma once

#include <vessik/export.h>

#include <vessik/world/OrderedObjectSet.h>

#include <string>

namespace vk {

class Event;
class Object;

// Most event types a manager keeps interests for at one time.
inline constexpr int MAX_EVENTS = 100;

// Base of every engine service: a type name for the log, a started flag and a
// registry of the objects interested in each event type, in the order they
// registered. The registry holds non-owning pointers; objects unregister
// themselves when destroyed.
class VK_API Manager {
  public:
    Manager() = default;
    Manager(const Manager &) = delete;
    Manager &operator=(const Manager &) = delete;
    Manager(Manager &&) = delete;
    Manager &operator=(Manager &&) = delete;

    // Whether objects may register with this manager for `event_type`.
    [[nodiscard]] virtual bool isValid(std::string event_type) const;
    virtual ~Manager() = default;
    virtual int startUp();
    virtual void shutDown();

    [[nodiscard]] std::string getType() const { return m_type; }
    void setType(std::string type) { m_type = std::move(type); }
    [[nodiscard]] bool isStarted() const noexcept { return m_is_started; }

    // 0 on success, also when `p_o` was registered already; -1 otherwise.
    int registerInterest(Object *p_o, std::string event_type);
    int unregisterInterest(Object *p_o, std::string event_type);

    // Delivers the event to every active object that was interested when
    // delivery began, once each, in the order they registered; returns how
    // many handled it.
    int onEvent(const Event *p_event) const;

  private:
    [[nodiscard]] int findEvent(const std::string &event_type) const;

    std::string m_type = "Manager";
    int m_event_count = 0;
    std::string m_event_name[MAX_EVENTS];
    OrderedObjectSet m_obj_list[MAX_EVENTS];
    bool m_is_started = false;
};

} // namespace vk
