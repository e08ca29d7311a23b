// hello: a character walks with the arrow keys inside a walled world, and a
// view object counts its steps. Escape quits.
//
//   hello [--headless] [--steps N]
//
// --headless runs without a window; --steps N ends the game after N steps.

// [guide: include]
#include <vessik/vessik.h>
// [guide end]

#include <cstdlib>
#include <cstring>

namespace {

// [guide: wall]
// One cell of '#' that nothing solid can pass through.
class Wall : public vk::Object {
  public:
    explicit Wall(vk::Vector cell) {
        setType("Wall");
        setPosition(cell);
    }

    int draw() override { return vk::DisplayManager::getInstance().drawCh(getPosition(), '#', vk::BLUE); }
};
// [guide end]

// [guide: hero]
// The player: moves one cell per arrow key press unless a wall is in the way.
class Hero : public vk::Object {
  public:
    Hero() {
        setType("Hero");
        setSprite("hero");
        const vk::Box world = vk::WorldManager::getInstance().getBoundary();
        setPosition(vk::Vector(world.getHorizontal() / 2, world.getVertical() / 2));
        registerInterest(vk::KEYBOARD_EVENT);
    }

    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::KEYBOARD_EVENT)
            return vk::Object::eventHandler(p_event);
        const auto *p_key = static_cast<const vk::EventKeyboard *>(p_event);
        if (p_key->getKeyboardAction() != vk::KEY_PRESSED)
            return 0;
        switch (p_key->getKey()) {
        case vk::Keyboard::LEFT_ARROW:
            return walk(vk::Vector(-1, 0));
        case vk::Keyboard::RIGHT_ARROW:
            return walk(vk::Vector(1, 0));
        case vk::Keyboard::UP_ARROW:
            return walk(vk::Vector(0, -1));
        case vk::Keyboard::DOWN_ARROW:
            return walk(vk::Vector(0, 1));
        case vk::Keyboard::ESCAPE:
            vk::GameManager::getInstance().setGameOver();
            return 1;
        default:
            return 0;
        }
    }

  private:
    int walk(vk::Vector delta) {
        vk::WorldManager &world = vk::WorldManager::getInstance();
        // moveObject refuses a move into a wall (a HARD object)
        if (world.moveObject(this, getPosition() + delta) == 0) {
            const vk::EventView step("Steps", 1, true);
            world.onEvent(&step);
        }
        return 1;
    }
};
// [guide end]

// Ends the game after the number of steps --steps asks for.
class Timer : public vk::Object {
  public:
    explicit Timer(int steps) : m_steps(steps) {
        setSolidness(vk::SPECTRAL);
        registerInterest(vk::STEP_EVENT);
    }

    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return vk::Object::eventHandler(p_event);
        if (static_cast<const vk::EventStep *>(p_event)->getStepCount() + 1 >= m_steps)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }

  private:
    int m_steps;
};

} // namespace

int main(int argc, char **argv) {
    int steps = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--headless") == 0)
            vk::Config::getInstance().loadConfig("headless:true,");
        else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc)
            steps = std::atoi(argv[++i]);
    }

    // [guide: start]
    vk::GameManager &game = vk::GameManager::getInstance();
    if (game.startUp() != 0) {
        game.shutDown();
        return 1;
    }
    vk::LogManager::getInstance().writeLog("hello: the engine is running");
    vk::ResourceManager::getInstance().loadSprite("hero.txt", "hero");
    // [guide end]

    // [guide: world]
    const vk::Box world = vk::WorldManager::getInstance().getBoundary();
    const int width = static_cast<int>(world.getHorizontal());
    const int height = static_cast<int>(world.getVertical());
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
                new Wall(vk::Vector(x, y));
    new Hero;

    auto *p_steps = new vk::ViewObject;
    p_steps->setViewString("Steps");
    p_steps->setBorder(false);
    p_steps->setLocation(vk::TOP_CENTER);
    p_steps->setColor(vk::YELLOW);
    // [guide end]

    if (steps > 0)
        new Timer(steps);

    // [guide: run]
    game.run();
    game.shutDown();
    return 0;
    // [guide end]
}
