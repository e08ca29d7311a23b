#pragma once

#include "ObjectList.h"

#include <cstddef>
#include <unordered_map>
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
class OrderedObjectSet {
  public:
    // Appends; -1 for a null pointer, an object held already, or when the
    // set cannot grow.
    int insert(Object *p_o);
    // -1 when the object is not held.
    int remove(const Object *p_o);
    [[nodiscard]] bool contains(const Object *p_o) const;
    void clear() noexcept;

    [[nodiscard]] int getCount() const noexcept { return static_cast<int>(m_slot_of.size()); }
    [[nodiscard]] bool isEmpty() const noexcept { return m_slot_of.empty(); }

    // The objects in the order they were added.
    [[nodiscard]] ObjectList toList() const;

  private:
    void squeeze();

    std::vector<Object *> m_slots; // null where an object was removed
    std::unordered_map<const Object *, std::size_t> m_slot_of;
};

} // namespace vk
