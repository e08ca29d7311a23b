#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>

#include <string>

namespace vk {

// Addressed to the view objects whose view string equals the tag: they take
// the value, or add it to theirs when the delta flag is set. View events are
// delivered by the world manager to every object registered for "vk-view".
class VK_API EventView : public Event {
  public:
    explicit EventView(std::string tag = "", int value = 0, bool delta = false);

    void setTag(std::string tag);
    [[nodiscard]] std::string getTag() const { return m_tag; }
    void setValue(int value) noexcept { m_value = value; }
    [[nodiscard]] int getValue() const noexcept { return m_value; }
    void setDelta(bool delta) noexcept { m_delta = delta; }
    [[nodiscard]] bool getDelta() const noexcept { return m_delta; }

  private:
    std::string m_tag;
    int m_value = 0;
    bool m_delta = false;
};

} // namespace vk
