#pragma once

#include <vessik/export.h>

#include <vessik/world/Box.h>
#include <vessik/world/Vector.h>

#include <iosfwd>
#include <string>

namespace vk {

class Sprite;

// The playback state of one object's sprite: which frame shows and how many
// draws it has shown for. The sprite is not owned: sprites belong to the
// resource manager and outlive every object that shows them (the world
// shuts down before the resource manager).
class VK_API Animation {
  public:
    Animation() = default;

    // Shows `p_sprite` (null for none) from its first frame; the sprite's
    // label becomes the animation's name.
    void setSprite(Sprite *p_sprite);
    [[nodiscard]] Sprite *getSprite() const noexcept { return m_p_sprite; }
    [[nodiscard]] std::string getName() const { return m_name; }

    // The frame shown; one out of range draws nothing until the next step
    // wraps it to 0.
    void setIndex(int index) noexcept { m_index = index; }
    [[nodiscard]] int getIndex() const noexcept { return m_index; }

    // Draws since the last frame step; -1 freezes the animation on its frame.
    void setSlowdownCount(int slowdown_count) noexcept { m_slowdown_count = slowdown_count; }
    [[nodiscard]] int getSlowdownCount() const noexcept { return m_slowdown_count; }

    // The flip applied when drawing (a Transform value). Only a restored
    // animation carries one other than NONE.
    void setTransform(int transform) noexcept { m_transform = transform; }
    [[nodiscard]] int getTransform() const noexcept { return m_transform; }

    // Draws the current frame centred on `position`, then counts the draw
    // and steps to the next frame every `slowdown` draws. 0 without a
    // sprite; otherwise what drawing the frame returned (-1 when a character
    // could not be drawn; the animation still advances).
    int draw(Vector position);

    // The box of the sprite around the object's position: a w x h sprite
    // gives corner (-w/2, -h/2) and extents w x h; without a sprite, the one
    // cell at the position.
    [[nodiscard]] Box getBox() const;

    // "sprite NAME, frame_idx I, slowdown_count C, transform T".
    [[nodiscard]] std::string toString() const;

    // The sprite's name, the frame index, the slowdown count and the
    // transform. A read animation has the name but no sprite: its owner
    // links the sprite of that label again. A short read changes nothing.
    // 0, or -1 when the stream is in error afterwards (or there was no
    // memory for the name, whose characters then stay unread).
    int serialize(std::ostream &out) const;
    int deserialize(std::istream &in);

  private:
    Sprite *m_p_sprite = nullptr;
    std::string m_name;
    int m_index = 0;
    int m_slowdown_count = 0;
    int m_transform = 0;
};

} // namespace vk
