#pragma once

#include <vessik/world/Object.h>

// The keys that work on every screen and leave the game where it is: P pauses
// and resumes a run (a run also pauses when the window loses the keyboard),
// M mutes and unmutes all sound and music, F11 switches between the window
// and the full screen. While a run is paused it shows "PAUSED" in the middle
// of the world. One lives for the whole program, created by main.
class Hotkeys : public vk::Object {
  public:
    Hotkeys();

    int eventHandler(const vk::Event *p_event) override;
    int draw() override;

    // Whether `key` is one of those that never start or restart a run from
    // the title and game-over screens (M and F11).
    [[nodiscard]] static bool keepsTheScreen(int key) noexcept;

  private:
    static void setPaused(bool paused);
};
