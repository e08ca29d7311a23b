#pragma once

#include <vessik/export.h>

#include <vessik/services/Path.h>
#include <vessik/world/Box.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace vk {

class Object;

// What one step of a search reports besides PATH_NOT_FOUND and PATH_FOUND
// (EventPath.h): it has more cells to look at.
inline constexpr int PATH_SEARCHING = 1;

// One A* search for a way through the world's cells for one object, run one
// cell at a time (cycleOnce) so that the path manager can spread it over as
// many steps as it needs.
//
// The object that will walk the path owns its search (Object::setPathFind);
// the path manager lists it, without owning it, while it runs. Cells count
// whole units from the corner of the world boundary: cell (x, y) stands for
// the position corner + (x, y). A cell is passable when the object, standing
// there, would touch no HARD object other than one covering the goal.
//
// With a target, the search also ends as soon as the object would touch the
// target placed at the goal. The target's box is copied when the search
// starts, so the target may go away while the search runs.
class VK_API PathFind {
  public:
    struct Cell {
        int x = 0;
        int y = 0;
        bool operator==(const Cell &other) const noexcept { return x == other.x && y == other.y; }
        bool operator!=(const Cell &other) const noexcept { return !(*this == other); }
    };

    // A search over `width` x `height` cells (the world boundary's extents)
    // counted from `corner` (the boundary's corner). The node grid is
    // allocated here, unless the size is not positive or the start lies
    // outside it; such a search fails at its first step.
    PathFind(Object *p_o, Cell start, Cell goal, const Object *p_target, int width, int height,
             Vector corner = Vector());
    PathFind(const PathFind &) = delete;
    PathFind &operator=(const PathFind &) = delete;

    // Looks at one more cell: PATH_FOUND when the goal (or the target) has
    // been reached, PATH_NOT_FOUND when no cell is left to look at,
    // PATH_SEARCHING otherwise.
    int cycleOnce();

    // Start to goal, one waypoint per cell; empty unless found.
    [[nodiscard]] Path getPath() const;

    // Whether the object may not stand in cell (x, y).
    [[nodiscard]] bool isBlocked(int x, int y) const;
    // Whether cell (x, y) has been looked at so far; false outside the grid.
    // Lets a game show a search while it runs.
    [[nodiscard]] bool isExpanded(int x, int y) const;

    [[nodiscard]] Object *getObject() const noexcept { return m_p_object; }
    [[nodiscard]] Cell getStart() const noexcept { return m_start; }
    // The cell reached when the target ended the search.
    [[nodiscard]] Cell getGoal() const noexcept { return m_goal; }
    [[nodiscard]] bool isFound() const noexcept { return m_found; }
    // Cells looked at so far.
    [[nodiscard]] int getExpandedCount() const noexcept { return m_expanded; }
    [[nodiscard]] bool hasGrid() const noexcept { return !m_nodes.empty(); }

  private:
    struct Node {
        float g = 0;
        float f = 0;
        Cell parent;
        // when the cell first joined the open list: among open cells of equal
        // f, the one that joined last is looked at first
        std::uint32_t order = 0;
        bool open = false;
        bool closed = false;
    };
    // An open cell as the heap knows it. Entries whose f no longer matches
    // their node (it has been lowered since) are dropped when they surface.
    struct OpenEntry {
        float f;
        std::uint32_t order;
        Cell cell;
    };

    Node &node(Cell c) { return m_nodes[static_cast<std::size_t>(c.y)][static_cast<std::size_t>(c.x)]; }
    [[nodiscard]] const Node &node(Cell c) const {
        return m_nodes[static_cast<std::size_t>(c.y)][static_cast<std::size_t>(c.x)];
    }
    [[nodiscard]] Vector positionOf(Cell c) const noexcept;
    static bool worse(const OpenEntry &a, const OpenEntry &b) noexcept;
    Cell takeBestOpen();
    void pushOpen(Cell c, const Node &n);

    Object *m_p_object = nullptr;
    std::optional<Box> m_target_box;
    Cell m_start;
    Cell m_goal;
    Vector m_corner;
    int m_width = 0;
    int m_height = 0;
    // m_height rows of m_width nodes
    std::vector<std::vector<Node>> m_nodes;
    std::vector<OpenEntry> m_open_heap;
    int m_open_count = 0;
    std::uint32_t m_next_order = 0;
    int m_expanded = 0;
    bool m_found = false;
};

} // namespace vk
