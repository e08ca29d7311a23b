#pragma once

#include <vessik/display/Color.h>
#include <vessik/world/Object.h>

namespace vk {
class EventCollision;
}

// Something floating towards the surfer. Obstacles enter beyond the right
// edge, drift left with the sea, cost the surfer speed on first contact and
// are destroyed, with points and a burst, when the surfer still has speed
// after the impact. One that leaves on the left is placed beyond the right
// edge again, so the sea keeps its population. Icebergs crush every other
// obstacle they touch.
class Obstacle : public vk::Object {
  public:
    // Burst colour of an obstacle whose sprite did not load.
    static constexpr vk::Color NO_SPRITE_BURST_COLOR = vk::WHITE;

    // Listens to steps, moves with the sea and places itself at a free spot
    // beyond the right edge.
    Obstacle();
    // Destroyed on screen: announces its points and, while the sea moves,
    // bursts in its sprite's colour.
    ~Obstacle() override;

    int eventHandler(const vk::Event *p_event) override;

    // Sets the velocity from the sea speed; called every step.
    virtual void updateVelocity();
    virtual void setSpeedPenalty(float penalty);

    [[nodiscard]] float getSpeedPenalty() const noexcept { return m_speed_penalty; }
    [[nodiscard]] int getPoints() const noexcept { return m_points; }
    // The surfer has already paid this obstacle's penalty.
    [[nodiscard]] bool hasHit() const noexcept { return m_has_hit; }

    // Moves the obstacle to a free spot beyond the right edge of the world.
    void moveToStart();

  protected:
    void setPoints(int points) noexcept { m_points = points; }
    // Whether x lies within the columns of the world (0 to W - 1).
    [[nodiscard]] bool isOnScreen() const;
    void burst() const;

  private:
    void onCollision(const vk::EventCollision *p_collision);

    float m_speed_penalty = 0.0f;
    int m_points = 0;
    bool m_has_hit = false;
};
