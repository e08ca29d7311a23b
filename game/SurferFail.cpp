#include "SurferFail.h"

#include "GameOver.h"
#include "Points.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>
#include <vessik/resources/Sprite.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

#include <string>

namespace {

// What a run leaves in the world besides the score and the speed display.
bool belongsToTheRun(const std::string &type) {
    for (const char *run_type : {"Buoy", "Iceberg", "PowerUp", "Shark", "Spawner", "Trash", "Waves"})
        if (type == run_type)
            return true;
    return false;
}

// This runs while the world deletes its marked objects, so what it marks
// goes only at the next update: put to sleep now, the run's objects hear no
// more steps (the spawner would still spawn into the next run) and no longer
// move.
void removeFromTheRun(vk::WorldManager &world, vk::Object *p_o) {
    p_o->setActive(false);
    world.markForDelete(p_o);
}

} // namespace

SurferFail::SurferFail() {
    // one full play of the animation; without the sprite the sequence lasts
    // a single step
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

SurferFail::~SurferFail() {
    vk::WorldManager &world = vk::WorldManager::getInstance();
    // the program is ending and the world is being emptied: a game-over
    // screen made now would never be shown, nor owned
    if (vk::GameManager::getInstance().getGameOver() || !world.isStarted())
        return;

    int score = 0;
    const vk::ObjectList all = world.getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) {
        const auto *p_points = dynamic_cast<const Points *>(all[i]);
        if (p_points)
            score = p_points->getValue();
        if (p_points || belongsToTheRun(all[i]->getType()))
            removeFromTheRun(world, all[i]);
    }
    const vk::ObjectList displays = world.objectsOfType("SpeedDisplay");
    for (int i = 0; i < displays.getCount(); i++)
        removeFromTheRun(world, displays[i]);

    new GameOver(score);
    if (vk::Sound *p_sound = vk::ResourceManager::getInstance().getSound("game over voice"))
        p_sound->play(false);
    vk::LogManager::getInstance().writeLog(1, "SurferFail::~SurferFail(): Run over, final score %d.", score);
}

int SurferFail::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() != vk::STEP_EVENT)
        return 0;
    if (--m_countdown > 0)
        return 1;
    vk::WorldManager::getInstance().markForDelete(this);
    return 1;
}
