#pragma once

#include "Screen.h"

// The title screen the game opens on: the title banner, the controls, the
// rules and a blinking prompt. Any key but Escape starts a run at the next
// step, and the screen removes itself; Escape ends the program. Left without
// a key for the configured `attract_seconds`, it plays the demo. Draws text
// only, no sprite. Above the title it shows the best score of the high score
// table, once there is one.
class GameStart : public Screen {
  public:
    // The prompt blinks: shown for BLINK_STEPS steps, hidden for as many.
    static constexpr int BLINK_STEPS = 15;

    // Centred in the world, on the top layer.
    GameStart();

    int eventHandler(const vk::Event *p_event) override;
    int draw() override;

  private:
    // -1 while the table is empty
    int m_best = -1;
    int m_step_count = 0;
    bool m_start = false;
};

// Sets up a run: the click and the game music instead of the menu music, the
// speed back to 1 without boost, the speed display (made only when there is
// none), the surfer, the waves, the first obstacles, the spawner and the
// score.
void startGame();
