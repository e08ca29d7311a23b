#include "Demo.h"

#include "GameStart.h"

#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Recorder.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/world/Object.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>

namespace {

// Every object but the hotkeys, which live as long as the program, goes at
// the next update; inactive already, so that none hears another event (and
// starts something) before then.
void clearWorld() {
    vk::WorldManager &world = vk::WorldManager::getInstance();
    const vk::ObjectList all = world.getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) {
        if (all[i]->getType() == "Hotkeys")
            continue;
        all[i]->setActive(false);
        world.markForDelete(all[i]);
    }
}

void setMenuMusic(bool playing) {
    if (vk::Music *p_menu = vk::ResourceManager::getInstance().getMusic("menu music")) {
        if (playing)
            p_menu->play(true);
        else
            p_menu->stop();
    }
}

} // namespace

bool startDemo() {
    vk::Recorder &recorder = vk::Recorder::getInstance();
    if (recorder.startReplay(DEMO_FILE, true) != 0)
        return false;
    recorder.setCaption("DEMO");
    // the start screen the demo was recorded from, set up when the demo's
    // first step begins, so that no key of this step reaches it
    recorder.setReplayStart([] {
        clearWorld();
        setMenuMusic(false);
        vk::Music::setMuted(true);
        new GameStart;
    });
    recorder.setReplayEnd([](bool) { showStartScreen(); });
    recorder.setReplayKey([] {
        vk::Recorder::getInstance().stopReplay();
        showStartScreen();
    });
    return true;
}

void showStartScreen() {
    vk::LogManager::getInstance().writeLog(1, "showStartScreen(): Back to the start screen.");
    clearWorld();
    vk::Music::setMuted(false);
    // a demo that ended by leaving the game leaves the program running
    vk::GameManager::getInstance().setGameOver(false);
    new GameStart;
    setMenuMusic(true);
}
