#include "Animation.h"

#include "Sprite.h"
#include "Transform.h"
#include "utility.h"

namespace vk {

void Animation::setSprite(Sprite *p_sprite) {
    if (p_sprite)
        m_name = p_sprite->getLabel();
    m_p_sprite = p_sprite;
    m_index = 0;
    m_slowdown_count = 0;
}

int Animation::draw(Vector position) {
    if (!m_p_sprite)
        return 0;
    const int result = m_p_sprite->draw(m_index, position, m_p_sprite->getTransparency(), m_transform);
    if (m_slowdown_count == -1)
        return result;

    // counted wide: a count set near the int limit must not overflow
    const long long count = static_cast<long long>(m_slowdown_count) + 1;
    if (count < m_p_sprite->getSlowdown()) {
        m_slowdown_count = static_cast<int>(count);
        return result;
    }
    m_slowdown_count = 0;
    if (m_index >= m_p_sprite->getFrameCount() - 1)
        m_index = 0;
    else
        m_index++;
    return result;
}

Box Animation::getBox() const {
    if (!m_p_sprite)
        return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
    const float width = static_cast<float>(m_p_sprite->getWidth());
    const float height = static_cast<float>(m_p_sprite->getHeight());
    return Box(Vector(-width / 2, -height / 2), width, height);
}

std::string Animation::toString() const {
    return "sprite " + m_name + ", frame_idx " + vk::toString(m_index) + ", slowdown_count " +
           vk::toString(m_slowdown_count) + ", transform " + vk::toString(static_cast<Transform>(m_transform));
}

} // namespace vk
