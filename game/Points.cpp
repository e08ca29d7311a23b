#include "Points.h"

#include "EventPoint.h"
#include "SpeedManager.h"

#include <vessik/presentation/ViewObjectLocation.h>

#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/Color.h>

namespace {

// The speed rises by a fifth with the hundreds of the score.
void riseWithScore() {
    SpeedManager &speed = SpeedManager::getInstance();
    speed.setSpeed(speed.getBaseSpeed() + 0.2f);
    vk::LogManager::getInstance().writeLog(1, "Points: The speed rises with the score.");
}

} // namespace

Points::Points() {
    setLocation(vk::TOP_RIGHT);
    setViewString("POINTS");
    setColor(vk::CYAN);
    setValue(0);
    registerInterest(POINT_EVENT);
    registerInterest(vk::STEP_EVENT);
}

Points::~Points() = default;

int Points::eventHandler(const vk::Event *p_event) {
    if (ViewObject::eventHandler(p_event) != 0)
        return 1;

    SpeedManager &speed = SpeedManager::getInstance();
    if (p_event->getType() == vk::STEP_EVENT) {
        if (++m_step_count < PASSIVE_STEPS)
            return 1;
        m_step_count = 0;
        if (speed.getEffectiveSpeed() >= 1.0f)
            addPoints(1);
        if (getValue() <= 100)
            return 1;
        // catch the speed up with the hundreds of the score, one 0.2 at a time
        const int steps = static_cast<int>(SpeedManager::stepsAboveOne(speed.getEffectiveSpeed()));
        if (getValue() / 100 > steps)
            riseWithScore();
        return 1;
    }

    if (p_event->getType() == POINT_EVENT) {
        const auto *p_point = dynamic_cast<const EventPoint *>(p_event);
        if (p_point && speed.getEffectiveSpeed() >= 1.0f)
            addPoints(p_point->getValue());
        return 1;
    }
    return 0;
}

void Points::addPoints(int n) {
    const int score = getValue() + n;
    setValue(score);
    if ((score + n) % 100 == 0)
        riseWithScore();
}
