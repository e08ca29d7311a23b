#include <vessik/world/Grid.h>

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <cmath>
#include <new>

namespace vk {

namespace {

// Calls `fn` for every key of the span, in key order.
template <typename Fn> void forEachKey(const CellSpan &span, Fn fn) {
    if (span.outside)
        fn(CellKey{});
    for (int r = span.row0; r <= span.row1; r++)
        for (int c = span.col0; c <= span.col1; c++)
            fn(CellKey{c, r});
}

// floor(coord / size), held within [-1, limit] so that it converts to int
// safely while keeping its place relative to the grid.
int cellIndex(double coord, int size, int limit) {
    const double index = std::floor(coord / size);
    if (index < -1)
        return -1;
    if (index > limit)
        return limit;
    return static_cast<int>(index);
}

} // namespace

bool CellSpan::contains(CellKey key) const noexcept {
    if (key.isOutside())
        return outside;
    return col0 <= key.col && key.col <= col1 && row0 <= key.row && key.row <= row1;
}

std::vector<CellKey> CellSpan::keys() const {
    std::vector<CellKey> out;
    forEachKey(*this, [&out](CellKey key) { out.push_back(key); });
    return out;
}

int Grid::startUp() {
    LogManager &log = LogManager::getInstance();
    if (m_is_allocated) {
        log.writeLog("Grid::startUp(): Warning! Grid allocated. Not proceeding.");
        return -1;
    }

    const Config &config = Config::getInstance();
    m_cell_width = config.getGridWidth();
    m_cell_height = config.getGridHeight();
    if (m_cell_width < 1 || m_cell_height < 1) {
        log.writeLog("Grid::startUp(): Warning! Cell size %d x %d not positive. Using 20 x 8.", m_cell_width,
                     m_cell_height);
        m_cell_width = 20;
        m_cell_height = 8;
    }

    const Box boundary = WorldManager::getInstance().getBoundary();
    const auto count = [](float extent, int size) {
        const double n = std::ceil(static_cast<double>(extent) / size);
        return std::isfinite(n) && n > 0 ? n : 0.0;
    };
    double cols = count(boundary.getHorizontal(), m_cell_width);
    double rows = count(boundary.getVertical(), m_cell_height);
    if (cols * rows > static_cast<double>(MAX_CELLS)) {
        // cover the top-left part of a huge world; the rest counts as outside,
        // which keeps every collision but makes the far part slower
        const double side = std::sqrt(static_cast<double>(MAX_CELLS));
        const double wanted_cols = cols;
        const double wanted_rows = rows;
        if (cols > side && rows > side)
            cols = rows = side;
        else if (rows <= side)
            cols = std::floor(static_cast<double>(MAX_CELLS) / rows);
        else
            rows = std::floor(static_cast<double>(MAX_CELLS) / cols);
        log.writeLog("Grid::startUp(): Warning! %.0f x %.0f cells are too many. Using %.0f x %.0f.", wanted_cols,
                     wanted_rows, cols, rows);
    }
    m_num_cols = static_cast<int>(cols);
    m_num_rows = static_cast<int>(rows);
    log.writeLog(5, "Grid::startUp(): m_num_cols %d, m_num_rows %d", m_num_cols, m_num_rows);

    try {
        m_cells.resize(static_cast<std::size_t>(m_num_rows));
    } catch (const std::bad_alloc &) {
        log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", m_num_rows);
        m_cells.clear();
        return -1;
    }
    try {
        for (std::vector<GridCell> &row : m_cells)
            row.resize(static_cast<std::size_t>(m_num_cols));
    } catch (const std::bad_alloc &) {
        log.writeLog("Grid::startUp(): Error! Unable to allocate columns.");
        m_cells.clear();
        return -1;
    }
    m_outside.clear();
    m_is_allocated = true;
    return 0;
}

void Grid::shutDown() {
    std::vector<std::vector<GridCell>>().swap(m_cells);
    m_outside.clear();
    m_is_allocated = false;
}

GridCell *Grid::cell(CellKey key) {
    if (key.isOutside())
        return &m_outside;
    if (key.col < 0 || key.col >= m_num_cols || key.row < 0 || key.row >= m_num_rows)
        return nullptr;
    return &m_cells[static_cast<std::size_t>(key.row)][static_cast<std::size_t>(key.col)];
}

const GridCell *Grid::cell(CellKey key) const { return const_cast<Grid *>(this)->cell(key); }

ObjectList Grid::getCell(CellKey key) const {
    ObjectList list;
    if (const GridCell *p_cell = m_is_allocated ? cell(key) : nullptr)
        for (const GridEntry &entry : *p_cell)
            list.insert(entry.p_o);
    return list;
}

void Grid::prefetch(const Object *p_o) const noexcept {
    // only solid objects ask the grid for collisions
    if (!m_is_allocated || !p_o || !p_o->isSolid())
        return;
    forEachKey(cellsOf(p_o, p_o->getPosition()), [this](CellKey key) { cell(key)->prefetch(); });
}

CellSpan Grid::cellsOf(const Object *p_o, Vector where) const {
    CellSpan span;
    const Box box = getWorldBox(p_o, where);
    const double left = box.getCorner().getX();
    const double top = box.getCorner().getY();
    const double right = left + box.getHorizontal();
    const double bottom = top + box.getVertical();
    if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) {
        // a box that is nowhere is only ever outside
        span.outside = true;
        return span;
    }
    span.col0 = cellIndex(left, m_cell_width, m_num_cols);
    span.row0 = cellIndex(top, m_cell_height, m_num_rows);
    span.col1 = cellIndex(right, m_cell_width, m_num_cols);
    span.row1 = cellIndex(bottom, m_cell_height, m_num_rows);
    if (span.col0 < 0) {
        span.col0 = 0;
        span.outside = true;
    }
    if (span.row0 < 0) {
        span.row0 = 0;
        span.outside = true;
    }
    if (span.row1 >= m_num_rows) {
        span.row1 = m_num_rows - 1;
        span.outside = true;
    }
    if (span.col1 >= m_num_cols) {
        span.col1 = m_num_cols - 1;
        span.outside = true;
    }
    return span;
}

