#include "Object.h"

#include "Event.h"
#include "GameManager.h"
#include "LogManager.h"

namespace vk {

namespace {

int g_next_id = 1;

// The manager that serves an event type, or null when none does yet.
Manager *managerFor(const std::string &event_type) {
    if (event_type == STEP_EVENT)
        return &GameManager::getInstance();
    return nullptr;
}

} // namespace

Object::Object() : m_id(g_next_id++) {}

Object::~Object() {
    // from the last registered to the first, so each manager forgets us
    while (m_event_count > 0)
        unregisterInterest(m_event_name[m_event_count - 1]);
}

void Object::setId(int id) {
    if (id == m_id)
        return;
    if (id >= g_next_id)
        g_next_id = id + 1;
    m_id = id;
}

void Object::setType(std::string type) { m_type = std::move(type); }

int Object::eventHandler(const Event *) { return 0; }

int Object::setActive(bool active) {
    m_is_active = active;
    return 0;
}

int Object::registerInterest(std::string event_type) {
    if (m_event_count == MAX_OBJ_EVENTS) {
        LogManager::getInstance().writeLog(
            "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'", MAX_OBJ_EVENTS,
            event_type.c_str());
        return -1;
    }
    Manager *p_manager = managerFor(event_type);
    if (!p_manager || p_manager->registerInterest(this, event_type) == -1)
        return -1;
    m_event_name[m_event_count++] = std::move(event_type);
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
    Manager *p_manager = managerFor(event_type);
    if (!p_manager || p_manager->unregisterInterest(this, event_type) == -1)
        return -1;
    for (int i = index; i < m_event_count - 1; i++)
        m_event_name[i] = m_event_name[i + 1];
    m_event_count--;
    m_event_name[m_event_count].clear();
    return 0;
}

} // namespace vk
