#pragma once

#include <vessik/export.h>

#include <vessik/world/GridCell.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Vector.h>

#include <vector>

namespace vk {

class Object;

// A cell of the grid; (-1, -1) stands for the list of objects that reach
// beyond the grid. Keys sort by row, then column: the outside key first, then
// the cells in reading order.
struct VK_API CellKey {
    int col = -1;
    int row = -1;
    [[nodiscard]] bool isOutside() const noexcept { return col == -1 && row == -1; }
    bool operator==(const CellKey &other) const noexcept { return col == other.col && row == other.row; }
    bool operator<(const CellKey &other) const noexcept {
        return row != other.row ? row < other.row : col < other.col;
    }
};

// The cells a box covers: every (c, r) with col0 <= c <= col1 and
// row0 <= r <= row1 (none when a range is empty), plus the outside list when
// the box reaches beyond the grid.
struct VK_API CellSpan {
    int col0 = 0;
    int col1 = -1;
    int row0 = 0;
    int row1 = -1;
    bool outside = false;
    [[nodiscard]] bool contains(CellKey key) const noexcept;
    // The keys in key order.
    [[nodiscard]] std::vector<CellKey> keys() const;
};

// The scene graph's spatial index of the active solid objects. The world
// boundary is cut into cells of the configured size; an object is listed in
// every cell its box touches (right and bottom edges included), and in the
// outside list when its box reaches beyond the grid, so a collision query
// looks only at the objects near the mover. Each entry keeps the object's
// world box beside its non-owning pointer, so that a query reads the cells
// alone rather than every object near the mover, which lie scattered in
// memory; insertObject(), removeObject() and updatePosition() keep the boxes
// current, and the scene graph calls them for every change of box, position,
// solidness or activity.
class VK_API Grid {
  public:
    // Most cells a grid allocates: a larger boundary gets larger cells.
    static constexpr long long MAX_CELLS = 1 << 20;

    Grid() = default;
    Grid(const Grid &) = delete;
    Grid &operator=(const Grid &) = delete;

    // Takes the cell size from the configuration and cuts the world manager's
    // boundary into cells. -1 when already started.
    int startUp();
    // Frees the cells and empties the outside list.
    void shutDown();
    [[nodiscard]] bool isStarted() const noexcept { return m_is_allocated; }

    int insertObject(Object *p_o);
    int removeObject(Object *p_o);
    // Moves the object from the cells at its position to those at `where`;
    // called before the position changes.
    int updatePosition(Object *p_o, Vector where);
    // The objects of the grid, other than `p_o`, whose boxes intersect the
    // box of `p_o` placed at `where`, in cell-key order without repeats.
    [[nodiscard]] ObjectList getCollisions(const Object *p_o, Vector where) const;

    // Starts loading the cells of `p_o` at its position into the processor's
    // cache, for a query about it a little later.
    void prefetch(const Object *p_o) const noexcept;

    // The cells of `p_o` with its box placed at `where`. Safe for any
    // coordinates: what does not fit the grid (also NaN) is outside.
    [[nodiscard]] CellSpan cellsOf(const Object *p_o, Vector where) const;

    [[nodiscard]] int getNumCols() const noexcept { return m_num_cols; }
    [[nodiscard]] int getNumRows() const noexcept { return m_num_rows; }
    [[nodiscard]] int getCellWidth() const noexcept { return m_cell_width; }
    [[nodiscard]] int getCellHeight() const noexcept { return m_cell_height; }
    // A copy of one cell's list, of the outside list for the outside key, or
    // an empty list for a key that is not in the grid.
    [[nodiscard]] ObjectList getCell(CellKey key) const;

  private:
    GridCell *cell(CellKey key);
    const GridCell *cell(CellKey key) const;

    bool m_is_allocated = false;
    std::vector<std::vector<GridCell>> m_cells; // rows of columns
    GridCell m_outside;
    int m_num_cols = 0;
    int m_num_rows = 0;
    int m_cell_width = 20;
    int m_cell_height = 8;
};

} // namespace vk
