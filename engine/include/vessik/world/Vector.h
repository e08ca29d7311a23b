#pragma once

#include <vessik/export.h>

#include <iosfwd>
#include <string>

namespace vk {

// A position or velocity in world units (character cells, x right, y down).
class VK_API Vector {
  public:
    Vector() = default;
    Vector(float x, float y) noexcept : m_x(x), m_y(y) {}

    [[nodiscard]] float getX() const noexcept { return m_x; }
    [[nodiscard]] float getY() const noexcept { return m_y; }
    void setX(float x) noexcept { m_x = x; }
    void setY(float y) noexcept { m_y = y; }
    void setXY(float x, float y) noexcept;

    // Right for every length a float can hold, even where the squares of the
    // components could not be held (infinite beyond that).
    [[nodiscard]] float getMagnitude() const;
    // Unit length, however small or large the vector; a zero vector stays
    // zero, and one that is not finite is left as it is.
    void normalize();
    void scale(float s) noexcept;
    [[nodiscard]] bool isZero() const noexcept { return m_x == 0 && m_y == 0; }

    Vector operator+(const Vector &other) const noexcept;
    Vector operator-(const Vector &other) const noexcept;
    Vector &operator+=(const Vector &other) noexcept;
    bool operator==(const Vector &other) const noexcept;
    bool operator!=(const Vector &other) const noexcept;

    // "(x,y)" with each component as "%g" would print it.
    [[nodiscard]] std::string toString() const;

    // 8 bytes: x, then y. 0, or -1 when the stream is in error afterwards (a
    // failed read leaves the vector unchanged).
    int serialize(std::ostream &out) const;
    int deserialize(std::istream &in);

  private:
    float m_x = 0;
    float m_y = 0;
};

} // namespace vk
