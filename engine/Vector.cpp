#include "Vector.h"

#include "serialization.h"
#include "utility.h"

#include <cmath>
#include <istream>
#include <ostream>

namespace vk {

void Vector::setXY(float x, float y) noexcept {
    m_x = x;
    m_y = y;
}

float Vector::getMagnitude() const { return std::sqrt(m_x * m_x + m_y * m_y); }

void Vector::normalize() {
    float length = getMagnitude();
    // squares that overflow or fall below the normal range would give a
    // wrong length: bring the larger component to 1 first
    if (!(length > 1e-18f && length < 1e18f)) {
        const float larger = std::fmax(std::fabs(m_x), std::fabs(m_y));
        if (!(larger > 0) || !std::isfinite(larger))
            return;
        m_x /= larger;
        m_y /= larger;
        length = getMagnitude();
    }
    m_x /= length;
    m_y /= length;
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
