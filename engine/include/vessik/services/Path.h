#pragma once

#include <vessik/export.h>

#include <vessik/world/Vector.h>

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace vk {

// A list of waypoints in world coordinates and the index of the one to head
// for next. A value type: copy it freely. The path is finished once the index
// has passed the last waypoint; an empty path is finished from the start.
class VK_API Path {
  public:
    Path() = default;
    explicit Path(std::vector<Vector> waypoints) : m_waypoints(std::move(waypoints)) {}

    [[nodiscard]] bool atEnd() const noexcept;
    // The current waypoint, or (0,0) when the path is finished.
    [[nodiscard]] Vector getCurrent() const noexcept;
    // Moves on to the next waypoint, never beyond the end; returns the path
    // as it is afterwards.
    Path next() noexcept;

    [[nodiscard]] int getIndex() const noexcept { return m_index; }
    [[nodiscard]] std::size_t getCount() const noexcept { return m_waypoints.size(); }
    [[nodiscard]] const std::vector<Vector> &getWaypoints() const noexcept { return m_waypoints; }
    void addWaypoint(Vector waypoint) { m_waypoints.push_back(waypoint); }

    // Every waypoint's text followed by "|".
    [[nodiscard]] std::string toString() const;

    // The number of waypoints in 8 bytes, then each waypoint; the index is not
    // carried. Reading replaces the waypoints and keeps the index; a failed
    // read changes nothing. 0, or -1 when the stream is in error afterwards.
    int serialize(std::ostream &out) const;
    int deserialize(std::istream &in);

    bool operator==(const Path &other) const noexcept;
    bool operator!=(const Path &other) const noexcept { return !(*this == other); }

  private:
    std::vector<Vector> m_waypoints;
    int m_index = 0;
};

} // namespace vk
