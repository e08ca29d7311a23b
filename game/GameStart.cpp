#include "GameStart.h"

#include "Points.h"
#include "SpeedManager.h"
#include "Spawner.h"
#include "Surfer.h"

#include "Color.h"
#include "Music.h"
#include "ObjectList.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "ViewObject.h"
#include "ViewObjectLocation.h"
#include "WorldManager.h"

namespace {

struct Population {
    SpawnKind kind;
    int count;
};

// The sea at the start of every run; it does not consult the spawn limits.
constexpr Population INITIAL_POPULATION[] = {{TRASH, 8}, {BUOY, 6}, {SHARK, 2}, {ICEBERG, 2}};

} // namespace

void startGame() {
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    if (vk::Sound *p_click = resources.getSound("click"))
        p_click->play(false);
    if (vk::Music *p_menu = resources.getMusic("menu music"))
        p_menu->stop();
    if (vk::Music *p_game = resources.getMusic("game music"))
        p_game->play(true);

    SpeedManager &speed = SpeedManager::getInstance();
    speed.setBoosting(false);
    speed.setSpeed(1.0f);
    speed.updateSpeedDisplay();

    if (vk::WorldManager::getInstance().objectsOfType("SpeedDisplay").isEmpty()) {
        auto *p_display = new vk::ViewObject;
        p_display->setType("SpeedDisplay");
        p_display->setLocation(vk::TOP_CENTER);
        p_display->setViewString("SPEED");
        p_display->setColor(vk::YELLOW);
        speed.updateSpeedDisplay();
    }

    new Surfer;
    for (const Population &population : INITIAL_POPULATION)
        for (int i = 0; i < population.count; i++)
            spawn(population.kind);
    new Spawner;
    new Points;
}
