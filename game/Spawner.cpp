#include "Spawner.h"

#include "Buoy.h"
#include "Iceberg.h"
#include "Powerup.h"
#include "Shark.h"
#include "Trash.h"

#include <vessik/core/Event.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

#include <cstdlib>

namespace {

struct SpawnRule {
    const char *type;
    int weight;
    int limit;
};

// Indexed by SpawnKind. The weights add up to 94, not 100.
constexpr SpawnRule SPAWN_TABLE[] = {
    {"Trash", 40, 8}, {"Buoy", 35, 7}, {"Shark", 10, 2}, {"Iceberg", 7, 3}, {"PowerUp", 2, 1},
};
constexpr int WEIGHT_TOTAL = 94;

int pickKind(int r) {
    int cumulative = 0;
    for (int kind = TRASH; kind <= POWERUP; kind++) {
        cumulative += SPAWN_TABLE[kind].weight;
        if (r < cumulative)
            return kind;
    }
    return TRASH;
}

} // namespace

void spawn(int kind) {
    switch (kind) {
    case TRASH:
        new Trash;
        break;
    case BUOY:
        new Buoy;
        break;
    case SHARK:
        new Shark;
        break;
    case ICEBERG:
        new Iceberg;
        break;
    case POWERUP:
        new Powerup;
        break;
    default:
        break;
    }
}

Spawner::Spawner() {
    setType("Spawner");
    setSolidness(vk::SPECTRAL);
    registerInterest(vk::STEP_EVENT);
}

int Spawner::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() != vk::STEP_EVENT)
        return 0;
    if (--m_countdown > 0)
        return 1;
    m_countdown = SPAWN_STEPS;

    const int kind = pickKind(std::rand() % WEIGHT_TOTAL);
    const int count = vk::WorldManager::getInstance().objectsOfType(SPAWN_TABLE[kind].type).getCount();
    if (count < SPAWN_TABLE[kind].limit)
        spawn(kind);
    return 1;
}
