#include "loadResources.h"

#include <vessik/resources/ResourceManager.h>

namespace {

enum class Kind { SPRITE, SOUND, MUSIC };

struct Asset {
    Kind kind;
    const char *label;
    const char *file;
};

constexpr Asset ASSETS[] = {
    {Kind::SPRITE, "surfer", "sprites/Surfer_sprite.txt"},
    {Kind::SPRITE, "trash", "sprites/Trash_sprite.txt"},
    {Kind::SPRITE, "buoy", "sprites/Buoy_sprite.txt"},
    {Kind::SPRITE, "iceberg", "sprites/Iceberg_sprite.txt"},
    {Kind::SPRITE, "shark", "sprites/Shark_sprite.txt"},
    {Kind::SPRITE, "powerup", "sprites/Powerup_sprite.txt"},
    {Kind::SPRITE, "surferFail", "sprites/ded_sprite.txt"},
    {Kind::SOUND, "click", "sounds/click.wav"},
    {Kind::SOUND, "crash splash", "sounds/crash_splash.wav"},
    {Kind::SOUND, "pick up", "sounds/pick_up.wav"},
    {Kind::SOUND, "game over voice", "sounds/game_over_voice.wav"},
    {Kind::SOUND, "speed increase", "sounds/speed_increase.wav"},
    {Kind::MUSIC, "menu music", "sounds/menu_music.ogg"},
    {Kind::MUSIC, "game music", "sounds/game_music.ogg"},
};

} // namespace

void loadResources() {
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    // failures are the resource manager's to report; the game carries on
    for (const Asset &asset : ASSETS) {
        switch (asset.kind) {
        case Kind::SPRITE:
            (void)resources.loadSprite(asset.file, asset.label);
            break;
        case Kind::SOUND:
            (void)resources.loadSound(asset.file, asset.label);
            break;
        case Kind::MUSIC:
            (void)resources.loadMusic(asset.file, asset.label);
            break;
        }
    }
}
