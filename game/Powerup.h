#pragma once

#include <vessik/world/Object.h>

// A speed booster drifting in with the sea. The surfer collects it on contact:
// a boost of Surfer::BOOST_STEPS steps starts, or restarts its count when one
// is running. Power-ups give no points and are not recycled: one that drifts
// out on the left is gone.
class Powerup : public vk::Object {
  public:
    // Most free-spot checks when placing a new power-up.
    static constexpr int PLACEMENT_TRIES = 20;

    // Placed beyond the right edge, at the first free spot of up to
    // PLACEMENT_TRIES checks five columns apart.
    Powerup();

    int eventHandler(const vk::Event *p_event) override;

    [[nodiscard]] bool isPickedUp() const noexcept { return m_picked_up; }

  private:
    void onCollision(const vk::Event *p_event);

    bool m_picked_up = false;
};
