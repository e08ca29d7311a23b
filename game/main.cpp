#include "GameStart.h"
#include "Hotkeys.h"
#include "loadResources.h"
#include "SpeedManager.h"

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/Splash.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

int main(int argc, char **argv) {
    // "--terminal" plays in the terminal it was started from; every other
    // argument is ignored
    for (int i = 1; i < argc; i++)
        if (std::strcmp(argv[i], "--terminal") == 0)
            vk::Config::getInstance().setDisplay("terminal");

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

    // a window closed or a quit signal during the title ends the program,
    // not only the title
    if (!game_manager.quitRequested()) {
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
    }

    game_manager.shutDown();
    // as shells report a program a signal ended
    const int signal_number = vk::GameManager::getQuitSignal();
    return signal_number != 0 ? 128 + signal_number : 0;
}
