#include "setSpriteBox.h"

#include <vessik/world/Box.h>
#include <vessik/world/Object.h>
#include <vessik/world/Vector.h>

int setSpriteBox(vk::Object &object, const std::string &label) {
    if (object.setSprite(label) != 0)
        return -1;
    const vk::Box drawn = object.getBox();
    return object.setBox(vk::Box(drawn.getCorner() + vk::Vector(SPRITE_BOX_INSET, SPRITE_BOX_INSET),
                                 drawn.getHorizontal() - 2 * SPRITE_BOX_INSET,
                                 drawn.getVertical() - 2 * SPRITE_BOX_INSET));
}