int Grid::insertObject(Object *p_o) {
    LogManager &log = LogManager::getInstance();
    if (!m_is_allocated) {
        log.writeLog("Grid::insertObject(): Error! grid is NULL");
        return -1;
    }
    if (!p_o) {
        log.writeLog("Grid::insertObject(): Error! Object is NULL");
        return -1;
    }
    int result = 0;
    const GridEntry entry{p_o, getWorldBox(p_o)};
    forEachKey(cellsOf(p_o, p_o->getPosition()), [&](CellKey key) {
        if (!cell(key)->add(entry))
            result = -1;
    });
    return result;
}

int Grid::removeObject(Object *p_o) {
    LogManager &log = LogManager::getInstance();
    if (!m_is_allocated) {
        log.writeLog("Grid::removeObject(): Error! grid is NULL");
        return -1;
    }
    if (!p_o) {
        log.writeLog("Grid::removeObject(): Error! Object is NULL");
        return -1;
    }
    if (!p_o->isSolid() || !p_o->isActive())
        return 0;
    forEachKey(cellsOf(p_o, p_o->getPosition()), [&](CellKey key) { cell(key)->drop(p_o); });
    return 0;
}

int Grid::updatePosition(Object *p_o, Vector where) {
    LogManager &log = LogManager::getInstance();
    if (!m_is_allocated) {
        log.writeLog("Grid::updatePosition(): Error! grid is NULL");
        return -1;
    }
    if (!p_o) {
        log.writeLog("Grid::updatePosition(): Error! Object is NULL");
        return -1;
    }
    const CellSpan old_span = cellsOf(p_o, p_o->getPosition());
    const CellSpan new_span = cellsOf(p_o, where);
    const GridEntry entry{p_o, getWorldBox(p_o, where)};
    forEachKey(old_span, [&](CellKey key) {
        if (new_span.contains(key))
            return;
        if (GridCell *p_cell = cell(key))
            p_cell->drop(p_o);
        else
            log.writeLog("Error! remove Cell x,y out of bounds (%d, %d).", key.col, key.row);
    });
    forEachKey(new_span, [&](CellKey key) {
        GridCell *p_cell = cell(key);
        if (!p_cell) {
            log.writeLog("Error! insert Cell x,y out of bounds [%d, %d].", key.col, key.row);
            return;
        }
        if (!old_span.contains(key)) {
            p_cell->add(entry);
            return;
        }
        // a cell the object stays in keeps its place, with the new box
        for (GridEntry &kept : *p_cell)
            if (kept.p_o == p_o)
                kept.box = entry.box;
    });
    return 0;
}

ObjectList Grid::getCollisions(const Object *p_o, Vector where) const {
    LogManager &log = LogManager::getInstance();
    ObjectList result;
    if (!m_is_allocated) {
        log.writeLog("Grid::getCollisions(): Error! grid is NULL");
        return result;
    }
    if (!p_o) {
        log.writeLog("Grid::getCollisions(): Error! Object is NULL");
        return result;
    }
    const Box target = getWorldBox(p_o, where);
    forEachKey(cellsOf(p_o, where), [&](CellKey key) {
        for (const GridEntry &candidate : *cell(key)) {
            // a candidate seen in an earlier cell was accepted or rejected there
            // already: the box test gives the same answer every time
            bool seen = false;
            for (int j = 0; j < result.getCount() && !seen; j++)
                seen = result[j] == candidate.p_o;
            if (!seen && candidate.p_o != p_o && boxIntersectsBox(candidate.box, target))
                result.insert(candidate.p_o);
        }
    });
    return result;
}

} // namespace vk
