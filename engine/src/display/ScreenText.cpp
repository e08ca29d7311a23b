#include <vessik/display/ScreenText.h>

#include <cmath>

namespace vk {

ScreenText::ScreenText(int width, int height)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0),
      m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)) {}

void ScreenText::put(Vector view_pos, char ch, unsigned char r, unsigned char g, unsigned char b) {
    const float x = view_pos.getX();
    const float y = view_pos.getY();
    // range first, so that rounding never sees a value it cannot represent;
    // NaN fails every comparison
    if (!(x >= -0.5f && x < static_cast<float>(m_width) - 0.5f && y >= -0.5f &&
          y < static_cast<float>(m_height) - 0.5f))
        return;
    const int col = static_cast<int>(std::floor(x + 0.5f));
    const int row = static_cast<int>(std::floor(y + 0.5f));
    if (col < 0 || col >= m_width || row < 0 || row >= m_height)
        return;
    const std::size_t index =
        static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(col);
    if (!m_cells[index].drawn)
        m_drawn.push_back(index);
    m_cells[index] = ScreenCell{ch, r, g, b, true};
}

void ScreenText::clear() {
    for (const std::size_t index : m_drawn)
        m_cells[index] = ScreenCell{};
    m_drawn.clear();
}

ScreenCell ScreenText::at(int x, int y) const {
    if (x < 0 || x >= m_width || y < 0 || y >= m_height)
        return ScreenCell{};
    return m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

std::uint64_t ScreenText::hash() const {
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto mix = [&h](unsigned char byte) {
        h ^= byte;
        h *= 0x100000001b3ull;
    };
    mix(static_cast<unsigned char>(m_width));
    mix(static_cast<unsigned char>(m_height));
    for (const ScreenCell &cell : m_cells)
        for (const unsigned char byte : {static_cast<unsigned char>(cell.ch), cell.r, cell.g, cell.b,
                                         static_cast<unsigned char>(cell.drawn)})
            mix(byte);
    return h;
}

std::vector<std::string> ScreenText::lines() const {
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(m_height));
    for (int y = 0; y < m_height; y++) {
        std::string row(static_cast<std::size_t>(m_width), ' ');
        for (int x = 0; x < m_width; x++)
            row[static_cast<std::size_t>(x)] = at(x, y).ch;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string ScreenText::toString() const {
    std::string text;
    for (const std::string &row : lines()) {
        text += row;
        text += '\n';
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace vk
