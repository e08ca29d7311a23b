#include <vessik/world/Box.h>

#include <vessik/core/utility.h>
#include <vessik/services/serialization.h>

#include <istream>
#include <ostream>

namespace vk {

bool Box::operator==(const Box &other) const noexcept {
    return m_corner == other.m_corner && m_horizontal == other.m_horizontal && m_vertical == other.m_vertical;
}

std::string Box::toString() const {
    return m_corner.toString() + " h: " + vk::toString(m_horizontal) + " v: " + vk::toString(m_vertical);
}

int Box::serialize(std::ostream &out) const {
    m_corner.serialize(out);
    writeFloat(out, m_horizontal);
    writeFloat(out, m_vertical);
    return checkStream("Box::serialize()", out);
}

int Box::deserialize(std::istream &in) {
    Vector corner;
    float horizontal = 0;
    float vertical = 0;
    if (corner.deserialize(in) == 0 && readFloat(in, horizontal) && readFloat(in, vertical)) {
        m_corner = corner;
        m_horizontal = horizontal;
        m_vertical = vertical;
    }
    return checkStream("Box::deserialize()", in);
}

} // namespace vk
