#include <vessik/world/GridCell.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

namespace vk {

namespace {

// entries are copied as bytes when the block grows or closes a gap
static_assert(std::is_trivially_copyable_v<GridEntry>);
static_assert(alignof(GridEntry) <= 8);

constexpr std::uint32_t FIRST_ROOM = 4;

} // namespace

GridCell::GridCell(GridCell &&other) noexcept : m_p_block(std::exchange(other.m_p_block, nullptr)) {}

GridCell &GridCell::operator=(GridCell &&other) noexcept {
    if (this != &other) {
        std::free(m_p_block);
        m_p_block = std::exchange(other.m_p_block, nullptr);
    }
    return *this;
}

GridCell::~GridCell() { std::free(m_p_block); }

GridEntry *GridCell::begin() noexcept {
    // the entries follow the header, which keeps them 8-byte aligned
    return m_p_block ? reinterpret_cast<GridEntry *>(m_p_block + 1) : nullptr;
}

GridEntry *GridCell::end() noexcept { return m_p_block ? begin() + m_p_block->count : nullptr; }

const GridEntry *GridCell::begin() const noexcept { return const_cast<GridCell *>(this)->begin(); }

const GridEntry *GridCell::end() const noexcept { return const_cast<GridCell *>(this)->end(); }

bool GridCell::add(const GridEntry &entry) {
    const std::uint32_t count = m_p_block ? m_p_block->count : 0;
    if (!m_p_block || count == m_p_block->room) {
        if (count > std::numeric_limits<std::uint32_t>::max() / 2)
            return false;
        const std::uint32_t room = m_p_block ? 2 * m_p_block->room : FIRST_ROOM;
        auto *p_grown = static_cast<Header *>(std::realloc(m_p_block, sizeof(Header) + room * sizeof(GridEntry)));
        if (!p_grown)
            return false;
        m_p_block = p_grown;
        m_p_block->count = count;
        m_p_block->room = room;
    }
    std::memcpy(static_cast<void *>(begin() + count), &entry, sizeof entry);
    m_p_block->count++;
    return true;
}

void GridCell::drop(const Object *p_o) noexcept {
    GridEntry *p_found = std::find_if(begin(), end(), [p_o](const GridEntry &entry) { return entry.p_o == p_o; });
    if (p_found == end())
        return;
    std::memmove(static_cast<void *>(p_found), p_found + 1,
                 static_cast<std::size_t>(end() - p_found - 1) * sizeof(GridEntry));
    m_p_block->count--;
}

void GridCell::clear() noexcept {
    std::free(m_p_block);
    m_p_block = nullptr;
}

void GridCell::prefetch() const noexcept {
    if (m_p_block)
        __builtin_prefetch(m_p_block);
}

} // namespace vk
