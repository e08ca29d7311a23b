#include "Waves.h"

#include "SpeedManager.h"

#include <vessik/core/Event.h>
#include <vessik/display/Color.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <cmath>

Waves::Waves() {
    setType("Waves");
    setSolidness(vk::SPECTRAL);
    setAltitude(0);
    registerInterest(vk::STEP_EVENT);
    setPosition(vk::Vector(0.0f, 0.0f));
    const float height = vk::WorldManager::getInstance().getBoundary().getVertical();
    for (int row = 0; static_cast<float>(baseRow(row)) < height - 1.0f; row++)
        m_offsets.push_back(0.0f);
}

Waves::~Waves() = default;

int Waves::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() != vk::STEP_EVENT)
        return 0;
    const float speed = SpeedManager::getInstance().getEffectiveSpeed();
    // 1 at speed 1, a tenth more for every 0.2 above it; a stopped sea
    // freezes the picture
    const float factor = speed > 0.0f ? (speed - 1.0f) * 0.5f + 1.0f : 0.0f;
    for (std::size_t i = 0; i < m_offsets.size(); i++)
        m_offsets[i] += (static_cast<float>(i) * 0.015f + 0.04f) * factor;
    return 1;
}

int Waves::draw() {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    const int width = static_cast<int>(vk::WorldManager::getInstance().getBoundary().getHorizontal());
    for (std::size_t i = 0; i < m_offsets.size(); i++) {
        const float base = static_cast<float>(baseRow(static_cast<int>(i)));
        const float phase = 1.7f * static_cast<float>(i);
        for (int x = 0; x < width; x++) {
            // a growing offset slides the pattern to the left
            const float t = (static_cast<float>(x) + m_offsets[i]) * 0.18f + phase;
            const float sn = std::sin(t);
            const float cs = std::cos(t);
            const float y = base - std::floor(sn * 0.7f + 0.5f);
            char ch = '_';
            if (cs > 0.5f)
                ch = '/';
            else if (cs < -0.5f)
                ch = '\\';
            else if (sn > 0.0f)
                ch = '-';
            display.drawCh(vk::Vector(static_cast<float>(x), y), ch, vk::CYAN, 0.0f);
        }
    }
    return 0;
}
