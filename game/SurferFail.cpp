#include "SurferFail.h"

#include "Animation.h"
#include "Event.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Solidness.h"
#include "Sound.h"
#include "Sprite.h"
#include "WorldManager.h"

SurferFail::SurferFail() {
    if (setSprite("surferFail") == 0) {
        const vk::Sprite *p_sprite = getAnimation().getSprite();
        m_countdown = p_sprite->getFrameCount() * p_sprite->getSlowdown();
    }
    vk::LogManager::getInstance().writeLog("GAMEOVER");
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    if (vk::Music *p_music = resources.getMusic("game music"))
        p_music->stop();
    if (vk::Sound *p_sound = resources.getSound("crash splash"))
        p_sound->play(false);
    setType("SurferFail");
    registerInterest(vk::STEP_EVENT);
    setSolidness(vk::SPECTRAL);
}

int SurferFail::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() != vk::STEP_EVENT)
        return 0;
    if (--m_countdown > 0)
        return 1;
    vk::WorldManager::getInstance().markForDelete(this);
    return 1;
}
