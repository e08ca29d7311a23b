#include <vessik/core/GameManager.h>

#include <vessik/core/Clock.h>
#include <vessik/core/Config.h>
#include <vessik/core/EventStep.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Recorder.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/InputManager.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/services/NetworkManager.h>
#include <vessik/services/PathManager.h>
#include <vessik/world/WorldManager.h>

#include "core/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace vk {

namespace {

const char *const ASTERISKS = "****************************************************";
constexpr double ENGINE_VERSION = 4.25;

// Whole milliseconds, truncated, of 95 % of `left_us` microseconds.
int pathBudget(std::int64_t left_us) {
    const double budget = static_cast<float>(left_us) * 0.95 / 1000.0;
    // a step can only overrun by so much; the clamp keeps the conversion defined
    return static_cast<int>(std::clamp(budget, -1.0e9, 1.0e9));
}

} // namespace

GameManager::GameManager() { setType("GameManager"); }

GameManager &GameManager::getInstance() {
    static GameManager game_manager;
    return game_manager;
}

bool GameManager::isValid(std::string event_type) const { return event_type == STEP_EVENT; }

int GameManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }

    // from here on, Ctrl-C and the like end the program in order
    platform::catchQuitSignals();
    m_quit_requested = false;

    Config &config = Config::getInstance();
    config.loadConfig("");
    // a replay runs with the settings of its record
    Recorder::getInstance().configure();

    if (log.startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error! Starting log manager.");
        return -1;
    }

    log.writeLog("%s", ASTERISKS);
    log.writeLog("** Vessik version %.2f **", ENGINE_VERSION);
    log.writeLog("** Game engine started **");
    log.writeLog("%s", ASTERISKS);
    config.writeSummary();

    log.writeLog(1, "Working directory:");
    char cwd[256];
    log.writeLog(1, "  %s", platform::currentDirectory(cwd, sizeof cwd) ? cwd : "(full path too long)");
    log.writeLog(1, "Log Manager started.");

    m_frame_time = config.getFrameTime();
    log.writeLog(5, "GameManager::startUp(): frame time is %d milliseconds", m_frame_time);

    if (DisplayManager::getInstance().startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error! Starting display manager.");
        return -1;
    }
    log.writeLog(1, "Display manager started.");
    if (InputManager::getInstance().startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error! Starting input manager.");
        return -1;
    }
    log.writeLog(1, "Input manager started.");

    if (config.getNetworking()) {
        if (NetworkManager::getInstance().startUp() != 0) {
            log.writeLog("GameManager::startUp(): Error! Starting network manager.");
            return -1;
        }
        log.writeLog(1, "Network manager started.");
    }

    if (ResourceManager::getInstance().startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error! Starting resource manager.");
        return -1;
    }
    log.writeLog(1, "Resource manager started.");

    WorldManager &world_manager = WorldManager::getInstance();
    if (world_manager.startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error starting world manager.");
        return -1;
    }
    log.writeLog(1, "World manager started.");

    if (PathManager::getInstance().startUp() != 0) {
        log.writeLog("GameManager::startUp(): Error starting path manager.");
        return -1;
    }
    log.writeLog(1, "Path manager started.");

    // the world and the view start as the window, in character cells
    const DisplayManager &display_manager = DisplayManager::getInstance();
    const Box window(Vector(0, 0), static_cast<float>(display_manager.getHorizontal()),
                     static_cast<float>(display_manager.getVertical()));
    world_manager.setBoundary(window);
    world_manager.setView(window);
    world_manager.setViewSlack(Vector(1.0f / 3, 1.0f / 3));

    int seed = config.getRandomSeed();
    if (seed == 0)
        seed = static_cast<int>(static_cast<std::uint32_t>(std::time(nullptr)));
    if (seed != -1) {
        log.writeLog(10, "GameManager()::startUp(): srand() seed with %d", seed);
        std::srand(static_cast<unsigned>(seed));
        m_random_seed = static_cast<std::uint32_t>(seed);
    }

    if (platform::timeBeginPeriod(1) == platform::TIMERR_NOCANDO)
        log.writeLog(1, "GameManager()::startUp(): Warning!  timeBeginPeriod() cannot accept 1 msec.");

    m_game_over = false;
    m_paused = false;
    Manager::startUp();
    log.writeLog(1, "GameManager successfully started.");
    return 0;
}

