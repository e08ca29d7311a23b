#include "Screen.h"

#include <vessik/core/Event.h>
#include <vessik/world/WorldManager.h>

Screen::Screen(const std::string &type) {
    setType(type);
    setSolidness(vk::SPECTRAL);
    setAltitude(vk::MAX_ALTITUDE);
    const vk::Box boundary = vk::WorldManager::getInstance().getBoundary();
    setPosition(vk::Vector(boundary.getHorizontal() * 0.5f, boundary.getVertical() * 0.5f));
    registerInterest(vk::KEYBOARD_EVENT);
    registerInterest(vk::STEP_EVENT);
}
