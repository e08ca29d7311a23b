#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>
#include <vessik/resources/Frame.h>
#include <vessik/world/Vector.h>

#include <string>
#include <vector>

namespace vk {

// An ASCII-art picture of one or more frames of the same size, drawn in one
// colour with an optional transparent character. Sprites are created and
// owned by the resource manager and shared by label; a sprite lives until the
// resource manager shuts down, and its frames never change once pushed.
class VK_API Sprite {
  public:
    // Room for `max_frames` frames. The frame list grows as frames are pushed,
    // so a large count costs nothing until the frames really exist.
    explicit Sprite(int max_frames);

    [[nodiscard]] int getWidth() const noexcept { return m_width; }
    void setWidth(int width) noexcept { m_width = width; }
    [[nodiscard]] int getHeight() const noexcept { return m_height; }
    void setHeight(int height) noexcept { m_height = height; }
    [[nodiscard]] Color getColor() const noexcept { return m_color; }
    void setColor(Color color) noexcept { m_color = color; }
    // Draw calls per frame step of an animation.
    [[nodiscard]] int getSlowdown() const noexcept { return m_slowdown; }
    void setSlowdown(int slowdown) noexcept { m_slowdown = slowdown; }
    // The character that is not drawn; 0 draws every character.
    [[nodiscard]] char getTransparency() const noexcept { return m_transparency; }
    void setTransparency(char transparency) noexcept { m_transparency = transparency; }
    [[nodiscard]] std::string getLabel() const { return m_label; }
    void setLabel(std::string label) { m_label = std::move(label); }

    [[nodiscard]] int getFrameCount() const noexcept { return m_frame_count; }
    [[nodiscard]] int getMaxFrameCount() const noexcept { return m_max_frame_count; }

    // Appends a copy; -1 when the sprite already holds its maximum.
    int pushFrame(const Frame &frame);

    // A copy of frame `index`, or an empty frame when there is none.
    [[nodiscard]] Frame getFrame(int index) const;

    // Draws frame `index` in the sprite's colour (Frame::draw); an index out
    // of range draws nothing and returns 0.
    int draw(int index, Vector position, char transparency, int transform) const;

  private:
    int m_width = 0;
    int m_height = 0;
    int m_max_frame_count = 0;
    int m_frame_count = 0;
    Color m_color = COLOR_DEFAULT;
    int m_slowdown = 1;
    char m_transparency = 0;
    std::vector<Frame> m_frame;
    std::string m_label = "[Undefined]";
};

} // namespace vk
