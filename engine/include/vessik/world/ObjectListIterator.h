#pragma once

#include <vessik/export.h>

namespace vk {

class Object;
class ObjectList;

// Walks an object list by index. The list must outlive the iterator.
class VK_API ObjectListIterator {
  public:
    explicit ObjectListIterator(const ObjectList *p_list) noexcept : m_p_list(p_list) {}

    void first() noexcept { m_index = 0; }
    void next() noexcept;
    [[nodiscard]] bool isDone() const noexcept;
    // Null once the walk is done.
    [[nodiscard]] Object *currentObject() const;

  private:
    const ObjectList *m_p_list = nullptr;
    int m_index = 0;
};

} // namespace vk
