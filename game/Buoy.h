#pragma once

#include "Obstacle.h"

// A buoy: soft, costs 2 speed, worth 10 points.
class Buoy : public Obstacle {
  public:
    Buoy();
    ~Buoy() override;
};
