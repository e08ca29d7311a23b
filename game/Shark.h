#pragma once

#include "Obstacle.h"

// A shark: hard, costs 10 speed, worth 30 points. It swims at twice the
// sea's pace and steers towards the surfer's row until it is close.
class Shark : public Obstacle {
  public:
    // Closer than this many columns to the right of the surfer, the shark
    // stops steering.
    static constexpr float HOMING_CUTOFF = 17.0f;

    Shark();
    ~Shark() override;

    // Left at twice the sea's pace, steering towards the surfer's row while
    // it is in the world and more than HOMING_CUTOFF columns to its right.
    // With no surfer, or a sea at a standstill, the velocity is kept.
    void updateVelocity() override;
};
