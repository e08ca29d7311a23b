#include <vessik/resources/Frame.h>

#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/resources/Transform.h>

#include <utility>

namespace vk {

Frame::Frame(int width, int height, std::string frame) : m_width(width), m_height(height), m_frame(std::move(frame)) {}

int Frame::draw(Vector position, Color color, char transparency, int transform) const {
    // no rows or no columns: there is nothing to draw
    if (m_frame.empty() || m_height < 1 || m_width < 1)
        return 0;
    // a frame made by hand may claim more cells than its string holds
    const std::size_t width = static_cast<std::size_t>(m_width);
    const std::size_t height = static_cast<std::size_t>(m_height);
    if (m_frame.size() / width < height) {
        LogManager::getInstance().writeLog("Frame::draw(): Error! A %d x %d frame holds only %zu characters.", m_width,
                                           m_height, m_frame.size());
        return -1;
    }

    const bool rows_up = transform == VERTICAL || transform == BOTH;
    const bool columns_left = transform == HORIZONTAL || transform == BOTH;
    // centred: an even width falls half a cell to the left of the position
    const float left = position.getX() - static_cast<float>(m_width - 1) / 2;
    const float top = position.getY() - static_cast<float>(m_height - 1) / 2;
    DisplayManager &display = DisplayManager::getInstance();
    // a started display without a window refuses every character, yet keeps
    // each in its frame text: drawing goes on; one not started ends it
    int result = 0;
    for (std::size_t y = 0; y < height; y++) {
        const std::size_t row = rows_up ? height - 1 - y : y;
        for (std::size_t x = 0; x < width; x++) {
            const std::size_t column = columns_left ? width - 1 - x : x;
            const char ch = m_frame[column + width * row];
            if (transparency != 0 && ch == transparency)
                continue;
            const Vector at(left + static_cast<float>(x), top + static_cast<float>(y));
            if (display.drawCh(at, ch, color, 0) != 0) {
                if (!display.isStarted())
                    return -1;
                result = -1;
            }
        }
    }
    return result;
}

} // namespace vk
