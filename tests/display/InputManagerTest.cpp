#include "Config.h"
#include "DisplayManager.h"
#include "DisplayTestSupport.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "LogManager.h"
#include "Mouse.h"
#include "TestEnv.h"
#include "XServer.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

using vk::InputManager;
using vktest::Heard;
using vktest::key;
using vktest::mouse;
namespace Key = vk::Keyboard;

namespace {

struct Engine {
    vktest::TestEnv env;
    explicit Engine(const std::string &config, int log_level = 5) : env(config) {
        vk::Config::getInstance().loadConfig("");
        vk::LogManager::getInstance().startUp();
        vk::LogManager::getInstance().setLogLevel(log_level);
    }
    ~Engine() {
        InputManager::getInstance().shutDown();
        vk::DisplayManager::getInstance().shutDown();
        vk::LogManager::getInstance().shutDown();
    }
};

sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key code) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}

sf::Event moveEvent(int x, int y) {
    sf::Event event{};
    event.type = sf::Event::MouseMoved;
    event.mouseMove.x = x;
    event.mouseMove.y = y;
    return event;
}

sf::Event buttonEvent(sf::Mouse::Button button, int x, int y) {
    sf::Event event{};
    event.type = sf::Event::MouseButtonPressed;
    event.mouseButton.button = button;
    event.mouseButton.x = x;
    event.mouseButton.y = y;
    return event;
}

} // namespace

TEST(InputManager, EveryEngineKeyHasExactlyOneSFMLKeyExceptTheReservedOnes) {
    std::set<int> produced;
    int defined = 0;
    for (int code = 0; code < sf::Keyboard::KeyCount; code++) {
        const Key::Key engine_key = vk::keyFromSFML(code);
        if (engine_key == Key::UNDEFINED_KEY)
            continue;
        defined++;
        EXPECT_TRUE(produced.insert(engine_key).second) << "engine key " << engine_key << " given twice";
    }
    EXPECT_EQ(defined, 75);
    for (int value = 0; value < Key::KEY_VALUES; value++)
        EXPECT_EQ(produced.count(value), value == 73 || value == 76 ? 0u : 1u) << "engine key " << value;
}

TEST(InputManager, KeypadOperatorsAreTheEnginesAndOtherKeysAreUnknown) {
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::Subtract), Key::MINUS);
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::Add), Key::PLUS);
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::Multiply), Key::MULTIPLY);
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::Num0), Key::NUM_0);
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::RBracket), 75);
    for (const sf::Keyboard::Key unknown :
         {sf::Keyboard::Hyphen, sf::Keyboard::LAlt, sf::Keyboard::RSystem, sf::Keyboard::Menu, sf::Keyboard::Divide,
          sf::Keyboard::Numpad0, sf::Keyboard::Numpad9, sf::Keyboard::F13, sf::Keyboard::Delete, sf::Keyboard::Unknown})
        EXPECT_EQ(vk::keyFromSFML(unknown), Key::UNDEFINED_KEY) << vk::sfmlKeyName(unknown);
    EXPECT_EQ(vk::keyFromSFML(sf::Keyboard::KeyCount), Key::UNDEFINED_KEY);
    EXPECT_EQ(vk::keyFromSFML(-7), Key::UNDEFINED_KEY);

    EXPECT_EQ(vk::toString(Key::SPACE), " ");
    EXPECT_EQ(vk::toString(Key::Z), "Z");
    EXPECT_EQ(vk::toString(Key::NUM_0), "0");
    EXPECT_EQ(vk::toString(static_cast<Key::Key>(76)), "`");
    for (const int none : {-1, 1, 35, 72, 73, 77})
        EXPECT_EQ(vk::toString(static_cast<Key::Key>(none)), "") << none;
}

TEST(InputManager, KeyboardEventsCarryTheKeyAndLeaveTheAction) {
    Engine engine("headless:true,", 15);
    const InputManager &input = InputManager::getInstance();

    const vk::EventKeyboard w = input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, sf::Keyboard::W));
    EXPECT_EQ(w.getType(), vk::KEYBOARD_EVENT);
    EXPECT_EQ(w.getKey(), Key::W);
    EXPECT_EQ(w.getKeyboardAction(), vk::UNDEFINED_KEYBOARD_ACTION);
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Keyboard event 'W' (W)"));
    (void)input.toEventKeyboard(keyEvent(sf::Event::KeyReleased, sf::Keyboard::Down));
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Keyboard event '' (Down)"));

    // the main row's minus is not the engine's
    const vk::EventKeyboard hyphen = input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Hyphen));
    EXPECT_EQ(hyphen.getKey(), Key::UNDEFINED_KEY);
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Warning key 'Hyphen' not handled."));
    EXPECT_EQ(input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Subtract)).getKey(), Key::MINUS);
    (void)input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Unknown));
    EXPECT_TRUE(engine.env.logHas("InputManager::toEventKeyboard(): Warning key 'Unknown' not handled."));

    const vk::EventKeyboard wrong = input.toEventKeyboard(moveEvent(1, 1));
    EXPECT_EQ(wrong.getKey(), Key::UNDEFINED_KEY);
    EXPECT_TRUE(engine.env.logHas("toEventKeyboard(): Error! Called with non-keyboard event."));
}

