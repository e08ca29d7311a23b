#include "randomBelow.h"

#include <cstdlib>

float randomBelow(float extent) {
    const int r = std::rand();
    const int range = static_cast<int>(extent);
    return range > 0 ? static_cast<float>(r % range) : 0.0f;
}
