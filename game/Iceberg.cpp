#include "Iceberg.h"

#include "setSpriteBox.h"

#include "Solidness.h"

Iceberg::Iceberg() {
    setType("Iceberg");
    setSpriteBox(*this, "iceberg");
    setSolidness(vk::HARD);
    setSpeedPenalty(999.9f);
    setPoints(50);
}

Iceberg::~Iceberg() = default;
