#include "Trash.h"

Trash::Trash() {
    setSprite("trash");
    setType("Trash");
    setSpeedPenalty(1.0f);
    setPoints(5);
}

Trash::~Trash() = default;
