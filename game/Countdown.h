#pragma once

#include "Object.h"

// Ends the game loop after a fixed number of steps.
class Countdown : public vk::Object {
  public:
    explicit Countdown(int steps);
    int eventHandler(const vk::Event *p_event) override;

  private:
    int m_steps_left = 0;
};
