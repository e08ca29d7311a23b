#include "GameStart.h"
#include "Hotkeys.h"
#include "loadResources.h"
#include "SpeedManager.h"

#include "GameManager.h"
#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Splash.h"

#include <cstdlib>
#include <ctime>

int main() {
    vk::GameManager &game_manager = vk::GameManager::getInstance();
    vk::LogManager &log = vk::LogManager::getInstance();
    if (game_manager.startUp() != 0) {
        log.writeLog("Error starting game manager!");
        game_manager.shutDown();
        return 1;
    }
    log.setFlush(true);
    srand(static_cast<unsigned>(time(nullptr)));

    vk::splash();

    if (SpeedManager::getInstance().startUp() != 0) {
        log.writeLog("Error starting speed manager!");
        game_manager.shutDown();
        return 1;
    }
    loadResources();

    // the world manager owns them from here on
    new Hotkeys;
    new GameStart;
    if (vk::Music *p_music = vk::ResourceManager::getInstance().getMusic("menu music"))
        p_music->play(true);
    game_manager.run();

    game_manager.shutDown();
    return 0;
}
