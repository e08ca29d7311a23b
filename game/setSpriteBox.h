#pragma once

#include <string>

namespace vk {
class Object;
}

// How far each side of a game object's box lies inside the cells its sprite
// draws. Boxes that merely touch along an edge intersect, so a box as large
// as the sprite would make a trash drawn on rows 8-10 hit a surfer drawn on
// rows 11-13; inset, two objects collide only when their drawn cells
// overlap.
constexpr float SPRITE_BOX_INSET = 0.1f;

// Gives the object the sprite labelled `label` and a box SPRITE_BOX_INSET
// inside its cells; the result of Object::setSprite (without a sprite the
// object keeps its default box).
int setSpriteBox(vk::Object &object, const std::string &label);
