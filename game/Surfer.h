#pragma once

#include <vessik/world/Object.h>

namespace vk {
class EventKeyboard;
}

// The player: a fixed column near the left edge, moved a row at a time with W
// and S, speeding up the sea with the space bar, giving up with Q and quitting
// with Escape. Obstacles and power-ups handle their own contact with it; the
// surfer only watches the speed and gives way to the failure sequence when it
// falls below 1.
class Surfer : public vk::Object {
  public:
    // Steps of boost one power-up gives.
    static constexpr int BOOST_STEPS = 150;

    // At (5, H / 2) of the world boundary, with the "surfer" sprite.
    Surfer();
    // Leaves a blue splash, stops any boost and stops the sea (speed 0).
    ~Surfer() override;

    int eventHandler(const vk::Event *p_event) override;

    // A power-up boost is running for this surfer.
    [[nodiscard]] bool isBoosting() const noexcept { return m_boosting; }
    void setBoosting(bool boosting) noexcept { m_boosting = boosting; }
    [[nodiscard]] int getBoostCountdown() const noexcept { return m_boost_countdown; }
    void setBoostCountdown(int steps) noexcept { m_boost_countdown = steps; }

    // The surfer is on its way out (failed, gave up or quit): it is marked
    // for deletion and ignores every further key.
    [[nodiscard]] bool isLeaving() const noexcept { return m_leaving; }

  private:
    void keyboard(const vk::EventKeyboard *p_keyboard);
    void step();
    // Hands over to the failure sequence on the same spot.
    void fail();
    void leave();

    int m_move_delay = 2;
    int m_move_countdown = 2;
    int m_direction = 0;
    bool m_boosting = false;
    int m_boost_countdown = 0;
    bool m_w_held = false;
    bool m_s_held = false;
    bool m_leaving = false;
};
