#pragma once

#include <vessik/world/Object.h>

#include <string>

// A full-screen page of text (the start and game-over screens): drawn on top,
// never colliding, centred in the world, listening to keys and steps.
class Screen : public vk::Object {
  protected:
    explicit Screen(const std::string &type);
};