TEST(InputManager, WindowEventsBecomeEngineEventsInCells) {
    Engine engine("headless:true,");
    ASSERT_EQ(vk::DisplayManager::getInstance().startUp(), 0);
    const InputManager &input = InputManager::getInstance();
    vktest::Recorder recorder;

    EXPECT_TRUE(input.handleWindowEvent(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Space)));
    EXPECT_TRUE(input.handleWindowEvent(keyEvent(sf::Event::KeyReleased, sf::Keyboard::Space)));
    // an unmapped key still gives both events, with no key
    EXPECT_TRUE(input.handleWindowEvent(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Hyphen)));
    EXPECT_TRUE(input.handleWindowEvent(keyEvent(sf::Event::KeyReleased, sf::Keyboard::Hyphen)));
    EXPECT_TRUE(input.handleWindowEvent(moveEvent(128, 64)));
    EXPECT_TRUE(input.handleWindowEvent(buttonEvent(sf::Mouse::Right, 64, 16)));
    EXPECT_TRUE(input.handleWindowEvent(buttonEvent(sf::Mouse::Middle, 0, 0)));
    EXPECT_TRUE(input.handleWindowEvent(buttonEvent(sf::Mouse::XButton1, 0, 0)));
    // releases, wheels, text, focus and resizes are ignored
    sf::Event ignored{};
    for (const sf::Event::EventType type :
         {sf::Event::MouseButtonReleased, sf::Event::MouseWheelScrolled, sf::Event::TextEntered,
          sf::Event::GainedFocus, sf::Event::LostFocus, sf::Event::Resized, sf::Event::MouseLeft}) {
        ignored.type = type;
        EXPECT_TRUE(input.handleWindowEvent(ignored));
    }

    const std::vector<Heard> heard = recorder.take();
    const std::vector<Heard> expected = {
        key(vk::KEY_PRESSED, Key::SPACE),
        key(vk::KEY_RELEASED, Key::SPACE),
        key(vk::KEY_PRESSED, Key::UNDEFINED_KEY),
        key(vk::KEY_RELEASED, Key::UNDEFINED_KEY),
        mouse(vk::MOVED, vk::Mouse::UNDEFINED_MOUSE_BUTTON),
        mouse(vk::CLICKED, vk::Mouse::RIGHT),
        mouse(vk::CLICKED, vk::Mouse::MIDDLE),
        mouse(vk::CLICKED, vk::Mouse::UNDEFINED_MOUSE_BUTTON),
    };
    ASSERT_EQ(heard, expected);
    EXPECT_EQ(heard[4].position, vk::Vector(10, 2));
    EXPECT_EQ(heard[5].position, vk::Vector(5, 0.5f));
}

TEST(InputManager, ClosingTheWindowSetsGameOver) {
    Engine engine("headless:true,", 1);
    vk::GameManager::getInstance().setGameOver(false);
    sf::Event closed{};
    closed.type = sf::Event::Closed;
    EXPECT_FALSE(InputManager::getInstance().handleWindowEvent(closed));
    EXPECT_TRUE(vk::GameManager::getInstance().getGameOver());
    EXPECT_TRUE(engine.env.logHas("InputManager::getInput(): Window closed. Setting game over."));
}

TEST(InputManager, OnlyKeyboardAndMouseEventsAreServed) {
    const InputManager &input = InputManager::getInstance();
    EXPECT_TRUE(input.isValid(vk::KEYBOARD_EVENT));
    EXPECT_TRUE(input.isValid(vk::MSE_EVENT));
    EXPECT_FALSE(input.isValid(vk::STEP_EVENT));
    EXPECT_FALSE(input.isValid(vk::UNDEFINED_EVENT));
    EXPECT_FALSE(input.isValid("vk-keyboard "));
}