void GameManager::shutDown() {
    LogManager &log = LogManager::getInstance();
    m_game_over = true;
    m_paused = false;
    // the record is finished while the log still takes its lines
    Recorder::getInstance().shutDown();

    if (platform::timeEndPeriod(1) == platform::TIMERR_NOCANDO)
        log.writeLog(1, "GameManager()::shutDown(): Warning! timeEndPeriod() cannot accept 1 msec.");

    PathManager &path_manager = PathManager::getInstance();
    if (path_manager.isStarted()) {
        path_manager.shutDown();
        log.writeLog(1, "Path manager stopped");
    }

    WorldManager &world_manager = WorldManager::getInstance();
    if (world_manager.isStarted()) {
        world_manager.shutDown();
        log.writeLog(1, "World manager stopped");
    }

    // after the world: no object shows a sprite any more
    ResourceManager &resource_manager = ResourceManager::getInstance();
    if (resource_manager.isStarted()) {
        resource_manager.shutDown();
        log.writeLog(1, "Resource manager stopped");
    }

    NetworkManager &network_manager = NetworkManager::getInstance();
    if (Config::getInstance().getNetworking() && network_manager.isStarted()) {
        network_manager.shutDown();
        log.writeLog(1, "Network manager stopped");
    }

    if (InputManager &input = InputManager::getInstance(); input.isStarted()) {
        input.shutDown();
        log.writeLog(1, "Input manager stopped");
    }
    if (DisplayManager &display = DisplayManager::getInstance(); display.isStarted()) {
        display.shutDown();
        log.writeLog(1, "Display manager stopped");
    }

    log.writeLog("%s", ASTERISKS);
    log.writeLog("** Game engine stopped **");
    if (log.isStarted())
        log.shutDown();
    // a later start begins as the first one did: at step 0, with the
    // settings of its own configuration file alone
    m_step_count = 0;
    Config::getInstance().reset();
    platform::releaseQuitSignals();
    Manager::shutDown();
}

void GameManager::requestQuit() noexcept {
    m_quit_requested = true;
    m_game_over = true;
}

bool GameManager::quitRequested() const noexcept { return m_quit_requested || platform::quitRequested(); }

int GameManager::getQuitSignal() noexcept { return platform::quitSignal(); }

void GameManager::setPaused(bool paused) {
    if (paused == m_paused)
        return;
    m_paused = paused;
    LogManager::getInstance().writeLog(1, paused ? "GameManager::setPaused(): Game paused."
                                                 : "GameManager::setPaused(): Game resumed.");
}

void GameManager::run() {
    LogManager &log = LogManager::getInstance();
    Clock clock;
    log.writeLog(1, "GameManager::run(): starting game loop");
    m_game_over = false;
    m_step_count = 0;
    std::int64_t adjust_time = 0;
    const std::int64_t frame_us = static_cast<std::int64_t>(m_frame_time) * 1000;
    const bool networking = Config::getInstance().getNetworking();
    NetworkManager &network_manager = NetworkManager::getInstance();
    PathManager &path_manager = PathManager::getInstance();
    Recorder &recorder = Recorder::getInstance();

    while (true) {
        clock.delta();
        recorder.beginStep();

        // a pause or resume asked for during a step counts from the next:
        // a step event and its world update are never parted
        m_stepping = !m_paused;
        if (m_stepping) {
            const EventStep step(m_step_count);
            onEvent(&step);
        }
        DisplayManager::getInstance().swapBuffers();
        InputManager::getInstance().getInput();

        WorldManager &world_manager = WorldManager::getInstance();
        if (m_stepping)
            world_manager.update();
        world_manager.draw();
        recorder.endStep();

        if (networking) {
            if (network_manager.isServer())
                network_manager.accept();
            if (network_manager.isConnected(-1))
                network_manager.flushQueues();
        }

        // path searches get 95 % of what is left of the frame
        std::int64_t loop_time = clock.split();
        path_manager.cycle(pathBudget(frame_us - loop_time - adjust_time));

        loop_time = clock.split();
        const std::int64_t sleep_time = frame_us - loop_time - adjust_time;
        if (recorder.isUnpaced()) {
            // a headless replay has no one to wait for
            adjust_time = 0;
        } else if (sleep_time > 0) {
            // wake at a fixed instant of the step, so that no fraction of a
            // millisecond is lost to rounding; a step never sleeps longer
            // than one frame, as the monotonic clock cannot go backwards.
            // Waking late shortens the next step by as much, and by no more,
            // so the steps keep their average length without catching up.
            const std::int64_t deadline = loop_time + sleep_time;
            clock.sleepUntil(deadline);
            adjust_time = clock.split() - deadline;
            if (adjust_time < 0)
                adjust_time = 0;
        } else if (adjust_time == 0 && m_frame_time > 0 && m_step_count > 0) {
            log.writeLog("GameManager::run(): Can't keep up! frame_time %d ms, split %d ms", m_frame_time,
                         static_cast<int>(loop_time / 1000));
        } else {
            adjust_time = 0;
        }

        // a quit signal ends the loop as a closed window does, after its step
        if (platform::quitRequested() && !m_quit_requested) {
            log.writeLog(1, "GameManager::run(): Signal %d received. Setting game over.", platform::quitSignal());
            requestQuit();
        }

        if (m_stepping)
            m_step_count++;
        if (m_game_over) {
            m_stepping = true;
            log.writeLog(1, "GameManager::run(): end of game loop");
            return;
        }
    }
}

} // namespace vk
