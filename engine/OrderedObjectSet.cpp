#include "OrderedObjectSet.h"

#include <new>

namespace vk {

int OrderedObjectSet::insert(Object *p_o) {
    if (!p_o || contains(p_o))
        return -1;
    try {
        m_slots.push_back(p_o);
    } catch (const std::bad_alloc &) {
        return -1;
    }
    try {
        m_slot_of.emplace(p_o, m_slots.size() - 1);
    } catch (const std::bad_alloc &) {
        m_slots.pop_back();
        return -1;
    }
    return 0;
}

int OrderedObjectSet::remove(const Object *p_o) {
    const auto found = m_slot_of.find(p_o);
    if (found == m_slot_of.end())
        return -1;
    m_slots[found->second] = nullptr;
    m_slot_of.erase(found);
    // holes at the end cost nothing to drop; elsewhere they wait until there
    // are as many as objects, so each squeeze is paid for by as many removals
    while (!m_slots.empty() && !m_slots.back())
        m_slots.pop_back();
    if (m_slots.size() > 2 * m_slot_of.size())
        squeeze();
    return 0;
}

void OrderedObjectSet::squeeze() {
    std::size_t kept = 0;
    for (Object *p_o : m_slots) {
        if (!p_o)
            continue;
        m_slots[kept] = p_o;
        m_slot_of.at(p_o) = kept;
        kept++;
    }
    m_slots.resize(kept);
}

bool OrderedObjectSet::contains(const Object *p_o) const { return m_slot_of.count(p_o) != 0; }

void OrderedObjectSet::clear() noexcept {
    m_slots.clear();
    m_slot_of.clear();
}

ObjectList OrderedObjectSet::toList() const {
    ObjectList list;
    for (Object *p_o : m_slots)
        if (p_o)
            list.insert(p_o);
    return list;
}

} // namespace vk
