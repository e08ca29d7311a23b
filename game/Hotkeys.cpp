#include "Hotkeys.h"

#include "drawCentered.h"
#include "Surfer.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/display/Color.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/InputManager.h>
#include <vessik/display/Keyboard.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

namespace {

// A run is on while its surfer rides; once it has failed or given up, the
// run is ending and is not paused any more.
bool runIsOn() {
    const vk::ObjectList surfers = vk::WorldManager::getInstance().objectsOfType("Surfer");
    for (int i = 0; i < surfers.getCount(); i++)
        if (const auto *p_surfer = dynamic_cast<const Surfer *>(surfers[i]); p_surfer && !p_surfer->isLeaving())
            return true;
    return false;
}

} // namespace

Hotkeys::Hotkeys() {
    setType("Hotkeys");
    setSolidness(vk::SPECTRAL);
    setAltitude(vk::MAX_ALTITUDE);
    registerInterest(vk::KEYBOARD_EVENT);
    registerInterest(vk::STEP_EVENT);
}

bool Hotkeys::keepsTheScreen(int key) noexcept { return key == vk::Keyboard::M || key == vk::Keyboard::F11; }

void Hotkeys::setPaused(bool paused) {
    vk::GameManager::getInstance().setPaused(paused);
    if (vk::Music *p_music = vk::ResourceManager::getInstance().getMusic("game music")) {
        if (paused)
            p_music->pause();
        else
            p_music->play(true);
    }
}

int Hotkeys::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() == vk::STEP_EVENT) {
        // steps stop while paused, so this only ever pauses
        if (!vk::InputManager::getInstance().hasFocus() && runIsOn())
            setPaused(true);
        return 1;
    }
    if (p_event->getType() != vk::KEYBOARD_EVENT)
        return 0;
    const auto *p_keyboard = dynamic_cast<const vk::EventKeyboard *>(p_event);
    if (!p_keyboard || p_keyboard->getKeyboardAction() != vk::KEY_PRESSED)
        return 1;
    switch (p_keyboard->getKey()) {
    case vk::Keyboard::P:
        if (runIsOn())
            setPaused(!vk::GameManager::getInstance().isPaused());
        break;
    case vk::Keyboard::M: {
        vk::ResourceManager &resources = vk::ResourceManager::getInstance();
        resources.setMuted(!resources.isMuted());
        break;
    }
    case vk::Keyboard::F11: {
        vk::DisplayManager &display = vk::DisplayManager::getInstance();
        display.setFullScreen(!display.isFullScreen());
        break;
    }
    default:
        break;
    }
    return 1;
}

int Hotkeys::draw() {
    if (vk::GameManager::getInstance().isPaused() && runIsOn()) {
        const float middle = vk::WorldManager::getInstance().getBoundary().getVertical() * 0.5f;
        drawCentered(static_cast<int>(middle), "PAUSED", vk::WHITE);
    }
    return 0;
}
