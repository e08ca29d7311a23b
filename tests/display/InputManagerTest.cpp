#include "DisplayTestSupport.h"

#include <vessik/display/EventKeyboard.h>
#include <vessik/display/EventMouse.h>
#include <vessik/display/InputManager.h>
#include <vessik/display/Keyboard.h>
#include <vessik/display/Mouse.h>
#include <vessik/world/Object.h>

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
#include <utility>

using vk::DisplayManager;
using vk::InputManager;
namespace Key = vk::Keyboard;

namespace {

// Events as a handler heard them, in order.
using Heard = std::vector<std::string>;

std::string key(int action, int key) { return "key " + std::to_string(action) + " " + std::to_string(key); }

std::string mouse(int action, int button, float col, float row) {
    return "mouse " + std::to_string(action) + " " + std::to_string(button) + " at " + vk::Vector(col, row).toString();
}

struct Recorder : vk::Object {
    Heard heard;
    Recorder() {
        registerInterest(vk::KEYBOARD_EVENT);
        registerInterest(vk::MSE_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_key = dynamic_cast<const vk::EventKeyboard *>(p_event))
            heard.push_back(key(p_key->getKeyboardAction(), p_key->getKey()));
        else if (const auto *p_mouse = dynamic_cast<const vk::EventMouse *>(p_event))
            heard.push_back(mouse(p_mouse->getMouseAction(), p_mouse->getMouseButton(),
                                  p_mouse->getMousePosition().getX(), p_mouse->getMousePosition().getY()));
        return 1;
    }
};

// One game-loop step's worth of input.
Heard step(Recorder &recorder) {
    InputManager::getInstance().getInput();
    return std::exchange(recorder.heard, {});
}

// A window event; a key event's key code is `x`.
sf::Event windowEvent(sf::Event::EventType type, int x = 0, int y = 0, sf::Mouse::Button button = sf::Mouse::Left) {
    sf::Event event{};
    event.type = type;
    if (type == sf::Event::MouseMoved)
        event.mouseMove = {x, y};
    else if (type == sf::Event::MouseButtonPressed)
        event.mouseButton = {button, x, y};
    else
        event.key.code = static_cast<sf::Keyboard::Key>(x);
    return event;
}

// Starts the display and input managers and focuses the window; the
// window's X id, empty when that failed.
std::string startWindow() {
    if (DisplayManager::getInstance().startUp() != 0 || InputManager::getInstance().startUp() != 0)
        return "";
    const std::string id =
        std::to_string(static_cast<unsigned long>(DisplayManager::getInstance().getWindow()->getSystemHandle()));
    // let the window map before it is focused
    DisplayManager::getInstance().swapBuffers();
    return vktest::run("xdotool windowfocus --sync " + id) == 0 ? id : "";
}

bool xdotool(const std::string &args) { return vktest::run("xdotool " + args) == 0; }

bool held(sf::Keyboard::Key code) { return sf::Keyboard::isKeyPressed(code); }

} // namespace

