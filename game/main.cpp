#include "GameManager.h"
#include "LogManager.h"
#include "Splash.h"
#include "swellrun.h"

int main() {
    vk::GameManager &game_manager = vk::GameManager::getInstance();
    if (game_manager.startUp() != 0) {
        vk::LogManager::getInstance().writeLog("Error starting game manager!");
        game_manager.shutDown();
        return 1;
    }
    vk::LogManager::getInstance().setFlush(true);
    vk::splash();

    // the world manager owns it from here on
    new Countdown(90);
    game_manager.run();

    game_manager.shutDown();
    return 0;
}
