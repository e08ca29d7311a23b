// pathfinding: walls come from a map drawn in a sprite file; click a cell and
// the walker finds its way there with A*, the search shown as it runs.
//
//   pathfinding [--headless] [--steps N] [--goal X Y]
//
// --goal X Y asks for a walk to cell (X, Y) at the start, as a click would;
// the program then exits with 1 unless the walker stands there at the end.

#include <vessik/vessik.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Cells the search looks at per step: slow enough to watch.
constexpr int CELLS_PER_STEP = 4;

class Walker : public vk::Object {
  public:
    explicit Walker(int steps) : m_steps(steps) {
        setType("Walker");
        setPosition(vk::Vector(2, 2));
        setSpeed(0.4f);
        setAltitude(3);
        // a path may cut diagonally past the corner of a wall: slide along
        // it rather than stop there
        setAvoidCollisions(true);
        registerInterest(vk::MSE_EVENT);
        registerInterest(vk::STEP_EVENT);
    }

    // Starts a search for a way to `goal`, replacing any walk under way; the
    // path event that ends it makes the walker follow the path found.
    void seek(vk::Vector goal) {
        setFollowPath(false);
        setDirection(vk::Vector(0, 0));
        vk::PathManager::getInstance().findPath(this, goal);
    }

    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() == vk::MSE_EVENT) {
            const auto *p_mouse = static_cast<const vk::EventMouse *>(p_event);
            if (p_mouse->getMouseAction() != vk::CLICKED || p_mouse->getMouseButton() != vk::Mouse::LEFT)
                return 0;
            seek(p_mouse->getMousePosition());
            return 1;
        }
        if (p_event->getType() != vk::STEP_EVENT)
            return vk::Object::eventHandler(p_event);
        if (const vk::PathFind *p_search = getPathFind()) {
            const vk::EventView looked("Cells looked at", p_search->getExpandedCount());
            vk::WorldManager::getInstance().onEvent(&looked);
        }
        if (static_cast<const vk::EventStep *>(p_event)->getStepCount() + 1 == m_steps)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }

    int draw() override {
        vk::DisplayManager &display = vk::DisplayManager::getInstance();
        const vk::Box world = vk::WorldManager::getInstance().getBoundary();
        if (const vk::PathFind *p_search = getPathFind()) {
            for (int y = 0; y < static_cast<int>(world.getVertical()); y++)
                for (int x = 0; x < static_cast<int>(world.getHorizontal()); x++)
                    if (p_search->isExpanded(x, y))
                        display.drawCh(vk::Vector(x, y), '.', vk::CYAN);
        }
        if (getFollowPath()) {
            const vk::Path path = getPath();
            for (std::size_t i = static_cast<std::size_t>(path.getIndex()); i < path.getCount(); i++)
                display.drawCh(path.getWaypoints()[i], '*', vk::YELLOW);
        }
        return display.drawCh(getPosition(), '@', vk::GREEN);
    }

  private:
    int m_steps;
};

// Makes a wall of every '#' of the map sprite and shows the map.
int buildMap() {
    const vk::Sprite *p_map = vk::ResourceManager::getInstance().getSprite("map");
    if (!p_map)
        return -1;
    const vk::Frame frame = p_map->getFrame(0);
    for (int y = 0; y < frame.getHeight(); y++)
        for (int x = 0; x < frame.getWidth(); x++)
            if (frame.getString()[static_cast<std::size_t>(y * frame.getWidth() + x)] == '#')
                (new vk::Object)->setPosition(vk::Vector(x, y)); // solid, drawn by the map
    auto *p_picture = new vk::Object;
    p_picture->setSolidness(vk::SPECTRAL);
    p_picture->setSprite("map");
    // a sprite is drawn centred on its object
    p_picture->setPosition(vk::Vector((frame.getWidth() - 1) / 2.0f, (frame.getHeight() - 1) / 2.0f));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    std::string config = "window_horizontal_chars:40,window_vertical_chars:16,"
                         "window_horizontal_pixels:640,window_vertical_pixels:512,window_title:pathfinding,";
    int steps = 0;
    std::optional<vk::Vector> goal;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--headless") == 0)
            config += "headless:true,";
        else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc)
            steps = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--goal") == 0 && i + 2 < argc) {
            goal = vk::Vector(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
            i += 2;
        }
    }
    vk::Config::getInstance().loadConfig(config);

    vk::GameManager &game = vk::GameManager::getInstance();
    if (game.startUp() != 0 || vk::ResourceManager::getInstance().loadSprite("map.txt", "map") != 0 ||
        buildMap() != 0) {
        game.shutDown();
        return 1;
    }
    // a fixed number of cells per step, not as many as the step's spare time
    // allows, which would finish most searches before they could be seen
    vk::PathManager::getInstance().setWorkBudget(CELLS_PER_STEP);
    auto *p_walker = new Walker(steps);
    auto *p_hint = new vk::ViewObject;
    p_hint->setViewString("Click a cell to walk there");
    p_hint->setDrawValue(false);
    p_hint->setBorder(false);
    p_hint->setLocation(vk::BOTTOM_CENTER);
    auto *p_looked = new vk::ViewObject;
    p_looked->setViewString("Cells looked at");
    p_looked->setBorder(false);
    p_looked->setPosition(vk::Vector(20, 14));
    p_looked->setColor(vk::CYAN);
    if (goal)
        p_walker->seek(*goal);

    game.run();
    const vk::Vector at = p_walker->getPosition();
    std::printf("pathfinding: walker at (%g,%g)\n", at.getX(), at.getY());
    game.shutDown();
    return goal && at != *goal ? 1 : 0;
}
