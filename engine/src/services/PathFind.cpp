#include <vessik/services/PathFind.h>

#include <vessik/core/LogManager.h>
#include <vessik/services/EventPath.h>
#include <vessik/world/Object.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

float straightLine(int dx, int dy) {
    const double x = dx;
    const double y = dy;
    return static_cast<float>(std::sqrt(x * x + y * y));
}

// The part of `allocated` cells that the world's boundary still covers: the
// boundary may have shrunk since the search started, and the node grid must
// never be read beyond what was allocated when it grew.
int usableExtent(int allocated, float boundary_extent) {
    return boundary_extent < static_cast<float>(allocated) ? static_cast<int>(boundary_extent) : allocated;
}

} // namespace

PathFind::PathFind(Object *p_o, Cell start, Cell goal, const Object *p_target, int width, int height,
                   Vector corner)
    : m_p_object(p_o), m_start(start), m_goal(goal), m_corner(corner) {
    if (p_target)
        m_target_box = p_target->getBox();
    const bool start_inside = start.x >= 0 && start.y >= 0 && start.x < width && start.y < height;
    if (!p_o || !start_inside)
        return;
    m_width = width;
    m_height = height;
    m_nodes.resize(static_cast<std::size_t>(height));
    for (std::vector<Node> &row : m_nodes)
        row.resize(static_cast<std::size_t>(width));
    // the costs are distances from the start
    node(start).g = 0;
}

Vector PathFind::positionOf(Cell c) const noexcept {
    return m_corner + Vector(static_cast<float>(c.x), static_cast<float>(c.y));
}

// The heap keeps its best entry on top: the smallest f and, among equal f,
// the cell that joined the open list last.
bool PathFind::worse(const OpenEntry &a, const OpenEntry &b) noexcept {
    return a.f > b.f || (a.f == b.f && a.order < b.order);
}

void PathFind::pushOpen(Cell c, const Node &n) {
    m_open_heap.push_back(OpenEntry{n.f, n.order, c});
    std::push_heap(m_open_heap.begin(), m_open_heap.end(), worse);
}

PathFind::Cell PathFind::takeBestOpen() {
    while (!m_open_heap.empty()) {
        std::pop_heap(m_open_heap.begin(), m_open_heap.end(), worse);
        const OpenEntry entry = m_open_heap.back();
        m_open_heap.pop_back();
        Node &n = node(entry.cell);
        if (n.open && n.f == entry.f) {
            n.open = false;
            m_open_count--;
            return entry.cell;
        }
    }
    // unreachable while m_open_count counts the open cells
    return m_start;
}

int PathFind::cycleOnce() {
    if (m_nodes.empty()) {
        LogManager::getInstance().writeLog("PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
        return PATH_NOT_FOUND;
    }

    const Cell current = m_open_count == 0 ? m_start : takeBestOpen();
    node(current).closed = true;
    m_expanded++;

    if (current == m_goal)
        m_found = true;
    if (m_target_box) {
        Box target = *m_target_box;
        target.setCorner(target.getCorner() + positionOf(m_goal));
        if (boxIntersectsBox(getWorldBox(m_p_object, positionOf(current)), target)) {
            m_found = true;
            m_goal = current;
        }
    }
    if (m_found)
        return PATH_FOUND;

    const Box boundary = WorldManager::getInstance().getBoundary();
    const int width = usableExtent(m_width, boundary.getHorizontal());
    const int height = usableExtent(m_height, boundary.getVertical());
    const float current_g = node(current).g;

    // each neighbour's blocking is asked at most once per expansion: the
    // diagonal rule asks again about the orthogonal neighbours
    enum : signed char { UNKNOWN = -1, FREE = 0, BLOCKED = 1 };
    signed char blocked[3][3] = {{UNKNOWN, UNKNOWN, UNKNOWN}, {UNKNOWN, UNKNOWN, UNKNOWN}, {UNKNOWN, UNKNOWN, UNKNOWN}};
    const auto isBlockedAt = [&](int dx, int dy) {
        signed char &state = blocked[dy + 1][dx + 1];
        if (state == UNKNOWN)
            state = isBlocked(current.x + dx, current.y + dy) ? BLOCKED : FREE;
        return state == BLOCKED;
    };

    for (int dy = -1; dy <= 1; dy++) {
        for (int dx = -1; dx <= 1; dx++) {
            if (dx == 0 && dy == 0)
                continue;
            const Cell n{current.x + dx, current.y + dy};
            if (n.x < 0 || n.y < 0 || n.x >= width || n.y >= height)
                continue;
            Node &neighbour = node(n);
            if (neighbour.closed)
                continue;
            if (isBlockedAt(dx, dy))
                continue;
            // squeezing between two blocked corners is not allowed; past one is
            if (dx != 0 && dy != 0 && isBlockedAt(dx, 0) && isBlockedAt(0, dy))
                continue;

            const float new_g = current_g + straightLine(dx, dy);
            if (neighbour.open && new_g > neighbour.g)
                continue;
            const float f = new_g + straightLine(n.x - m_goal.x, n.y - m_goal.y);
            const bool joins = !neighbour.open;
            const bool lowered = joins || f != neighbour.f;
            if (joins) {
                neighbour.open = true;
                neighbour.order = m_next_order++;
                m_open_count++;
            }
            neighbour.parent = current;
            neighbour.g = new_g;
            neighbour.f = f;
            if (lowered)
                pushOpen(n, neighbour);
        }
    }
    return m_open_count > 0 ? PATH_SEARCHING : PATH_NOT_FOUND;
}

bool PathFind::isBlocked(int x, int y) const {
    const ObjectList hits = WorldManager::getInstance().getCollisions(m_p_object, positionOf(Cell{x, y}));
    const Vector goal = positionOf(m_goal);
    // every HARD object there blocks, except one that covers the goal: the
    // goal itself may well be inside what the object is heading for
    for (int i = 0; i < hits.getCount(); i++) {
        const Object *p_o = hits[i];
        if (p_o->getSolidness() == HARD && !boxContainsPosition(getWorldBox(p_o), goal))
            return true;
    }
    return false;
}

bool PathFind::isExpanded(int x, int y) const {
    if (!hasGrid() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    return node(Cell{x, y}).closed;
}

Path PathFind::getPath() const {
    if (!m_found)
        return {};
    std::vector<Vector> waypoints;
    // the parent links lead back to the start; the bound only guards the walk
    const std::size_t most = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    Cell c = m_goal;
    while (c != m_start && waypoints.size() < most) {
        waypoints.push_back(positionOf(c));
        c = node(c).parent;
    }
    waypoints.push_back(positionOf(m_start));
    std::reverse(waypoints.begin(), waypoints.end());
    return Path(std::move(waypoints));
}

} // namespace vk
