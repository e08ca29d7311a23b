#include <vessik/core/Manager.h>

#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/Object.h>

#include <utility>

namespace vk {

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
    if (m_is_started)
        LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.", m_type.c_str());
    m_is_started = true;
    return 0;
}

void Manager::shutDown() {
    if (!m_is_started)
        LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.", m_type.c_str());
    m_is_started = false;
}

int Manager::findEvent(const std::string &event_type) const {
    for (int i = 0; i < m_event_count; i++)
        if (m_event_name[i] == event_type)
            return i;
    return -1;
}

int Manager::registerInterest(Object *p_o, std::string event_type) {
    LogManager &log = LogManager::getInstance();
    if (!isValid(event_type)) {
        log.writeLog("Manager(%s)::registerInterest(): Event '%s' not valid for this Manager", m_type.c_str(),
                     event_type.c_str());
        return -1;
    }

    const int i = findEvent(event_type);
    if (i >= 0) {
        if (m_obj_list[i].contains(p_o)) {
            log.writeLog(1, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
                         p_o->getId(), p_o->getType().c_str(), event_type.c_str());
            return 0;
        }
        return m_obj_list[i].insert(p_o);
    }

    if (m_event_count == MAX_EVENTS)
        return -1;
    m_event_name[m_event_count] = event_type;
    m_obj_list[m_event_count].clear();
    if (m_obj_list[m_event_count].insert(p_o) == -1)
        return -1;
    m_event_count++;
    return 0;
}

int Manager::unregisterInterest(Object *p_o, std::string event_type) {
    const int i = findEvent(event_type);
    if (i < 0)
        return -1;
    if (m_obj_list[i].remove(p_o) == -1)
        return -1;
    if (!m_obj_list[i].isEmpty())
        return 0;

    // the type has no interested object left: close the gap, keeping the order
    for (int j = i; j < m_event_count - 1; j++) {
        m_event_name[j] = std::move(m_event_name[j + 1]);
        m_obj_list[j] = std::move(m_obj_list[j + 1]);
    }
    m_event_count--;
    return 0;
}

int Manager::onEvent(const Event *p_event) const {
    const std::string type = p_event->getType();
    LogManager &log = LogManager::getInstance();
    if (type == UNDEFINED_EVENT) {
        log.writeLog(1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.", m_type.c_str(), type.c_str());
        return 0;
    }
    if (!isValid(type)) {
        log.writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.", m_type.c_str(), type.c_str());
        return 0;
    }

    // a type has one entry; looking no further also keeps an entry that a
    // handler empties and makes again from being delivered twice
    const int i = findEvent(type);
    if (i < 0)
        return 0;
    // copy first: handlers may (un)register interests during delivery
    const ObjectList interested = m_obj_list[i].toList();
    int count = 0;
    for (int j = 0; j < interested.getCount(); j++) {
        interested.prefetch(j + ObjectList::PREFETCH_AHEAD, true);
        Object *p_o = interested[j];
        if (p_o->isActive() && p_o->eventHandler(p_event) != 0)
            count++;
    }
    return count;
}

} // namespace vk
