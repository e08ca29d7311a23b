#include "Iceberg.h"

#include "setSpriteBox.h"

#include <vessik/world/Solidness.h>

Iceberg::Iceberg() {
    setType("Iceberg");
    setSpriteBox(*this, "iceberg");
    setSolidness(vk::HARD);
    setSpeedPenalty(999.9f);
    setPoints(50);
}

Iceberg::~Iceberg() = default;
