#include "Shark.h"

#include "SpeedManager.h"
#include "setSpriteBox.h"

#include <vessik/core/LogManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/WorldManager.h>

#include <cmath>

Shark::Shark() {
    setVelocity(vk::Vector(-0.5f * SpeedManager::getInstance().getEffectiveSpeed(), 0.0f));
    setType("Shark");
    setSpriteBox(*this, "shark");
    setSolidness(vk::HARD);
    setSpeedPenalty(10.0f);
    setPoints(30);
}

Shark::~Shark() = default;

void Shark::updateVelocity() {
    const float s = SpeedManager::getInstance().getEffectiveSpeed();
    vk::WorldManager &world = vk::WorldManager::getInstance();
    const vk::ObjectList surfers = world.objectsOfType("Surfer");
    if (surfers.isEmpty() || s == 0.0f)
        return;

    float vy = 0.0f;
    const vk::Vector surfer = surfers[0]->getPosition();
    const vk::Vector shark = getPosition();
    vk::LogManager &log = vk::LogManager::getInstance();
    log.writeLog("Location: %f and %f", static_cast<double>(shark.getX()), static_cast<double>(surfer.getX()));

    const float dx = shark.getX() - surfer.getX();
    if (shark.getX() < world.getBoundary().getHorizontal() && dx > HOMING_CUTOFF) {
        const float d = surfer.getY() - shark.getY();
        if (std::fabs(d) > 0.9f) {
            log.writeLog("human detected: engaging deadly force");
            vy = (d > 0.0f ? 1.0f : -1.0f) * 0.15f * s;
        }
    }
    setVelocity(vk::Vector(-0.5f * s, vy));
}
