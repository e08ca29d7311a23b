#include <vessik/world/OrderedObjectSet.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace vk {

namespace {

constexpr std::size_t FIRST_TABLE_SIZE = 8;

} // namespace

std::size_t OrderedObjectSet::home(const Object *p_o) const noexcept {
    // objects are 16-byte aligned, so the low bits say nothing; multiplying
    // spreads the others over the table
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p_o)) >> 4;
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (m_table.size() - 1);
}

std::size_t OrderedObjectSet::find(const Object *p_o) const noexcept {
    if (!p_o || m_table.empty())
        return NOT_FOUND;
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t i = home(p_o);; i = (i + 1) & mask) {
        if (m_table[i].p_o == p_o)
            return i;
        if (!m_table[i].p_o)
            return NOT_FOUND;
    }
}

void OrderedObjectSet::place(Entry entry) noexcept {
    const std::size_t mask = m_table.size() - 1;
    std::size_t i = home(entry.p_o);
    while (m_table[i].p_o)
        i = (i + 1) & mask;
    m_table[i] = entry;
}

void OrderedObjectSet::erase(std::size_t index) noexcept {
    // pull back the entries after the freed one that probed past it, so that
    // a search never stops at a free entry short of what it looks for
    const std::size_t mask = m_table.size() - 1;
    std::size_t hole = index;
    for (std::size_t i = (hole + 1) & mask; m_table[i].p_o; i = (i + 1) & mask) {
        const std::size_t probed = (i - home(m_table[i].p_o)) & mask;
        if (probed >= ((i - hole) & mask)) {
            m_table[hole] = m_table[i];
            hole = i;
        }
    }
    m_table[hole] = Entry{nullptr, 0};
}

bool OrderedObjectSet::grow() {
    std::vector<Entry> old;
    try {
        old.assign(m_table.empty() ? FIRST_TABLE_SIZE : m_table.size() * 2, Entry{nullptr, 0});
    } catch (const std::bad_alloc &) {
        return false;
    }
    old.swap(m_table);
    for (const Entry &entry : old)
        if (entry.p_o)
            place(entry);
    return true;
}

int OrderedObjectSet::insert(Object *p_o) {
    if (!p_o || contains(p_o))
        return -1;
    if ((m_count + 1) * 2 > m_table.size() && !grow())
        return -1;
    try {
        m_slots.push_back(p_o);
    } catch (const std::bad_alloc &) {
        return -1;
    }
    place(Entry{p_o, m_slots.size() - 1});
    m_count++;
    return 0;
}

int OrderedObjectSet::remove(const Object *p_o) {
    const std::size_t index = find(p_o);
    if (index == NOT_FOUND)
        return -1;
    m_slots[m_table[index].slot] = nullptr;
    erase(index);
    m_count--;
    // holes at the end cost nothing to drop; elsewhere they wait until there
    // are as many as objects, so each squeeze is paid for by as many removals
    while (!m_slots.empty() && !m_slots.back())
        m_slots.pop_back();
    if (m_slots.size() > 2 * m_count)
        squeeze();
    return 0;
}

void OrderedObjectSet::squeeze() noexcept {
    std::size_t kept = 0;
    for (Object *p_o : m_slots) {
        if (!p_o)
            continue;
        m_table[find(p_o)].slot = kept;
        m_slots[kept++] = p_o;
    }
    m_slots.resize(kept);
}

void OrderedObjectSet::clear() noexcept {
    m_slots.clear();
    // every removal frees its entry: an empty set has a free table already
    if (m_count > 0)
        std::fill(m_table.begin(), m_table.end(), Entry{nullptr, 0});
    m_count = 0;
}

ObjectList OrderedObjectSet::toList() const {
    ObjectList list;
    for (Object *p_o : m_slots)
        if (p_o)
            list.insert(p_o);
    return list;
}

} // namespace vk