TEST(InputManager, StartUpNeedsAStartedDisplayUnlessHeadless) {
    {
        Engine engine("");
        EXPECT_EQ(InputManager::getInstance().startUp(), -1);
        EXPECT_FALSE(InputManager::getInstance().isStarted());
        EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): Error! DisplayManager must be started first."));
    }
    Engine engine("headless:true,", 5);
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);
    EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): no input in headless mode."));
    EXPECT_TRUE(engine.env.logHas("InputManager::startUp(): successfully started."));
    EXPECT_EQ(InputManager::getInstance().startUp(), -1);
    EXPECT_TRUE(engine.env.logHas("InputManager::startup(): Warning! InputManager already started."));
}

TEST(InputManager, HeadlessGetInputDeliversNothing) {
    unsetenv("DISPLAY");
    Engine engine("headless:true,");
    ASSERT_EQ(vk::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);
    vktest::Recorder recorder;
    const std::size_t lines = engine.env.logMessages().size();
    for (int i = 0; i < 3; i++)
        InputManager::getInstance().getInput();
    EXPECT_TRUE(recorder.heard.empty());
    EXPECT_EQ(engine.env.logMessages().size(), lines);
}

namespace {

// An engine with a window on a private X server, driven with xdotool.
struct WindowInput {
    vktest::XServer x_server;
    Engine engine;
    std::string window_id;
    explicit WindowInput(const std::string &config = "", int log_level = 5) : engine(config, log_level) {}

    [[nodiscard]] bool start() {
        if (!x_server.ok()) {
            ADD_FAILURE() << "no X server: " << x_server.error();
            return false;
        }
        if (vk::DisplayManager::getInstance().startUp() != 0 ||
            InputManager::getInstance().startUp() != 0)
            return false;
        sf::RenderWindow *p_window = vk::DisplayManager::getInstance().getWindow();
        window_id = std::to_string(static_cast<unsigned long>(p_window->getSystemHandle()));
        // let the window map before it is focused
        vk::DisplayManager::getInstance().swapBuffers();
        return vktest::run("xdotool windowfocus --sync " + window_id) == 0;
    }

    // Runs xdotool with the arguments; whether it succeeded.
    [[nodiscard]] bool xdotool(const std::string &args) const { return vktest::run("xdotool " + args) == 0; }

    // One game-loop step's worth of input.
    std::vector<Heard> step(vktest::Recorder &recorder) const {
        InputManager::getInstance().getInput();
        return recorder.take();
    }
};

bool held(sf::Keyboard::Key code) { return sf::Keyboard::isKeyPressed(code); }

} // namespace

TEST(InputManager, HeldKeyGivesOnePressAHeldEventEveryStepAndOneRelease) {
    WindowInput input("", 2);
    ASSERT_TRUE(input.start());
    EXPECT_TRUE(input.engine.env.logHas("InputManager::startUp(): Keyboard repeated disabled."));
    vktest::Recorder recorder;
    input.step(recorder);

    ASSERT_TRUE(input.xdotool("keydown Up"));
    // once the server reports the key down, its press event has arrived too
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::Up); }));
    EXPECT_EQ(input.step(recorder), (std::vector<Heard>{key(vk::KEY_PRESSED, Key::UP_ARROW),
                                                        key(vk::KEY_DOWN, Key::UP_ARROW)}));
    // held past the server's auto-repeat delay: still no second press
    for (int i = 0; i < 3; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(input.step(recorder), std::vector<Heard>{key(vk::KEY_DOWN, Key::UP_ARROW)}) << "step " << i;
    }

    ASSERT_TRUE(input.xdotool("keyup Up"));
    ASSERT_TRUE(vktest::waitFor([] { return !held(sf::Keyboard::Up); }));
    EXPECT_EQ(input.step(recorder), std::vector<Heard>{key(vk::KEY_RELEASED, Key::UP_ARROW)});
    EXPECT_TRUE(input.step(recorder).empty());
}

TEST(InputManager, F11IsPressedAndReleasedButNeverHeld) {
    WindowInput input;
    ASSERT_TRUE(input.start());
    vktest::Recorder recorder;
    ASSERT_TRUE(input.xdotool("keydown F11"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::F11); }));
    EXPECT_EQ(input.step(recorder), std::vector<Heard>{key(vk::KEY_PRESSED, Key::F11)});
    EXPECT_TRUE(input.step(recorder).empty());
    ASSERT_TRUE(input.xdotool("keyup F11"));
    ASSERT_TRUE(vktest::waitFor([] { return !held(sf::Keyboard::F11); }));
    EXPECT_EQ(input.step(recorder), std::vector<Heard>{key(vk::KEY_RELEASED, Key::F11)});
}

