#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>
#include <vessik/services/Path.h>

namespace vk {

// How a path search ended, as its event carries it.
inline constexpr int PATH_NOT_FOUND = 0;
inline constexpr int PATH_FOUND = 2;

// Tells an object that its path search has ended: the result and, when a path
// was found, the path. The path manager hands it straight to the object.
class VK_API EventPath : public Event {
  public:
    EventPath();

    void setResult(int result) noexcept { m_result = result; }
    [[nodiscard]] int getResult() const noexcept { return m_result; }
    void setPath(Path path) { m_path = std::move(path); }
    [[nodiscard]] Path getPath() const { return m_path; }

  private:
    int m_result = PATH_NOT_FOUND;
    Path m_path;
};

} // namespace vk
