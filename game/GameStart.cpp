#include "GameStart.h"

#include "Demo.h"
#include "drawCentered.h"
#include "Hotkeys.h"
#include "Points.h"
#include "ScoreTable.h"
#include "Spawner.h"
#include "SpeedManager.h"
#include "Surfer.h"
#include "Waves.h"

#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Recorder.h>
#include <vessik/display/Color.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/Keyboard.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/presentation/ViewObjectLocation.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>
#include <vessik/world/Box.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <iterator>

namespace {

// Five rows of equal width, so that centring each lines them up.
constexpr const char *TITLE[] = {
    " ______  __        __  _____   _       _       ____    _   _   _   _ ",
    "/  ____| \\ \\      / / | ____| | |     | |     |  _ \\  | | | | | \\ | |",
    "\\___  \\   \\ \\ /\\ / /  |  _|   | |     | |     | |_) | | | | | |  \\| |",
    " ____) |   \\ V  V /   | |___  | |___  | |___  |  _ <  | |_| | | |\\  |",
    "|_____/     \\_/\\_/    |_____| |_____| |_____| |_| \\_\\  \\___/  |_| \\_|",
};
constexpr int TITLE_ROW = 3;

// The controls and rules start in one column, half a block width left of the
// middle.
constexpr int BLOCK_HALF_WIDTH = 30;

struct Line {
    int row;
    const char *text;
    bool centred;
    vk::Color color;
};

constexpr Line LINES[] = {
    {10, "Dodge the obstacles and ride as far as you can!", true, vk::WHITE},
    {12, "- CONTROLS -", true, vk::CYAN},
    {13, "[W]  move up, [S]  move down, [SPACE] to increase speed", false, vk::WHITE},
    {14, "- RULES -", true, vk::CYAN},
    {15, "If you have enough speed you can destroy some obstacles", false, vk::WHITE},
    {16, "You get points passively and when obstacles are destroyed", false, vk::WHITE},
    {17, "Your speed automatically increases every 100 points", false, vk::WHITE},
    {18, "You fail if you lose too much speed, look out for speed boosters", false, vk::WHITE},
    {21, "ESC quits the game", true, vk::WHITE},
};
constexpr int PROMPT_ROW = 19;
constexpr int BEST_ROW = 1;

// Steps without a key before the demo starts; 0 for never. Counted in steps,
// not read off the clock, so that a recorded start screen replays alike.
int attractSteps() {
    const vk::Config &config = vk::Config::getInstance();
    const int frame_time = config.getFrameTime() > 0 ? config.getFrameTime() : 1;
    return config.getAttractSeconds() > 0 ? config.getAttractSeconds() * 1000 / frame_time : 0;
}

struct Population {
    SpawnKind kind;
    int count;
};

// The sea at the start of every run; it does not consult the spawn limits.
constexpr Population INITIAL_POPULATION[] = {{TRASH, 8}, {BUOY, 6}, {SHARK, 2}, {ICEBERG, 2}};

} // namespace

GameStart::GameStart() : Screen("GameStart") {
    ScoreTable table(ScoreTable::defaultPath());
    if (ScoreTable::isKept() && table.load() == 0 && !table.getEntries().empty())
        m_best = table.getEntries().front().score;
}

int GameStart::eventHandler(const vk::Event *p_event) {
    if (p_event->getType() == vk::KEYBOARD_EVENT) {
        const auto *p_keyboard = dynamic_cast<const vk::EventKeyboard *>(p_event);
        if (p_keyboard && p_keyboard->getKeyboardAction() == vk::KEY_PRESSED) {
            if (p_keyboard->getKey() == vk::Keyboard::ESCAPE)
                vk::GameManager::getInstance().setGameOver(true);
            else if (!Hotkeys::keepsTheScreen(p_keyboard->getKey()))
                m_start = true;
        }
        return 1;
    }
    if (p_event->getType() == vk::STEP_EVENT) {
        m_step_count++;
        // no demo inside a recording or a replay: they must not depend on
        // how long someone waited
        const vk::Recorder &recorder = vk::Recorder::getInstance();
        if (!m_start && m_step_count == attractSteps() && !recorder.isRecording() && !recorder.isReplaying())
            startDemo();
        // acted on here, not at the key: however many keys come in one
        // iteration, one run starts
        if (m_start) {
            m_start = false;
            startGame();
            vk::WorldManager::getInstance().markForDelete(this);
        }
        return 1;
    }
    return 0;
}

int GameStart::draw() {
    for (int i = 0; i < static_cast<int>(std::size(TITLE)); i++)
        drawCentered(TITLE_ROW + i, TITLE[i], vk::YELLOW);
    const int block_column = centredColumn(0) - BLOCK_HALF_WIDTH;
    for (const Line &line : LINES) {
        if (line.centred)
            drawCentered(line.row, line.text, line.color);
        else
            drawFrom(block_column, line.row, line.text, line.color);
    }
    if ((m_step_count / BLINK_STEPS) % 2 == 0)
        drawCentered(PROMPT_ROW, "Press any key to begin", vk::GREEN);
    if (m_best >= 0)
        drawCentered(BEST_ROW, "BEST SCORE: " + std::to_string(m_best), vk::YELLOW);
    return 0;
}

void startGame() {
    vk::LogManager::getInstance().writeLog(1, "startGame(): A new run begins.");
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

    // the teardown of a run removes the display; should one be left, it is
    // reused rather than doubled
    if (vk::WorldManager::getInstance().objectsOfType("SpeedDisplay").isEmpty()) {
        auto *p_display = new vk::ViewObject;
        p_display->setType("SpeedDisplay");
        p_display->setLocation(vk::TOP_CENTER);
        p_display->setViewString("SPEED");
        p_display->setColor(vk::YELLOW);
        speed.updateSpeedDisplay();
    }

    new Surfer;
    new Waves;
    for (const Population &population : INITIAL_POPULATION)
        for (int i = 0; i < population.count; i++)
            spawn(population.kind);
    new Spawner;
    new Points;
}
