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

#include <algorithm>
#include <cstdio>
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
constexpr int NEW_BEST_ROW = 9;
constexpr int RANK_ROW = 12;
constexpr int TOP_ROW = 18;

// One run of the table, in columns that line up when centred.
std::string topLine(int rank, const ScoreTable::Entry &entry) {
    char line[64];
    std::snprintf(line, sizeof line, "%2d. %7d  %s", rank, entry.score, entry.date.c_str());
    return line;
}

} // namespace

GameOver::GameOver(int score) : Screen("GameOver"), m_score(score) {
    // a table that cannot be read or kept is said in the log; the screen
    // still ranks the run among what it has
    const bool kept = ScoreTable::isKept();
    ScoreTable table(kept ? ScoreTable::defaultPath() : "");
    if (kept)
        table.load();
    m_rank = table.insert(score, kept ? ScoreTable::today() : "");
    if (kept && m_rank > 0)
        table.save();
    const std::vector<ScoreTable::Entry> &entries = table.getEntries();
    m_top.assign(entries.begin(), entries.begin() + std::min<long>(TOP_SHOWN, static_cast<long>(entries.size())));
}

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
    if (m_rank == 1)
        drawCentered(NEW_BEST_ROW, "NEW BEST!", vk::GREEN);
    drawCentered(RANK_ROW,
                 m_rank > 0 ? "RANK " + std::to_string(m_rank)
                            : "NOT IN THE TOP " + std::to_string(ScoreTable::SIZE),
                 vk::WHITE);
    if (!m_top.empty())
        drawCentered(TOP_ROW, "- TOP " + std::to_string(TOP_SHOWN) + " -", vk::CYAN);
    for (int i = 0; i < static_cast<int>(m_top.size()); i++)
        drawCentered(TOP_ROW + 1 + i, topLine(i + 1, m_top[static_cast<std::size_t>(i)]),
                     i + 1 == m_rank ? vk::YELLOW : vk::WHITE);
    if (m_input_delay > 0)
        return 0;
    if ((m_step_count / BLINK_STEPS) % 2 == 0)
        drawCentered(15, "Press any key to play again", vk::GREEN);
    drawCentered(17, "Press Q or ESC to quit", vk::WHITE);
    return 0;
}
