#include <vessik/resources/Animation.h>

#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>
#include <vessik/resources/Sprite.h>
#include <vessik/resources/Transform.h>
#include <vessik/services/serialization.h>

#include <climits>
#include <cstdint>
#include <istream>
#include <ostream>

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
    // a paused game holds its pictures as they are
    if (m_slowdown_count == -1 || !GameManager::getInstance().isStepping())
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

int Animation::serialize(std::ostream &out) const {
    writeString(out, m_name);
    writeInt(out, m_index);
    writeInt(out, m_slowdown_count);
    writeInt(out, m_transform);
    return checkStream("Animation::serialize()", out);
}

int Animation::deserialize(std::istream &in) {
    std::uint64_t length = 0;
    if (!readCount(in, length))
        return checkStream("Animation::deserialize()", in);
    std::string name;
    const CharsRead read = readChars(in, length, name);
    if (read == CharsRead::NO_MEMORY) {
        LogManager::getInstance().writeLog("Animation::deserialize(): Error! Cannot allocate %d bytes.",
                                           length > INT_MAX ? INT_MAX : static_cast<int>(length));
        return -1;
    }
    int index = 0;
    int slowdown_count = 0;
    int transform = 0;
    if (read == CharsRead::OK && readInt(in, index) && readInt(in, slowdown_count) && readInt(in, transform)) {
        m_p_sprite = nullptr;
        m_name = std::move(name);
        m_index = index;
        m_slowdown_count = slowdown_count;
        m_transform = transform;
    }
    return checkStream("Animation::deserialize()", in);
}

} // namespace vk
