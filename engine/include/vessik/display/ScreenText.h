#pragma once

#include <vessik/export.h>

#include <vessik/world/Vector.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// One character cell as drawn: the character and its colour. A cell nothing
// was drawn in holds a blank and `drawn` false.
struct VK_API ScreenCell {
    char ch = ' ';
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    bool drawn = false;
};

// A character-and-colour copy of a screen of cells: what a frame shows,
// readable without looking at pixels. Later drawing in a cell replaces what
// was there, as it does on screen.
class VK_API ScreenText {
  public:
    ScreenText() = default;
    ScreenText(int width, int height);

    [[nodiscard]] int getWidth() const noexcept { return m_width; }
    [[nodiscard]] int getHeight() const noexcept { return m_height; }

    // Records a character at a view position (cells); it goes to the nearest
    // cell. Positions off the screen, NaN included, are ignored.
    void put(Vector view_pos, char ch, unsigned char r, unsigned char g, unsigned char b);

    // Empties every cell; costs what was drawn since the last clear, not the
    // size of the screen.
    void clear();

    // The cell at column x, row y; a blank cell outside the screen.
    [[nodiscard]] ScreenCell at(int x, int y) const;

    // A 64-bit digest of every cell's character and colour (FNV-1a), equal
    // for equal screens whatever drew them.
    [[nodiscard]] std::uint64_t hash() const;

    // One string per row, each as wide as the screen.
    [[nodiscard]] std::vector<std::string> lines() const;
    // The rows joined with '\n', without a final one.
    [[nodiscard]] std::string toString() const;

  private:
    int m_width = 0;
    int m_height = 0;
    std::vector<ScreenCell> m_cells;
    // the cells drawn since the last clear, each once
    std::vector<std::size_t> m_drawn;
};

} // namespace vk
