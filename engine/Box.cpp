#include "Box.h"

#include "utility.h"

namespace vk {

bool Box::operator==(const Box &other) const noexcept {
    return m_corner == other.m_corner && m_horizontal == other.m_horizontal && m_vertical == other.m_vertical;
}

std::string Box::toString() const {
    return m_corner.toString() + " h: " + vk::toString(m_horizontal) + " v: " + vk::toString(m_vertical);
}

} // namespace vk
