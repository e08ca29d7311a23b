#pragma once

#include <vessik/export.h>

#include <vessik/world/Box.h>
#include <vessik/world/Vector.h>

namespace vk {

class Object;

// Geometry of the world. Boxes include their edges, so boxes that merely
// touch intersect. World units are character cells, x right and y down.

[[nodiscard]] VK_API float distance(Vector p1, Vector p2);

[[nodiscard]] VK_API bool boxContainsPosition(Box b, Vector p);

[[nodiscard]] VK_API bool boxIntersectsBox(Box a, Box b);

// The object's box moved to its position, or to `where`: the cells it covers
// (would cover) in the world. A null object gives an empty box at the origin.
[[nodiscard]] VK_API Box getWorldBox(const Object *p_o);
[[nodiscard]] VK_API Box getWorldBox(const Object *p_o, Vector where);

// Conversions between world positions and positions relative to the world
// manager's current view.
[[nodiscard]] VK_API Vector worldToView(Vector world_pos);
[[nodiscard]] VK_API Vector viewToWorld(Vector view_pos);

// The side of `p_obstacle` on which `p_mover` is when it runs into it along
// its velocity: each component -1, 0 or 1; (0,0) when no side touches. The
// sides win over the corners, above over below, left over right.
[[nodiscard]] VK_API Vector getNormal(const Object *p_mover, const Object *p_obstacle);

// True when both components are finite numbers.
[[nodiscard]] VK_API bool isFinite(Vector v) noexcept;

} // namespace vk
