#pragma once

#include <vessik/export.h>

#include <vessik/world/Vector.h>

#include <iosfwd>
#include <string>

namespace vk {

// An axis-aligned rectangle: [corner.x, corner.x + horizontal] by
// [corner.y, corner.y + vertical], edges included.
class VK_API Box {
  public:
    Box() = default;
    Box(Vector corner, float horizontal, float vertical) noexcept
        : m_corner(corner), m_horizontal(horizontal), m_vertical(vertical) {}

    [[nodiscard]] Vector getCorner() const noexcept { return m_corner; }
    void setCorner(Vector corner) noexcept { m_corner = corner; }
    [[nodiscard]] float getHorizontal() const noexcept { return m_horizontal; }
    void setHorizontal(float horizontal) noexcept { m_horizontal = horizontal; }
    [[nodiscard]] float getVertical() const noexcept { return m_vertical; }
    void setVertical(float vertical) noexcept { m_vertical = vertical; }

    bool operator==(const Box &other) const noexcept;

    // "(x,y) h: H v: V".
    [[nodiscard]] std::string toString() const;

    // 16 bytes: the corner, the horizontal and the vertical extent. 0, or -1
    // when the stream is in error afterwards (a failed read leaves the box
    // unchanged).
    int serialize(std::ostream &out) const;
    int deserialize(std::istream &in);

  private:
    Vector m_corner;
    float m_horizontal = 0;
    float m_vertical = 0;
};

} // namespace vk
