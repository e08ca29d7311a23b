#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>
#include <vessik/world/Vector.h>

#include <string>

namespace vk {

// One picture of a sprite: `width` x `height` characters stored row after row
// with no separators. Frames are small values, copied freely; one whose
// string is empty counts as empty and draws nothing.
class VK_API Frame {
  public:
    Frame() = default;
    Frame(int width, int height, std::string frame);

    [[nodiscard]] int getWidth() const noexcept { return m_width; }
    [[nodiscard]] int getHeight() const noexcept { return m_height; }
    [[nodiscard]] const std::string &getString() const noexcept { return m_frame; }
    [[nodiscard]] bool isEmpty() const noexcept { return m_frame.empty(); }

    // Draws the frame centred on `position` through the display manager, one
    // character at a time in `color`, skipping `transparency` (0: skip
    // nothing), flipped by `transform` (a Transform value; others draw as
    // NONE). A frame without rows or columns draws nothing and gives 0.
    // 0, or -1 at the first character that fails to draw or when the string
    // holds fewer than width x height characters.
    int draw(Vector position, Color color, char transparency, int transform) const;

  private:
    int m_width = 0;
    int m_height = 0;
    std::string m_frame;
};

} // namespace vk
