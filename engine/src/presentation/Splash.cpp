#include <vessik/presentation/Splash.h>

#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/SplashVessik.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Frame.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>

#include <algorithm>
#include <string>

namespace vk {

namespace {

constexpr int BANNER_WIDTH = 47;
constexpr int BANNER_HEIGHT = 8;

// "Vessik" in slanted letters, then in upright ones. The columns from 42 on
// stay blank: the emblem rises and rests there.
constexpr const char *BANNER[2][BANNER_HEIGHT] = {
    {
        "                                               ",
        "__      __   ____   ____  ____  _   _   __     ",
        "\\ \\    / /  / __/  / __/ / __/ / / / /_/ /     ",
        " \\ \\  / /  / /_   / /_  / /_  / / /   __/      ",
        "  \\ \\/ /  / __/  /_  / /_  / / / / /\\ \\        ",
        "   \\  /  / /__  __/ / __/ / / / / /  \\ \\       ",
        "    \\/  /____/ /___/ /___/ /_/ /_/    \\_\\      ",
        "                                               ",
    },
    {
        "                                               ",
        " _    _   ____   ____   ____   _   _   __      ",
        "| |  | | |  __| |  __| |  __| | | | | / /      ",
        "| |  | | | |__  | |__  | |__  | | | |/ /       ",
        " \\ \\/ /  |  __| |__  | |__  | | | | |\\ \\       ",
        "  \\  /   | |__   __| |  __| | | | | | \\ \\      ",
        "   \\/    |____| |____| |____| |_| |_|  \\_\\     ",
        "                                               ",
    },
};

// Steps the banner moves before it stops, and its last step.
constexpr int BANNER_MOVES = 15;
constexpr int BANNER_END = -75;

std::unique_ptr<Sprite> makeBanner() {
    auto p_sprite = std::make_unique<Sprite>(2);
    p_sprite->setLabel("splash");
    p_sprite->setWidth(BANNER_WIDTH);
    p_sprite->setHeight(BANNER_HEIGHT);
    p_sprite->setColor(GREEN);
    for (const auto &rows : BANNER) {
        std::string picture;
        for (const char *p_row : rows)
            picture += p_row;
        p_sprite->pushFrame(Frame(BANNER_WIDTH, BANNER_HEIGHT, picture));
    }
    return p_sprite;
}

} // namespace

int splash() {
    LogManager &log = LogManager::getInstance();
    GameManager &game_manager = GameManager::getInstance();
    log.writeLog(10, "splash(): Started.");
    if (!game_manager.isStarted()) {
        log.writeLog("splash(): Error! Cannot run splash screen until game manger is started.");
        return -1;
    }
    new Splash;
    game_manager.run();

    // the loop may end before the title's own end (the window was closed, or
    // another object ended the game): what is left of the title must not
    // wake up in the next run, so it hears no more events and goes at the
    // next update
    WorldManager &world_manager = WorldManager::getInstance();
    for (const char *type : {"Splash", "SplashVessik"}) {
        const ObjectList left = world_manager.objectsOfType(type);
        for (int i = 0; i < left.getCount(); i++) {
            left[i]->setActive(false);
            world_manager.markForDelete(left[i]);
        }
    }
    log.writeLog(10, "splash(): Finished.");
    return 0;
}

Splash::Splash() : m_p_sprite(makeBanner()) {
    // frozen: the lettering changes only when the banner stops
    Animation animation;
    animation.setSprite(m_p_sprite.get());
    animation.setSlowdownCount(-1);
    setAnimation(animation, true);

    setType("Splash");
    setSolidness(SPECTRAL);

    // its centre just beyond the right edge, vertically centred
    const Box view = WorldManager::getInstance().getView();
    const Vector corner = view.getCorner();
    setPosition(Vector(corner.getX() + view.getHorizontal() + BANNER_WIDTH * 0.5f,
                       corner.getY() + view.getVertical() * 0.5f));

    // it stops near the middle after its moves at any frame time; below 2 ms
    // the halved frame time would be 0, so it takes at least 1
    const int divisor = std::max(1, Config::getInstance().getFrameTime() / 2);
    const float speed = (BANNER_WIDTH * 0.5f + view.getHorizontal() * 0.5f + 11.0f) / static_cast<float>(divisor);
    setVelocity(Vector(-speed, 0));

    m_countdown = BANNER_MOVES;
    registerInterest(STEP_EVENT);
    registerInterest(KEYBOARD_EVENT);
}

TitleExit leaveTitle(Object *p_title, const Event *p_event) {
    GameManager &game_manager = GameManager::getInstance();
    if (game_manager.getGameOver()) {
        WorldManager::getInstance().markForDelete(p_title);
        return TitleExit::GAME_OVER;
    }
    if (p_event->getType() == KEYBOARD_EVENT) {
        game_manager.setGameOver();
        WorldManager::getInstance().markForDelete(p_title);
        return TitleExit::KEY;
    }
    return TitleExit::STAYS;
}

int Splash::eventHandler(const Event *p_event) {
    if (leaveTitle(this, p_event) != TitleExit::STAYS)
        return 0;
    if (p_event->getType() != STEP_EVENT)
        return 0;

    m_countdown--;
    if (m_countdown == 0) {
        Animation animation = getAnimation();
        animation.setIndex(1);
        setAnimation(animation, false);
        setVelocity(Vector(0, 0));
        const Vector position = getPosition();
        new SplashVessik(Vector(position.getX() + 24.0f, position.getY() + 1.0f));
    }
    if (m_countdown == BANNER_END)
        WorldManager::getInstance().markForDelete(this);
    return 1;
}

} // namespace vk