TEST(InputManager, KeysMapOneToOneOntoTheEnginesAndNameTheirCharacters) {
    const struct { sf::Keyboard::Key sfml; int key; const char *text; } cases[] = {
        {sf::Keyboard::A, Key::A, "A"},           {sf::Keyboard::Z, Key::Z, "Z"},
        {sf::Keyboard::Num0, Key::NUM_0, "0"},    {sf::Keyboard::Num9, Key::NUM_9, "9"},
        {sf::Keyboard::Space, Key::SPACE, " "},   {sf::Keyboard::Up, Key::UP_ARROW, ""},
        {sf::Keyboard::Backspace, Key::BACKSPACE, ""}, {sf::Keyboard::F12, Key::F12, ""},
        {sf::Keyboard::Tilde, Key::TILDE, "~"},   {sf::Keyboard::Quote, Key::QUOTE, "'"},
        {sf::Keyboard::LBracket, 74, "["},        {sf::Keyboard::RBracket, 75, "]"},
        // the keypad's operators are the engine's
        {sf::Keyboard::Subtract, Key::MINUS, "-"}, {sf::Keyboard::Add, Key::PLUS, "+"},
        {sf::Keyboard::Multiply, Key::MULTIPLY, "*"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(vk::sfmlKeyName(c.sfml));
        EXPECT_EQ(vk::keyFromSFML(c.sfml), c.key);
        EXPECT_EQ(vk::toString(static_cast<Key::Key>(c.key)), c.text);
    }
    // the main row's minus, the keypad's digits and the keys the engine lacks
    for (const int unknown : std::initializer_list<int>{sf::Keyboard::Hyphen, sf::Keyboard::Divide,
                                                        sf::Keyboard::Numpad0, sf::Keyboard::Numpad9,
                                                        sf::Keyboard::LAlt, sf::Keyboard::Delete, sf::Keyboard::F13,
                                                        sf::Keyboard::Unknown, sf::Keyboard::KeyCount, -7})
        EXPECT_EQ(vk::keyFromSFML(unknown), Key::UNDEFINED_KEY) << vk::sfmlKeyName(unknown);
    EXPECT_EQ(vk::toString(Key::UNDEFINED_KEY), "");

    // every engine key comes from exactly one key, but for the reserved 73
    // and 76 (which still has a character)
    EXPECT_EQ(vk::toString(static_cast<Key::Key>(76)), "`");
    std::multiset<int> produced;
    for (int code = 0; code < sf::Keyboard::KeyCount; code++)
        produced.insert(vk::keyFromSFML(code));
    for (int value = 0; value < Key::KEY_VALUES; value++)
        EXPECT_EQ(produced.count(value), value == 73 || value == 76 ? 0u : 1u) << "engine key " << value;
}

TEST(InputManager, StartsAfterTheDisplayAndTurnsWindowEventsIntoEngineEventsInCells) {
    {
        vktest::Engine engine("", false);
        EXPECT_EQ(InputManager::getInstance().startUp(), -1);
        EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): Error! DisplayManager must be started first."));
    }
    unsetenv("DISPLAY");
    vktest::Engine engine("headless:true,", false, 15);
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    InputManager &input = InputManager::getInstance();
    ASSERT_EQ(input.startUp(), 0);
    EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): no input in headless mode."));
    EXPECT_EQ(input.startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("InputManager::startup(): Warning! InputManager already started."));
    Recorder recorder;
    EXPECT_TRUE(step(recorder).empty()) << "headless, nothing is heard";

    // an unknown key still gives both events, with no key; releases, wheels,
    // text, focus and resizes deliver nothing
    for (const sf::Event &event :
         {windowEvent(sf::Event::KeyPressed, sf::Keyboard::Space),
          windowEvent(sf::Event::KeyReleased, sf::Keyboard::Space),
          windowEvent(sf::Event::KeyPressed, sf::Keyboard::Hyphen),
          windowEvent(sf::Event::KeyReleased, sf::Keyboard::Hyphen), windowEvent(sf::Event::MouseMoved, 128, 64),
          windowEvent(sf::Event::MouseButtonPressed, 64, 16, sf::Mouse::Right),
          windowEvent(sf::Event::MouseButtonPressed, 0, 0, sf::Mouse::Middle),
          windowEvent(sf::Event::MouseButtonPressed, 0, 0, sf::Mouse::XButton1),
          windowEvent(sf::Event::MouseButtonReleased), windowEvent(sf::Event::MouseWheelScrolled),
          windowEvent(sf::Event::TextEntered), windowEvent(sf::Event::LostFocus), windowEvent(sf::Event::Resized)})
        EXPECT_TRUE(input.handleWindowEvent(event));
    EXPECT_EQ(recorder.heard,
              (Heard{key(vk::KEY_PRESSED, Key::SPACE), key(vk::KEY_RELEASED, Key::SPACE),
                     key(vk::KEY_PRESSED, Key::UNDEFINED_KEY), key(vk::KEY_RELEASED, Key::UNDEFINED_KEY),
                     mouse(vk::MOVED, vk::Mouse::UNDEFINED_MOUSE_BUTTON, 10, 2),
                     mouse(vk::CLICKED, vk::Mouse::RIGHT, 5, 0.5f), mouse(vk::CLICKED, vk::Mouse::MIDDLE, 0, 0),
                     mouse(vk::CLICKED, vk::Mouse::UNDEFINED_MOUSE_BUTTON, 0, 0)}));
    // the focus is remembered, back at every start
    EXPECT_FALSE(input.hasFocus());
    EXPECT_TRUE(input.handleWindowEvent(windowEvent(sf::Event::GainedFocus)));
    EXPECT_TRUE(input.hasFocus());
    input.handleWindowEvent(windowEvent(sf::Event::LostFocus));
    input.shutDown();
    ASSERT_EQ(input.startUp(), 0);
    EXPECT_TRUE(input.hasFocus());
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Keyboard event ' ' (Space)"));
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Warning key 'Hyphen' not handled."));
    EXPECT_EQ(input.toEventKeyboard(windowEvent(sf::Event::MouseMoved)).getKey(), Key::UNDEFINED_KEY);
    EXPECT_TRUE(engine.env.logHas("toEventKeyboard(): Error! Called with non-keyboard event."));

    vk::GameManager::getInstance().setGameOver(false);
    EXPECT_FALSE(input.handleWindowEvent(windowEvent(sf::Event::Closed)));
    EXPECT_TRUE(vk::GameManager::getInstance().getGameOver());
    // the program ends, not only the loop
    EXPECT_TRUE(vk::GameManager::getInstance().quitRequested());
    EXPECT_TRUE(engine.env.logHas("InputManager::getInput(): Window closed. Setting game over."));
}

