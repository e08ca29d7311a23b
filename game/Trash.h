#pragma once

#include "Obstacle.h"

// Floating rubbish: soft, costs 1 speed, worth 5 points.
class Trash : public Obstacle {
  public:
    Trash();
    ~Trash() override;
};
