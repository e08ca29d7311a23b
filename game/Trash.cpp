#include "Trash.h"

#include "setSpriteBox.h"

Trash::Trash() {
    setSpriteBox(*this, "trash");
    setType("Trash");
    setSpeedPenalty(1.0f);
    setPoints(5);
}

Trash::~Trash() = default;
