#include <vessik/resources/Sprite.h>

#include <vessik/core/LogManager.h>

#include <new>

namespace vk {

Sprite::Sprite(int max_frames) {
    // a negative count is as impossible to allocate as an enormous one was
    if (max_frames < 0) {
        LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.", max_frames);
        return;
    }
    m_max_frame_count = max_frames;
}

int Sprite::pushFrame(const Frame &frame) {
    if (m_frame_count >= m_max_frame_count)
        return -1;
    try {
        m_frame.push_back(frame);
    } catch (const std::bad_alloc &) {
        LogManager::getInstance().writeLog("Sprite::pushFrame(): Error! Unable to allocate frame %d.",
                                           m_frame_count + 1);
        return -1;
    }
    m_frame_count++;
    return 0;
}

Frame Sprite::getFrame(int index) const {
    if (index < 0 || index >= m_frame_count)
        return Frame();
    return m_frame[static_cast<std::size_t>(index)];
}

int Sprite::draw(int index, Vector position, char transparency, int transform) const {
    if (index < 0 || index >= m_frame_count)
        return 0;
    return m_frame[static_cast<std::size_t>(index)].draw(position, m_color, transparency, transform);
}

} // namespace vk
