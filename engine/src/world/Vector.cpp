#include <vessik/world/Vector.h>

#include <vessik/core/utility.h>
#include <vessik/services/serialization.h>

#include <cmath>
#include <istream>
#include <ostream>

namespace vk {

namespace {

// In double, where the square of any float stays finite and not zero: a
// length that a float can hold comes out right.
double lengthOf(double x, double y) { return std::sqrt(x * x + y * y); }

} // namespace

void Vector::setXY(float x, float y) noexcept {
    m_x = x;
    m_y = y;
}

float Vector::getMagnitude() const { return static_cast<float>(lengthOf(m_x, m_y)); }

void Vector::normalize() {
    const double length = lengthOf(m_x, m_y);
    // a zero vector has no direction, nor has one that is not finite
    if (!(length > 0) || !std::isfinite(length))
        return;
    m_x = static_cast<float>(m_x / length);
    m_y = static_cast<float>(m_y / length);
}

void Vector::scale(float s) noexcept {
    m_x *= s;
    m_y *= s;
}

Vector Vector::operator+(const Vector &other) const noexcept { return {m_x + other.m_x, m_y + other.m_y}; }

Vector Vector::operator-(const Vector &other) const noexcept { return {m_x - other.m_x, m_y - other.m_y}; }

Vector &Vector::operator+=(const Vector &other) noexcept {
    m_x += other.m_x;
    m_y += other.m_y;
    return *this;
}

bool Vector::operator==(const Vector &other) const noexcept { return m_x == other.m_x && m_y == other.m_y; }

bool Vector::operator!=(const Vector &other) const noexcept { return !(*this == other); }

std::string Vector::toString() const { return "(" + vk::toString(m_x) + "," + vk::toString(m_y) + ")"; }

int Vector::serialize(std::ostream &out) const {
    writeFloat(out, m_x);
    writeFloat(out, m_y);
    return checkStream("Vector::serialize()", out);
}

int Vector::deserialize(std::istream &in) {
    float x = 0;
    float y = 0;
    if (readFloat(in, x) && readFloat(in, y))
        setXY(x, y);
    return checkStream("Vector::deserialize()", in);
}

} // namespace vk
