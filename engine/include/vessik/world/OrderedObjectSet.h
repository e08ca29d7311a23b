#pragma once

#include <vessik/export.h>

#include <vessik/world/ObjectList.h>

#include <cstddef>
#include <vector>

namespace vk {

class Object;

// Objects in the order they were added, each at most once: the long-lived
// indexes of the world and the managers' interest lists. Adding, finding and
// removing an object take constant time on average however long the set is,
// so a step in which thousands of particles come and go stays linear.
//
// A removal leaves a hole in its slot; the holes are squeezed out, keeping
// the order, once they outnumber the objects. Walks go through toList(), a
// copy, so a caller may walk it while the set changes. Holds non-owning
// pointers.
class VK_API OrderedObjectSet {
  public:
    // Appends; -1 for a null pointer, an object held already, or when the
    // set cannot grow.
    int insert(Object *p_o);
    // -1 when the object is not held.
    int remove(const Object *p_o);
    [[nodiscard]] bool contains(const Object *p_o) const { return find(p_o) != NOT_FOUND; }
    void clear() noexcept;

    [[nodiscard]] int getCount() const noexcept { return static_cast<int>(m_count); }
    [[nodiscard]] bool isEmpty() const noexcept { return m_count == 0; }

    // The objects in the order they were added.
    [[nodiscard]] ObjectList toList() const;

  private:
    // Where an object is in the slots. The table is open-addressed with
    // linear probing and at most half full; a null object marks a free entry.
    struct Entry {
        const Object *p_o;
        std::size_t slot;
    };
    static constexpr std::size_t NOT_FOUND = static_cast<std::size_t>(-1);

    [[nodiscard]] std::size_t home(const Object *p_o) const noexcept;
    // The table index of the object's entry, or NOT_FOUND.
    [[nodiscard]] std::size_t find(const Object *p_o) const noexcept;
    void place(Entry entry) noexcept;
    void erase(std::size_t index) noexcept;
    bool grow();
    void squeeze() noexcept;

    std::vector<Object *> m_slots; // null where an object was removed
    std::vector<Entry> m_table;
    std::size_t m_count = 0;
};

} // namespace vk
