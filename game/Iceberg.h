#pragma once

#include "Obstacle.h"

// An iceberg: hard, costs 999.9 speed (the end of a run unless boosting),
// worth 50 points, and crushes every other obstacle it touches.
class Iceberg : public Obstacle {
  public:
    Iceberg();
    ~Iceberg() override;
};
