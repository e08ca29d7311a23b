#include "SpeedManager.h"

#include <vessik/core/GameManager.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>

namespace {

constexpr int BOOST_DISPLAY = 999;
constexpr float SPEED_STEP = 0.2f;
// In steps; the drift of repeated additions stays below 0.015 steps up to
// speed 1000.
constexpr float STEP_SLACK = 0.05f;

} // namespace

SpeedManager &SpeedManager::getInstance() {
    static SpeedManager speed_manager;
    return speed_manager;
}

int SpeedManager::startUp() {
    if (!vk::GameManager::getInstance().isStarted())
        return -1;
    Manager::startUp();
    m_speed = 1.0f;
    m_boost = false;
    return 0;
}

void SpeedManager::shutDown() { Manager::shutDown(); }

float SpeedManager::getEffectiveSpeed() const noexcept { return m_boost ? m_speed + BOOST_BONUS : m_speed; }

void SpeedManager::setSpeed(float new_speed) {
    if (new_speed < 1.0f) {
        m_speed = 0.0f;
        return;
    }
    m_speed = new_speed;
    updateSpeedDisplay();
}

void SpeedManager::updateSpeedDisplay() const {
    const vk::ObjectList displays = vk::WorldManager::getInstance().objectsOfType("SpeedDisplay");
    if (displays.isEmpty())
        return;
    auto *p_display = dynamic_cast<vk::ViewObject *>(displays[0]);
    if (!p_display)
        return;
    if (m_boost) {
        p_display->setValue(BOOST_DISPLAY);
        return;
    }
    const float level = stepsAboveOne(m_speed) + 1.0f;
    p_display->setValue(level <= 0.0f ? 0 : static_cast<int>(level));
}

float SpeedManager::stepsAboveOne(float speed) noexcept { return (speed - 1.0f) / SPEED_STEP + STEP_SLACK; }
