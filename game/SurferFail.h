#pragma once

#include <vessik/world/Object.h>

// The failure sequence that takes the surfer's place when a run ends: the
// "surferFail" animation played once, with a crash sound, while the sea stands
// still. When it is over the object removes itself, and its destruction
// clears the run away: obstacles, power-up, spawner, waves and both displays
// go, the final score is kept, and the game-over screen comes up. Particles
// still flying stay. The creator sets its position to the surfer's.
class SurferFail : public vk::Object {
  public:
    SurferFail();
    // Tears the run down, unless the program is ending.
    ~SurferFail() override;

    int eventHandler(const vk::Event *p_event) override;

  private:
    int m_countdown = 0;
};
