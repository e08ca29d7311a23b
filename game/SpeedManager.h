#pragma once

#include <vessik/core/Manager.h>

// The speed of the sea: the one number every moving thing of a run reads.
// Obstacles, power-ups and waves move with it, the score raises it, impacts
// lower it, and the surfer fails when it falls below 1. A power-up boost adds
// BOOST_BONUS on top while it runs.
//
// A process-wide singleton like the engine's managers. It accepts no event
// interests.
class SpeedManager : public vk::Manager {
  public:
    // Added to the base speed while a boost runs.
    static constexpr float BOOST_BONUS = 10.0f;

    static SpeedManager &getInstance();

    // -1, changing nothing, while the game manager is not started; otherwise
    // base speed 1, boost off.
    int startUp() override;
    void shutDown() override;

    // Below 1 the speed collapses to 0 and the display is left alone;
    // otherwise it is stored and shown.
    virtual void setSpeed(float new_speed);

    // The stored speed, which the space bar, the score and impacts change.
    [[nodiscard]] float getBaseSpeed() const noexcept { return m_speed; }
    // What everything moves with and what failure is judged by: the base
    // speed plus the bonus while boosting.
    [[nodiscard]] float getEffectiveSpeed() const noexcept;

    [[nodiscard]] bool isBoosting() const noexcept { return m_boost; }
    // The caller refreshes the display afterwards (updateSpeedDisplay).
    void setBoosting(bool boost) noexcept { m_boost = boost; }

    // Shows the speed level on the first "SpeedDisplay" view object, if any:
    // 1 at speed 1, one more for every 0.2 above it, 0 after a failure and
    // 999 while boosting.
    void updateSpeedDisplay() const;

    // Whole 0.2 steps of `speed` above 1, as a float to be truncated (the
    // speed level less one; negative below 1). Sums of 0.2 in single
    // precision fall short of the true step from 4.8 on (4.79999971), so a
    // little slack is added before truncation; it is far smaller than a step.
    [[nodiscard]] static float stepsAboveOne(float speed) noexcept;

  private:
    SpeedManager() = default;

    float m_speed = 0.0f;
    bool m_boost = false;
};
