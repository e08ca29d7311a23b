#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>
#include <vessik/world/Vector.h>

#include <iosfwd>
#include <string>

namespace sf {
class CircleShape;
} // namespace sf

namespace vk {

// The kinds of figure a shape can be; SHAPE_NONE draws nothing.
enum ShapeType : int {
    SHAPE_NONE = -1,
    CIRCLE = 0,
    SQUARE = 1,
    TRIANGLE = 2,
};

// A simple filled figure (circle, square or triangle) with a size in pixels,
// a colour and an opacity. Every object carries one and draws it over its
// animation when its type is not SHAPE_NONE; particles are nothing else.
// Shapes draw straight into the display's window as polygons, not as
// character cells, and need a window: headless, they draw nothing.
class VK_API Shape {
  public:
    // A white, opaque circle whose size is the font's: the font scale times
    // the whole pixels of the smaller cell side (24 with the defaults).
    Shape();

    // One of the eight named colours, or CUSTOM to draw the RGB bytes. A
    // named colour overwrites the bytes at every draw.
    void setColor(int color) noexcept { m_color = color; }
    // Sets the bytes and makes the colour CUSTOM.
    void setColor(unsigned char r, unsigned char g, unsigned char b) noexcept;
    [[nodiscard]] int getColor() const noexcept { return m_color; }
    [[nodiscard]] unsigned char getR() const noexcept { return m_r; }
    [[nodiscard]] unsigned char getG() const noexcept { return m_g; }
    [[nodiscard]] unsigned char getB() const noexcept { return m_b; }

    // Accepts SHAPE_NONE to TRIANGLE; any other value is logged and ignored.
    void setType(int type);
    [[nodiscard]] int getType() const noexcept { return m_type; }

    // Pixels: a circle's radius, a triangle's diameter.
    void setSize(float size) noexcept { m_size = size; }
    [[nodiscard]] float getSize() const noexcept { return m_size; }

    // 0 transparent to 255 opaque.
    void setAlpha(unsigned char alpha) noexcept { m_alpha = alpha; }
    [[nodiscard]] unsigned char getAlpha() const noexcept { return m_alpha; }

    // Draws the figure at a world position (cells). 0 when drawn (a shape of
    // type SHAPE_NONE draws nothing and succeeds); -1 when there is no window.
    int draw(Vector world_pos);

    // "circle, size 24.000000, White, 255": type, size, colour name, alpha.
    [[nodiscard]] std::string toString() const;

    // The one polygon every shape is drawn with, as the last draw left it;
    // null before the first draw.
    [[nodiscard]] static const sf::CircleShape *getFigure();

    // Type, size, colour and alpha, in 13 bytes; the RGB bytes of a CUSTOM
    // colour are not carried. Reading takes the four values through the
    // setters (an unknown type or a size that is not a finite number is
    // refused and the old value kept); a short read changes nothing. 0, or
    // -1 when the stream is in error afterwards.
    int serialize(std::ostream &out) const;
    int deserialize(std::istream &in);

  private:
    int m_color = WHITE;
    unsigned char m_r = 0;
    unsigned char m_g = 0;
    unsigned char m_b = 0;
    int m_type = CIRCLE;
    float m_size = 0;
    unsigned char m_alpha = 255;
};

// "circle", "square", "triangle"; "undefined" for any other value.
[[nodiscard]] VK_API std::string shapeTypeName(int type);

} // namespace vk
