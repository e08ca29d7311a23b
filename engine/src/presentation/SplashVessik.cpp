#include <vessik/presentation/SplashVessik.h>

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/presentation/Splash.h>
#include <vessik/resources/Animation.h>
#include <vessik/resources/Frame.h>
#include <vessik/world/WorldManager.h>

#include <string>

namespace vk {

namespace {

constexpr int FLYING_WIDTH = 11;
constexpr int FLYING_HEIGHT = 7;
constexpr const char *FLYING[2][FLYING_HEIGHT] = {
    {"##       ##", "  ##(O)##  ", "   #\\|/#   ", " ##  |  ## ", "##   |   ##", "     |     ", "     |     "},
    {"           ", "####(O)####", "   #\\|/#   ", "  ## | ##  ", " ##  |  ## ", "     |     ", "     |     "},
};

constexpr int RESTING_WIDTH = 9;
constexpr int RESTING_HEIGHT = 6;
constexpr const char *RESTING[RESTING_HEIGHT] = {"_       _", " _-(O)-_ ", "  _\\|/_  ",
                                                 "   -|-   ", "   -|-   ", "____/    "};

// Rows below the view where the emblem starts, and the steps it rises for.
constexpr float START_BELOW = 6.0f;
constexpr float RISING_STEPS = 30.0f;
// Countdown values: the resting picture, then the end of the title.
constexpr int REST = -15;
constexpr int END = -45;

std::string picture(const char *const *p_rows, int height) {
    std::string joined;
    for (int i = 0; i < height; i++)
        joined += p_rows[i];
    return joined;
}

std::unique_ptr<Sprite> makeFlying() {
    auto p_sprite = std::make_unique<Sprite>(2);
    p_sprite->setLabel("splash-vessik");
    p_sprite->setWidth(FLYING_WIDTH);
    p_sprite->setHeight(FLYING_HEIGHT);
    p_sprite->setColor(BLUE);
    p_sprite->setSlowdown(2);
    for (const auto &rows : FLYING)
        p_sprite->pushFrame(Frame(FLYING_WIDTH, FLYING_HEIGHT, picture(rows, FLYING_HEIGHT)));
    return p_sprite;
}

std::unique_ptr<Sprite> makeResting() {
    auto p_sprite = std::make_unique<Sprite>(1);
    p_sprite->setWidth(RESTING_WIDTH);
    p_sprite->setHeight(RESTING_HEIGHT);
    p_sprite->setColor(GREEN);
    p_sprite->pushFrame(Frame(RESTING_WIDTH, RESTING_HEIGHT, picture(RESTING, RESTING_HEIGHT)));
    return p_sprite;
}

} // namespace

SplashVessik::SplashVessik(Vector target) : m_target(target), m_p_sprite(makeFlying()) {
    Animation animation;
    animation.setSprite(m_p_sprite.get());
    setAnimation(animation, true);

    setType("SplashVessik");
    setSolidness(SPECTRAL);

    const Box view = WorldManager::getInstance().getView();
    const float start_y = view.getCorner().getY() + view.getVertical() + START_BELOW;
    setPosition(Vector(target.getX(), start_y));
    setVelocity(Vector(0, -(start_y - target.getY()) / RISING_STEPS));

    m_countdown = static_cast<int>(RISING_STEPS);
    registerInterest(STEP_EVENT);
    registerInterest(KEYBOARD_EVENT);
}

int SplashVessik::eventHandler(const Event *p_event) {
    if (const TitleExit exit = leaveTitle(this, p_event); exit != TitleExit::STAYS)
        return exit == TitleExit::KEY ? 1 : 0;
    if (p_event->getType() != STEP_EVENT)
        return 0;

    m_countdown--;
    if (m_countdown <= 0 && m_target.getY() >= getPosition().getY())
        setVelocity(Vector(0, 0));
    if (m_countdown == REST) {
        // the animation points at the sprite: replace it before the old one goes
        std::unique_ptr<Sprite> p_resting = makeResting();
        Animation animation;
        animation.setSprite(p_resting.get());
        setAnimation(animation, true);
        m_p_sprite = std::move(p_resting);
        setPosition(Vector(getPosition().getX() - 1.0f, getPosition().getY()));
    }
    if (m_countdown == END) {
        GameManager::getInstance().setGameOver();
        WorldManager::getInstance().markForDelete(this);
    }
    return 1;
}

} // namespace vk
