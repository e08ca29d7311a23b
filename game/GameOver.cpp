#include "GameOver.h"

#include "drawCentered.h"
#include "GameStart.h"
#include "Hotkeys.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/display/Color.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/Keyboard.h>
#include <vessik/world/Box.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <iterator>
#include <string>

namespace {

constexpr const char *BANNER[] = {
    "  ____    _    __  __ _____    _____     _______ ____  ",
    " / ___|  / \\  |  \\/  | ____|  / _ \\ \\   / / ____|  _ \\ ",
    "| |  _  / _ \\ | |\\/| |  _|   | | | \\ \\ / /|  _| | |_) |",
    "| |_| |/ ___ \\| |  | | |___  | |_| |\\ V / | |___|  _ < ",
    " \\____/_/   \\_\\_|  |_|_____|  \\___/  \\_/  |_____|_| \\_\\",
};
constexpr int BANNER_ROW = 3;

} // namespace

GameOver::GameOver(int score) : Screen("GameOver"), m_score(score) {}

int GameOver::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() == vk::KEYBOARD_EVENT) {
        const auto *p_keyboard = dynamic_cast<const vk::EventKeyboard *>(p_event);
        // once the next run has started, its keys are the surfer's alone
        if (p_keyboard && p_keyboard->getKeyboardAction() == vk::KEY_PRESSED && m_input_delay <= 0 && !m_leaving) {
            const int key = p_keyboard->getKey();
            if (key == vk::Keyboard::Q || key == vk::Keyboard::ESCAPE)
                vk::GameManager::getInstance().setGameOver(true);
            else if (!Hotkeys::keepsTheScreen(key))
                m_restart = true;
        }
        return 1;
    }
    if (p_event->getType() == vk::STEP_EVENT) {
        m_step_count++;
        if (m_input_delay > 0)
            m_input_delay--;
        if (m_restart) {
            m_restart = false;
            m_leaving = true;
            startGame();
            vk::WorldManager::getInstance().markForDelete(this);
        }
        return 1;
    }
    return 0;
}

int GameOver::draw() {
    for (int i = 0; i < static_cast<int>(std::size(BANNER)); i++)
        drawCentered(BANNER_ROW + i, BANNER[i], vk::RED);
    drawCentered(11, "FINAL SCORE: " + std::to_string(m_score), vk::YELLOW);
    if (m_input_delay > 0)
        return 0;
    if ((m_step_count / BLINK_STEPS) % 2 == 0)
        drawCentered(15, "Press any key to play again", vk::GREEN);
    drawCentered(17, "Press Q or ESC to quit", vk::WHITE);
    return 0;
}
