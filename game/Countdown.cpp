#include "Countdown.h"

#include "Event.h"
#include "GameManager.h"

Countdown::Countdown(int steps) : m_steps_left(steps) {
    setType("Countdown");
    registerInterest(vk::STEP_EVENT);
}

int Countdown::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() != vk::STEP_EVENT)
        return 0;
    if (--m_steps_left <= 0)
        vk::GameManager::getInstance().setGameOver();
    return 1;
}
