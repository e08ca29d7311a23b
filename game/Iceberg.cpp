#include "Iceberg.h"

#include <vessik/world/Solidness.h>

Iceberg::Iceberg() {
    setType("Iceberg");
    setSprite("iceberg");
    setSolidness(vk::HARD);
    setSpeedPenalty(999.9f);
    setPoints(50);
}

Iceberg::~Iceberg() = default;
