#pragma once

#include <vessik/export.h>

namespace vk {

class Object;

// A growable list of non-owning object pointers, in insertion order. It is a
// value type: queries hand out copies, so a caller can walk a result while the
// world changes. The same pointer may be held more than once.
class VK_API ObjectList {
  public:
    ObjectList();
    ObjectList(const ObjectList &other);
    ObjectList &operator=(const ObjectList &other);
    ~ObjectList();

    // Appends; -1 for a null pointer or when the list cannot grow.
    int insert(Object *p_o);

    // Removes the first occurrence, keeping the order of the rest; -1 if absent.
    int remove(Object *p_o);

    // Forgets every pointer but keeps the slots.
    void clear() noexcept;

    [[nodiscard]] int getCount() const noexcept { return m_count; }
    [[nodiscard]] bool isEmpty() const noexcept { return m_count == 0; }

    // Throws std::out_of_range (after logging) for an index outside [0, count).
    Object *operator[](int index) const;

    // This list followed by every non-null pointer of `other`.
    ObjectList operator+(const ObjectList &other) const;

    // How far ahead of a walk prefetch() pays.
    static constexpr int PREFETCH_AHEAD = 8;
    // Starts loading into the processor's cache the fields of the object at
    // `index` (none outside the list) that a step uses, and with `handler`
    // the first fields of its own class too, which its event handler reads.
    // Objects lie scattered in memory: a walk over a long list that fetches
    // a few places ahead does not wait for each object in turn.
    void prefetch(int index, bool handler = false) const noexcept;

  private:
    void copyFrom(const ObjectList &other);
    bool grow();

    int m_count = 0;
    int m_max_count = 0;
    Object **m_p_list = nullptr;
};

} // namespace vk
