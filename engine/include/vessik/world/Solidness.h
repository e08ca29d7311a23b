#pragma once

namespace vk {

// How an object collides. HARD and SOFT objects are solid; SPECTRAL ones never
// collide. HARD blocks HARD; SOFT blocks only objects that set "no soft".
enum Solidness : int {
    HARD = 0,
    SOFT,
    SPECTRAL,
};

} // namespace vk