TEST(InputManager, HeldKeysArePolledInTheirOrder) {
    WindowInput input;
    ASSERT_TRUE(input.start());
    vktest::Recorder recorder;
    ASSERT_TRUE(input.xdotool("keydown a keydown Left keydown space"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::Space); }));
    input.step(recorder);
    EXPECT_EQ(input.step(recorder),
              (std::vector<Heard>{key(vk::KEY_DOWN, Key::LEFT_ARROW), key(vk::KEY_DOWN, Key::SPACE),
                                  key(vk::KEY_DOWN, Key::A)}));
    ASSERT_TRUE(input.xdotool("keyup a keyup Left keyup space"));
}

TEST(InputManager, MouseMoveArrivesInCellsAndHeldButtonsLeftFirst) {
    WindowInput input;
    ASSERT_TRUE(input.start());
    vktest::Recorder recorder;
    ASSERT_TRUE(input.xdotool("mousemove --window " + input.window_id + " 128 64"));
    std::vector<Heard> moves;
    ASSERT_TRUE(vktest::waitFor([&] {
        for (const Heard &heard : input.step(recorder))
            if (heard.action == vk::MOVED)
                moves.push_back(heard);
        return !moves.empty() && moves.back().position == vk::Vector(10, 2);
    }));
    EXPECT_EQ(moves.back().key_or_button, vk::Mouse::UNDEFINED_MOUSE_BUTTON);

    ASSERT_TRUE(input.xdotool("mousedown 3 mousedown 1"));
    ASSERT_TRUE(vktest::waitFor([] { return sf::Mouse::isButtonPressed(sf::Mouse::Left); }));
    std::vector<Heard> first = input.step(recorder);
    const std::vector<Heard> clicks(first.begin(), first.begin() + 2);
    EXPECT_EQ(clicks, (std::vector<Heard>{mouse(vk::CLICKED, vk::Mouse::RIGHT), mouse(vk::CLICKED, vk::Mouse::LEFT)}));
    for (int i = 0; i < 2; i++) {
        const std::vector<Heard> heard = input.step(recorder);
        ASSERT_EQ(heard, (std::vector<Heard>{mouse(vk::PRESSED, vk::Mouse::LEFT), mouse(vk::PRESSED, vk::Mouse::RIGHT)}));
        EXPECT_EQ(heard[0].position, vk::Vector(10, 2));
        EXPECT_EQ(heard[1].position, vk::Vector(10, 2));
    }
    ASSERT_TRUE(input.xdotool("mouseup 1 mouseup 3"));
}

TEST(InputManager, ClosingTheRealWindowEndsTheGameAndTheStepsInput) {
    WindowInput input("", 1);
    ASSERT_TRUE(input.start());
    vktest::Recorder recorder;
    vk::GameManager::getInstance().setGameOver(false);
    ASSERT_TRUE(input.xdotool("keydown Down"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::Down); }));
    input.step(recorder);

    ASSERT_EQ(vktest::run(std::string(VK_CLOSE_WINDOW) + " " + input.window_id), 0);
    std::vector<Heard> heard;
    ASSERT_TRUE(vktest::waitFor([&] {
        heard = input.step(recorder);
        return vk::GameManager::getInstance().getGameOver();
    }));
    // the key is still down, but the step ended at the close
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(input.engine.env.logHas("InputManager::getInput(): Window closed. Setting game over."));
    ASSERT_TRUE(input.xdotool("keyup Down"));
}

TEST(InputManager, ShutDownRestoresKeyRepeatWhileTheWindowStillExists) {
    WindowInput input("", 2);
    ASSERT_TRUE(input.start());
    InputManager::getInstance().shutDown();
    EXPECT_TRUE(input.engine.env.logHas("InputManager::shutDown(): Keyboard repeat enabled."));
    EXPECT_FALSE(InputManager::getInstance().isStarted());

    // a key held past the server's auto-repeat delay now repeats
    sf::RenderWindow *p_window = vk::DisplayManager::getInstance().getWindow();
    ASSERT_TRUE(input.xdotool("keydown x"));
    ASSERT_TRUE(vktest::waitFor([] { return held(sf::Keyboard::X); }));
    int presses = 0;
    sf::Event event;
    vktest::waitFor(
        [&] {
            while (p_window->pollEvent(event))
                presses += event.type == sf::Event::KeyPressed ? 1 : 0;
            return presses > 1;
        },
        2000);
    ASSERT_TRUE(input.xdotool("keyup x"));
    EXPECT_GT(presses, 1);
}
