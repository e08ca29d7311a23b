#include "Buoy.h"

Buoy::Buoy() {
    setSprite("buoy");
    setType("Buoy");
    setPoints(10);
    setSpeedPenalty(2.0f);
}

Buoy::~Buoy() = default;
