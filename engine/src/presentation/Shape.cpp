#include <vessik/presentation/Shape.h>

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/services/serialization.h>
#include <vessik/world/geometry.h>

#include <SFML/Graphics/CircleShape.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <istream>
#include <memory>
#include <ostream>

namespace vk {

namespace {

constexpr std::size_t FIGURE_POINTS = 30;
constexpr std::size_t MIN_CIRCLE_POINTS = 3;
constexpr std::size_t MAX_CIRCLE_POINTS = 10;
constexpr float SQUARE_ROTATION = 45;

// Shared by every shape: set up anew for each draw.
std::unique_ptr<sf::CircleShape> g_p_figure;

sf::CircleShape &figure() {
    if (!g_p_figure)
        g_p_figure = std::make_unique<sf::CircleShape>(0.0f, FIGURE_POINTS);
    return *g_p_figure;
}

} // namespace

Shape::Shape() {
    const float cell = std::min(charWidth(), charHeight());
    m_size = Config::getInstance().getFontScale() * static_cast<float>(static_cast<int>(cell));
}

void Shape::setColor(unsigned char r, unsigned char g, unsigned char b) noexcept {
    m_r = r;
    m_g = g;
    m_b = b;
    m_color = CUSTOM;
}

void Shape::setType(int type) {
    if (type < SHAPE_NONE || type > TRIANGLE) {
        LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.", type);
        return;
    }
    m_type = type;
}

int Shape::draw(Vector world_pos) {
    DisplayManager &display = DisplayManager::getInstance();
    if (!display.getWindow()) {
        LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
        return -1;
    }
    if (m_type == SHAPE_NONE)
        return 0;

    const Vector pixel = spacesToPixels(worldToView(world_pos));
    const float px = pixel.getX();
    const float py = pixel.getY();

    if (m_color != CUSTOM)
        colorToRGB(static_cast<Color>(m_color), m_r, m_g, m_b);
    sf::CircleShape &shape = figure();
    shape.setFillColor(sf::Color(m_r, m_g, m_b, m_alpha));

    // the figure keeps its settings between draws: every kind sets its
    // rotation, so a circle after a square is not drawn turned
    switch (m_type) {
    case CIRCLE: {
        std::size_t points = MIN_CIRCLE_POINTS;
        if (m_size > static_cast<float>(MAX_CIRCLE_POINTS))
            points = MAX_CIRCLE_POINTS;
        else if (m_size >= static_cast<float>(MIN_CIRCLE_POINTS))
            points = static_cast<std::size_t>(m_size);
        shape.setPointCount(points);
        shape.setRadius(m_size);
        shape.setRotation(0);
        shape.setPosition(px - m_size * 0.5f, py - m_size * 0.5f);
        break;
    }
    case SQUARE:
        shape.setPointCount(4);
        shape.setRotation(SQUARE_ROTATION);
        shape.setRadius(m_size / Config::getInstance().getFontScale());
        shape.setPosition(px + m_size * 0.5f, py - m_size / 1.75f);
        break;
    default:
        shape.setPointCount(3);
        shape.setRadius(m_size * 0.5f);
        shape.setRotation(0);
        shape.setPosition(px - m_size * 0.5f, py - m_size * 0.5f);
        break;
    }

    LogManager::getInstance().writeLog(25, "Shape::draw(): Drawing at (%.2f, %.2f)", static_cast<double>(px),
                                       static_cast<double>(py));
    return display.draw(shape);
}

std::string Shape::toString() const {
    char size[64];
    std::snprintf(size, sizeof size, "%f", static_cast<double>(m_size));
    return shapeTypeName(m_type) + ", size " + size + ", " + vk::toString(static_cast<Color>(m_color)) + ", " +
           std::to_string(static_cast<int>(m_alpha));
}

const sf::CircleShape *Shape::getFigure() { return g_p_figure.get(); }

std::string shapeTypeName(int type) {
    switch (type) {
    case CIRCLE:
        return "circle";
    case SQUARE:
        return "square";
    case TRIANGLE:
        return "triangle";
    default:
        return "undefined";
    }
}

int Shape::serialize(std::ostream &out) const {
    writeInt(out, m_type);
    writeFloat(out, m_size);
    writeInt(out, m_color);
    writeByte(out, m_alpha);
    return checkStream("Shape::serialize()", out);
}

int Shape::deserialize(std::istream &in) {
    int type = 0;
    float size = 0;
    int color = 0;
    unsigned char alpha = 0;
    if (readInt(in, type) && readFloat(in, size) && readInt(in, color) && readByte(in, alpha)) {
        setType(type);
        if (std::isfinite(size))
            setSize(size);
        else
            LogManager::getInstance().writeLog("Shape::deserialize(): Size %f not finite. Ignored.",
                                               static_cast<double>(size));
        setColor(color);
        setAlpha(alpha);
    }
    return checkStream("Shape::deserialize()", in);
}

} // namespace vk
