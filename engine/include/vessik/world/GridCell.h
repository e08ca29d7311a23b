#pragma once

#include <vessik/export.h>

#include <vessik/world/Box.h>

#include <cstdint>

namespace vk {

class Object;

// An object of a grid cell, with its world box as the grid last saw it.
struct VK_API GridEntry {
    Object *p_o = nullptr;
    Box box;
};

// The entries of one grid cell, in insertion order. The cell itself is a
// single pointer (null while empty) to one block that holds the count, the
// room and the entries: a grid's table of cells then stays small enough for
// the processor's cache, and a query reaches the entries in one step.
// Holds non-owning object pointers.
class VK_API GridCell {
  public:
    GridCell() = default;
    GridCell(GridCell &&other) noexcept;
    GridCell &operator=(GridCell &&other) noexcept;
    GridCell(const GridCell &) = delete;
    GridCell &operator=(const GridCell &) = delete;
    ~GridCell();

    // Appends; false when the cell cannot grow.
    bool add(const GridEntry &entry);
    // Removes the object's first entry, keeping the order of the rest; a
    // cell without it is left as it is.
    void drop(const Object *p_o) noexcept;
    void clear() noexcept;

    [[nodiscard]] GridEntry *begin() noexcept;
    [[nodiscard]] GridEntry *end() noexcept;
    [[nodiscard]] const GridEntry *begin() const noexcept;
    [[nodiscard]] const GridEntry *end() const noexcept;

    // Starts loading the entries into the processor's cache, for a query a
    // little later.
    void prefetch() const noexcept;

  private:
    struct Header {
        std::uint32_t count;
        std::uint32_t room;
    };

    Header *m_p_block = nullptr;
};

} // namespace vk