TEST(InputManager, HeldKeysGiveOnePressAHeldEventEveryStepInPollOrderAndOneRelease) {
    vktest::Engine engine("", true, 2);
    ASSERT_FALSE(startWindow().empty());
    EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): Keyboard repeated disabled."));
    Recorder recorder;
    step(recorder);

    ASSERT_TRUE(xdotool("keydown Up"));
    // once the server reports the key down, its press event has arrived too
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::Up); }));
    EXPECT_EQ(step(recorder), (Heard{key(vk::KEY_PRESSED, Key::UP_ARROW), key(vk::KEY_DOWN, Key::UP_ARROW)}));
    // held past the server's auto-repeat delay: still no second press
    for (int i = 0; i < 3; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(step(recorder), Heard{key(vk::KEY_DOWN, Key::UP_ARROW)}) << "step " << i;
    }
    ASSERT_TRUE(xdotool("keyup Up"));
    ASSERT_TRUE(vktest::waitFor([] { return !held(sf::Keyboard::Up); }));
    EXPECT_EQ(step(recorder), Heard{key(vk::KEY_RELEASED, Key::UP_ARROW)});
    EXPECT_TRUE(step(recorder).empty());

    // F11 is pressed and released but never held
    ASSERT_TRUE(xdotool("keydown F11"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::F11); }));
    EXPECT_EQ(step(recorder), Heard{key(vk::KEY_PRESSED, Key::F11)});
    EXPECT_TRUE(step(recorder).empty());
    ASSERT_TRUE(xdotool("keyup F11"));
    ASSERT_TRUE(vktest::waitFor([] { return !held(sf::Keyboard::F11); }));
    EXPECT_EQ(step(recorder), Heard{key(vk::KEY_RELEASED, Key::F11)});

    // held keys go out in the engine's order, not the order pressed
    ASSERT_TRUE(xdotool("keydown a keydown Left keydown space"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::Space); }));
    step(recorder);
    EXPECT_EQ(step(recorder), (Heard{key(vk::KEY_DOWN, Key::LEFT_ARROW), key(vk::KEY_DOWN, Key::SPACE),
                                     key(vk::KEY_DOWN, Key::A)}));
    ASSERT_TRUE(xdotool("keyup a keyup Left keyup space"));
}

TEST(InputManager, MouseArrivesInCellsAndClosingTheWindowEndsTheStep) {
    vktest::Engine engine("", true);
    const std::string window = startWindow();
    ASSERT_FALSE(window.empty());
    Recorder recorder;
    ASSERT_TRUE(xdotool("mousemove --window " + window + " 128 64"));
    ASSERT_TRUE(vktest::waitFor([&] {
        const Heard heard = step(recorder);
        return !heard.empty() && heard.back() == mouse(vk::MOVED, vk::Mouse::UNDEFINED_MOUSE_BUTTON, 10, 2);
    }));

    ASSERT_TRUE(xdotool("mousedown 3 mousedown 1"));
    ASSERT_TRUE(vktest::waitFor([] { return sf::Mouse::isButtonPressed(sf::Mouse::Left); }));
    const Heard clicks = step(recorder);
    ASSERT_GE(clicks.size(), 2u);
    EXPECT_EQ(Heard(clicks.begin(), clicks.begin() + 2),
              (Heard{mouse(vk::CLICKED, vk::Mouse::RIGHT, 10, 2), mouse(vk::CLICKED, vk::Mouse::LEFT, 10, 2)}));
    // held buttons every step, left first, where the pointer is
    EXPECT_EQ(step(recorder),
              (Heard{mouse(vk::PRESSED, vk::Mouse::LEFT, 10, 2), mouse(vk::PRESSED, vk::Mouse::RIGHT, 10, 2)}));

    // closed as a window manager does: the buttons are still down, but the
    // step ends at the close
    vk::GameManager::getInstance().setGameOver(false);
    ASSERT_EQ(vktest::run(std::string(VK_CLOSE_WINDOW) + " " + window), 0);
    Heard last;
    ASSERT_TRUE(vktest::waitFor([&] {
        last = step(recorder);
        return vk::GameManager::getInstance().getGameOver();
    }));
    EXPECT_TRUE(last.empty());
    ASSERT_TRUE(xdotool("mouseup 1 mouseup 3"));
}
