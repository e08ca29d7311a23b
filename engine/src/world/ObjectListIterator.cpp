#include <vessik/world/ObjectListIterator.h>

#include <vessik/world/ObjectList.h>

namespace vk {

void ObjectListIterator::next() noexcept {
    if (m_index < m_p_list->getCount())
        m_index++;
}

bool ObjectListIterator::isDone() const noexcept { return m_index >= m_p_list->getCount(); }

Object *ObjectListIterator::currentObject() const { return isDone() ? nullptr : (*m_p_list)[m_index]; }

} // namespace vk
