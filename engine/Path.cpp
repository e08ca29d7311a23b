#include "Path.h"

namespace vk {

bool Path::atEnd() const noexcept { return static_cast<std::size_t>(m_index) >= m_waypoints.size(); }

Vector Path::getCurrent() const noexcept {
    if (atEnd())
        return {};
    return m_waypoints[static_cast<std::size_t>(m_index)];
}

Path Path::next() noexcept {
    if (!atEnd())
        m_index++;
    return *this;
}

std::string Path::toString() const {
    std::string text;
    for (const Vector &waypoint : m_waypoints)
        text += waypoint.toString() + "|";
    return text;
}

bool Path::operator==(const Path &other) const noexcept {
    return m_index == other.m_index && m_waypoints == other.m_waypoints;
}

} // namespace vk
