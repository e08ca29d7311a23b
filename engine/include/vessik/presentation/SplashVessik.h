#pragma once

#include <vessik/export.h>

#include <vessik/resources/Sprite.h>
#include <vessik/world/Object.h>
#include <vessik/world/Vector.h>

#include <memory>

namespace vk {

// The title's emblem. It starts six rows below the view under its target,
// rises to the target's height in 30 steps, takes its resting picture 15
// steps later, and on its 75th step ends the game loop and deletes itself;
// a key ends the loop at once. It owns its current sprite, built here.
class VK_API SplashVessik : public Object {
  public:
    explicit SplashVessik(Vector target);

    int eventHandler(const Event *p_event) override;

    [[nodiscard]] Vector getTarget() const noexcept { return m_target; }

  private:
    Vector m_target;
    int m_countdown = 30;
    std::unique_ptr<Sprite> m_p_sprite;
};

} // namespace vk
