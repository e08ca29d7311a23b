#include <vessik/services/Path.h>

#include <vessik/core/utility.h>
#include <vessik/services/serialization.h>

#include <istream>
#include <ostream>

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

int Path::serialize(std::ostream &out) const {
    writeCount(out, m_waypoints.size());
    for (const Vector &waypoint : m_waypoints)
        waypoint.serialize(out);
    return checkStream("Path::serialize()", out);
}

int Path::deserialize(std::istream &in) {
    std::uint64_t count = 0;
    // a count beyond what the stream holds fails before any memory is taken
    if (readCount(in, count) && canHold(in, count, 2 * sizeof(float))) {
        std::vector<Vector> waypoints;
        for (std::uint64_t i = 0; i < count && in.good(); i++) {
            Vector waypoint;
            if (waypoint.deserialize(in) == 0)
                waypoints.push_back(waypoint);
        }
        if (in.good())
            m_waypoints = std::move(waypoints);
    }
    return checkStream("Path::deserialize()", in);
}

} // namespace vk
