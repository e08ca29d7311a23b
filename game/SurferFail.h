#pragma once

#include "Object.h"

// The failure sequence that takes the surfer's place when a run ends: the
// "surferFail" animation played once, with a crash sound, while the sea stands
// still. It removes itself when the animation is over. The creator sets its
// position to the surfer's.
class SurferFail : public vk::Object {
  public:
    SurferFail();

    int eventHandler(const vk::Event *p_event) override;

    // Steps left until the sequence ends.
    [[nodiscard]] int getCountdown() const noexcept { return m_countdown; }

  private:
    int m_countdown = 0;
};
