#include "Buoy.h"

#include "setSpriteBox.h"

Buoy::Buoy() {
    setSpriteBox(*this, "buoy");
    setType("Buoy");
    setPoints(10);
    setSpeedPenalty(2.0f);
}

Buoy::~Buoy() = default;
