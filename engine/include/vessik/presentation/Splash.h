#pragma once

#include <vessik/export.h>

#include <vessik/resources/Sprite.h>
#include <vessik/world/Object.h>

#include <memory>

namespace vk {

// Shows the engine's animated title by running the game loop until it ends:
// a banner with the engine's name slides in from the right, changes its
// lettering and an emblem rises beside it; any key ends it early. Both
// objects are gone when it returns, and the game-over flag is still set (the
// next run() clears it). 0 after the title ran; -1 when the game manager is
// not started.
VK_API int splash();

// How an event ends a title object, if it does.
enum class TitleExit { STAYS, GAME_OVER, KEY };

// A title object leaves once the game is over, or on any key, which also ends
// the game: marks `p_title` for deletion and says which way it went.
VK_API TitleExit leaveTitle(Object *p_title, const Event *p_event);

// The title banner. It moves for 14 steps, then stops, shows its second
// lettering and raises the emblem (SplashVessik) on its 15th step, and
// deletes itself on its 90th step, on a key, or once the game is over.
// It owns its sprite, which is built here rather than loaded.
class VK_API Splash : public Object {
  public:
    Splash();

    int eventHandler(const Event *p_event) override;

  private:
    int m_countdown = 15;
    std::unique_ptr<Sprite> m_p_sprite;
};

} // namespace vk
