#include <vessik/world/ObjectList.h>

#include <vessik/core/LogManager.h>
#include <vessik/world/Object.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace vk {

ObjectList::ObjectList() {
    m_p_list = static_cast<Object **>(std::malloc(sizeof(Object *)));
    m_max_count = m_p_list ? 1 : 0;
}

ObjectList::ObjectList(const ObjectList &other) { copyFrom(other); }

ObjectList &ObjectList::operator=(const ObjectList &other) {
    if (this == &other)
        return *this;
    std::free(m_p_list);
    m_p_list = nullptr;
    copyFrom(other);
    return *this;
}

ObjectList::~ObjectList() { std::free(m_p_list); }

void ObjectList::copyFrom(const ObjectList &other) {
    m_count = 0;
    m_max_count = 0;
    if (other.m_max_count == 0)
        return;
    m_p_list = static_cast<Object **>(std::malloc(sizeof(Object *) * static_cast<std::size_t>(other.m_max_count)));
    if (!m_p_list)
        return;
    if (other.m_count > 0)
        std::memcpy(m_p_list, other.m_p_list, sizeof(Object *) * static_cast<std::size_t>(other.m_count));
    m_count = other.m_count;
    m_max_count = other.m_max_count;
}

bool ObjectList::grow() {
    if (m_max_count > std::numeric_limits<int>::max() / 2)
        return false;
    const int new_max = m_max_count == 0 ? 1 : m_max_count * 2;
    auto *p_new =
        static_cast<Object **>(std::realloc(m_p_list, sizeof(Object *) * static_cast<std::size_t>(new_max)));
    if (!p_new)
        return false;
    m_p_list = p_new;
    m_max_count = new_max;
    return true;
}

int ObjectList::insert(Object *p_o) {
    if (!p_o)
        return -1;
    if (m_count == m_max_count && !grow())
        return -1;
    m_p_list[m_count++] = p_o;
    return 0;
}

int ObjectList::remove(Object *p_o) {
    for (int i = 0; i < m_count; i++) {
        if (m_p_list[i] == p_o) {
            std::memmove(m_p_list + i, m_p_list + i + 1, sizeof(Object *) * static_cast<std::size_t>(m_count - i - 1));
            m_count--;
            return 0;
        }
    }
    return -1;
}

void ObjectList::clear() noexcept { m_count = 0; }

Object *ObjectList::operator[](int index) const {
    if (index < 0 || index >= m_count) {
        LogManager::getInstance().writeLog("ObjectList::operator[](): Error! Index %d out of range [0, %d]", index,
                                           m_count - 1);
        throw std::out_of_range("ObjectList::operator[](): Invalid index!");
    }
    return m_p_list[index];
}

void ObjectList::prefetch(int index, bool handler) const noexcept {
    if (index < 0 || index >= m_count)
        return;
    // the fields every step uses fill an object's first two cache lines; a
    // class's own fields follow those of Object. A line more than needed
    // only pushes other data out of the cache.
    const auto *p_bytes = reinterpret_cast<const char *>(m_p_list[index]);
    __builtin_prefetch(p_bytes);
    __builtin_prefetch(p_bytes + 64);
    if (handler)
        __builtin_prefetch(p_bytes + sizeof(Object));
}

ObjectList ObjectList::operator+(const ObjectList &other) const {
    ObjectList sum(*this);
    for (int i = 0; i < other.m_count; i++)
        sum.insert(other.m_p_list[i]);
    return sum;
}

} // namespace vk
