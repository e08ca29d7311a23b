#include "InputManager.h"

#include "Config.h"
#include "DisplayManager.h"
#include "Event.h"
#include "GameManager.h"
#include "LogManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <array>

namespace vk {

namespace {

struct KeyInfo {
    sf::Keyboard::Key sfml;
    Keyboard::Key key;
    const char *name;
};

// Every SFML key with its readable name and the engine key it gives.
constexpr KeyInfo KEYS[] = {
    {sf::Keyboard::A, Keyboard::A, "A"},
    {sf::Keyboard::B, Keyboard::B, "B"},
    {sf::Keyboard::C, Keyboard::C, "C"},
    {sf::Keyboard::D, Keyboard::D, "D"},
    {sf::Keyboard::E, Keyboard::E, "E"},
    {sf::Keyboard::F, Keyboard::F, "F"},
    {sf::Keyboard::G, Keyboard::G, "G"},
    {sf::Keyboard::H, Keyboard::H, "H"},
    {sf::Keyboard::I, Keyboard::I, "I"},
    {sf::Keyboard::J, Keyboard::J, "J"},
    {sf::Keyboard::K, Keyboard::K, "K"},
    {sf::Keyboard::L, Keyboard::L, "L"},
    {sf::Keyboard::M, Keyboard::M, "M"},
    {sf::Keyboard::N, Keyboard::N, "N"},
    {sf::Keyboard::O, Keyboard::O, "O"},
    {sf::Keyboard::P, Keyboard::P, "P"},
    {sf::Keyboard::Q, Keyboard::Q, "Q"},
    {sf::Keyboard::R, Keyboard::R, "R"},
    {sf::Keyboard::S, Keyboard::S, "S"},
    {sf::Keyboard::T, Keyboard::T, "T"},
    {sf::Keyboard::U, Keyboard::U, "U"},
    {sf::Keyboard::V, Keyboard::V, "V"},
    {sf::Keyboard::W, Keyboard::W, "W"},
    {sf::Keyboard::X, Keyboard::X, "X"},
    {sf::Keyboard::Y, Keyboard::Y, "Y"},
    {sf::Keyboard::Z, Keyboard::Z, "Z"},
    {sf::Keyboard::Num0, Keyboard::NUM_0, "Num0"},
    {sf::Keyboard::Num1, Keyboard::NUM_1, "Num1"},
    {sf::Keyboard::Num2, Keyboard::NUM_2, "Num2"},
    {sf::Keyboard::Num3, Keyboard::NUM_3, "Num3"},
    {sf::Keyboard::Num4, Keyboard::NUM_4, "Num4"},
    {sf::Keyboard::Num5, Keyboard::NUM_5, "Num5"},
    {sf::Keyboard::Num6, Keyboard::NUM_6, "Num6"},
    {sf::Keyboard::Num7, Keyboard::NUM_7, "Num7"},
    {sf::Keyboard::Num8, Keyboard::NUM_8, "Num8"},
    {sf::Keyboard::Num9, Keyboard::NUM_9, "Num9"},
    {sf::Keyboard::Escape, Keyboard::ESCAPE, "Escape"},
    {sf::Keyboard::LControl, Keyboard::LEFT_CONTROL, "LControl"},
    {sf::Keyboard::LShift, Keyboard::LEFT_SHIFT, "LShift"},
    {sf::Keyboard::LAlt, Keyboard::UNDEFINED_KEY, "LAlt"},
    {sf::Keyboard::LSystem, Keyboard::UNDEFINED_KEY, "LSystem"},
    {sf::Keyboard::RControl, Keyboard::RIGHT_CONTROL, "RControl"},
    {sf::Keyboard::RShift, Keyboard::RIGHT_SHIFT, "RShift"},
    {sf::Keyboard::RAlt, Keyboard::UNDEFINED_KEY, "RAlt"},
    {sf::Keyboard::RSystem, Keyboard::UNDEFINED_KEY, "RSystem"},
    {sf::Keyboard::Menu, Keyboard::UNDEFINED_KEY, "Menu"},
    {sf::Keyboard::LBracket, Keyboard::LEFT_BRACKET, "LBracket"},
    {sf::Keyboard::RBracket, Keyboard::RIGHT_BRACKET, "RBracket"},
    {sf::Keyboard::Semicolon, Keyboard::SEMICOLON, "Semicolon"},
    {sf::Keyboard::Comma, Keyboard::COMMA, "Comma"},
    {sf::Keyboard::Period, Keyboard::PERIOD, "Period"},
    {sf::Keyboard::Quote, Keyboard::QUOTE, "Apostrophe"},
    {sf::Keyboard::Slash, Keyboard::SLASH, "Slash"},
    {sf::Keyboard::Backslash, Keyboard::BACKSLASH, "Backslash"},
    {sf::Keyboard::Tilde, Keyboard::TILDE, "Grave"},
    {sf::Keyboard::Equal, Keyboard::EQUAL, "Equal"},
    {sf::Keyboard::Hyphen, Keyboard::UNDEFINED_KEY, "Hyphen"},
    {sf::Keyboard::Space, Keyboard::SPACE, "Space"},
    {sf::Keyboard::Enter, Keyboard::ENTER, "Enter"},
    {sf::Keyboard::Backspace, Keyboard::BACKSPACE, "Backspace"},
    {sf::Keyboard::Tab, Keyboard::TAB, "Tab"},
    {sf::Keyboard::PageUp, Keyboard::UNDEFINED_KEY, "PageUp"},
    {sf::Keyboard::PageDown, Keyboard::UNDEFINED_KEY, "PageDown"},
    {sf::Keyboard::End, Keyboard::UNDEFINED_KEY, "End"},
    {sf::Keyboard::Home, Keyboard::UNDEFINED_KEY, "Home"},
    {sf::Keyboard::Insert, Keyboard::UNDEFINED_KEY, "Insert"},
    {sf::Keyboard::Delete, Keyboard::UNDEFINED_KEY, "Delete"},
    {sf::Keyboard::Add, Keyboard::PLUS, "Add"},
    {sf::Keyboard::Subtract, Keyboard::MINUS, "Subtract"},
    {sf::Keyboard::Multiply, Keyboard::MULTIPLY, "Multiply"},
    {sf::Keyboard::Divide, Keyboard::UNDEFINED_KEY, "Divide"},
    {sf::Keyboard::Left, Keyboard::LEFT_ARROW, "Left"},
    {sf::Keyboard::Right, Keyboard::RIGHT_ARROW, "Right"},
    {sf::Keyboard::Up, Keyboard::UP_ARROW, "Up"},
    {sf::Keyboard::Down, Keyboard::DOWN_ARROW, "Down"},
    {sf::Keyboard::Numpad0, Keyboard::UNDEFINED_KEY, "Numpad0"},
    {sf::Keyboard::Numpad1, Keyboard::UNDEFINED_KEY, "Numpad1"},
    {sf::Keyboard::Numpad2, Keyboard::UNDEFINED_KEY, "Numpad2"},
    {sf::Keyboard::Numpad3, Keyboard::UNDEFINED_KEY, "Numpad3"},
    {sf::Keyboard::Numpad4, Keyboard::UNDEFINED_KEY, "Numpad4"},
    {sf::Keyboard::Numpad5, Keyboard::UNDEFINED_KEY, "Numpad5"},
    {sf::Keyboard::Numpad6, Keyboard::UNDEFINED_KEY, "Numpad6"},
    {sf::Keyboard::Numpad7, Keyboard::UNDEFINED_KEY, "Numpad7"},
    {sf::Keyboard::Numpad8, Keyboard::UNDEFINED_KEY, "Numpad8"},
    {sf::Keyboard::Numpad9, Keyboard::UNDEFINED_KEY, "Numpad9"},
    {sf::Keyboard::F1, Keyboard::F1, "F1"},
    {sf::Keyboard::F2, Keyboard::F2, "F2"},
    {sf::Keyboard::F3, Keyboard::F3, "F3"},
    {sf::Keyboard::F4, Keyboard::F4, "F4"},
    {sf::Keyboard::F5, Keyboard::F5, "F5"},
    {sf::Keyboard::F6, Keyboard::F6, "F6"},
    {sf::Keyboard::F7, Keyboard::F7, "F7"},
    {sf::Keyboard::F8, Keyboard::F8, "F8"},
    {sf::Keyboard::F9, Keyboard::F9, "F9"},
    {sf::Keyboard::F10, Keyboard::F10, "F10"},
    {sf::Keyboard::F11, Keyboard::F11, "F11"},
    {sf::Keyboard::F12, Keyboard::F12, "F12"},
    {sf::Keyboard::F13, Keyboard::UNDEFINED_KEY, "F13"},
    {sf::Keyboard::F14, Keyboard::UNDEFINED_KEY, "F14"},
    {sf::Keyboard::F15, Keyboard::UNDEFINED_KEY, "F15"},
    {sf::Keyboard::Pause, Keyboard::PAUSE, "Pause"},
};

static_assert(sizeof KEYS / sizeof KEYS[0] == sf::Keyboard::KeyCount, "every SFML key is listed once");

// The held keys polled in every step, in the order their events go out.
// F11 and F12 are not polled.
constexpr std::array<Keyboard::Key, 73> POLLED_KEYS = {
    Keyboard::UP_ARROW,      Keyboard::DOWN_ARROW,   Keyboard::LEFT_ARROW,  Keyboard::RIGHT_ARROW,
    Keyboard::SPACE,         Keyboard::ENTER,        Keyboard::TAB,         Keyboard::ESCAPE,
    Keyboard::PAUSE,         Keyboard::MINUS,        Keyboard::PLUS,        Keyboard::TILDE,
    Keyboard::PERIOD,        Keyboard::COMMA,        Keyboard::SLASH,       Keyboard::EQUAL,
    Keyboard::BACKSLASH,     Keyboard::MULTIPLY,     Keyboard::QUOTE,       Keyboard::LEFT_BRACKET,
    Keyboard::RIGHT_BRACKET, Keyboard::SEMICOLON,    Keyboard::LEFT_CONTROL, Keyboard::RIGHT_CONTROL,
    Keyboard::LEFT_SHIFT,    Keyboard::RIGHT_SHIFT,  Keyboard::F1,          Keyboard::F2,
    Keyboard::F3,            Keyboard::F4,           Keyboard::F5,          Keyboard::F6,
    Keyboard::F7,            Keyboard::F8,           Keyboard::F9,          Keyboard::F10,
    Keyboard::A,             Keyboard::B,            Keyboard::C,           Keyboard::D,
    Keyboard::E,             Keyboard::F,            Keyboard::G,           Keyboard::H,
    Keyboard::I,             Keyboard::J,            Keyboard::K,           Keyboard::L,
    Keyboard::M,             Keyboard::N,            Keyboard::O,           Keyboard::P,
    Keyboard::Q,             Keyboard::R,            Keyboard::S,           Keyboard::T,
    Keyboard::U,             Keyboard::V,            Keyboard::W,           Keyboard::X,
    Keyboard::Y,             Keyboard::Z,            Keyboard::NUM_1,       Keyboard::NUM_2,
    Keyboard::NUM_3,         Keyboard::NUM_4,        Keyboard::NUM_5,       Keyboard::NUM_6,
    Keyboard::NUM_7,         Keyboard::NUM_8,        Keyboard::NUM_9,       Keyboard::NUM_0,
    Keyboard::BACKSPACE,
};

// The KEYS entry of an SFML key code; null outside SFML's range.
const KeyInfo *findKey(int sfml_key) {
    for (const KeyInfo &info : KEYS)
        if (static_cast<int>(info.sfml) == sfml_key)
            return &info;
    return nullptr;
}

// The SFML key that gives an engine key.
sf::Keyboard::Key sfmlKeyOf(Keyboard::Key key) {
    for (const KeyInfo &info : KEYS)
        if (info.key == key)
            return info.sfml;
    return sf::Keyboard::Unknown;
}

int mouseButtonFromSFML(sf::Mouse::Button button) {
    switch (button) {
    case sf::Mouse::Left:
        return Mouse::LEFT;
    case sf::Mouse::Right:
        return Mouse::RIGHT;
    case sf::Mouse::Middle:
        return Mouse::MIDDLE;
    default:
        return Mouse::UNDEFINED_MOUSE_BUTTON;
    }
}

Vector cellsAt(int pixel_x, int pixel_y) {
    return pixelsToSpaces(Vector(static_cast<float>(pixel_x), static_cast<float>(pixel_y)));
}

} // namespace

Keyboard::Key keyFromSFML(int sfml_key) {
    const KeyInfo *p_info = findKey(sfml_key);
    return p_info ? p_info->key : Keyboard::UNDEFINED_KEY;
}

const char *sfmlKeyName(int sfml_key) {
    const KeyInfo *p_info = findKey(sfml_key);
    return p_info ? p_info->name : "Unknown";
}

InputManager::InputManager() { setType("InputManager"); }

InputManager::~InputManager() = default;

InputManager &InputManager::getInstance() {
    static InputManager input_manager;
    return input_manager;
}

bool InputManager::isValid(std::string event_type) const {
    return event_type == KEYBOARD_EVENT || event_type == MSE_EVENT;
}

int InputManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }

    if (Config::getInstance().getHeadless()) {
        log.writeLog(1, "InputManager::startUp(): no input in headless mode.");
    } else {
        const DisplayManager &display = DisplayManager::getInstance();
        if (!display.isStarted()) {
            log.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
            return -1;
        }
        if (sf::RenderWindow *p_window = display.getWindow()) {
            p_window->setKeyRepeatEnabled(false);
            log.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
        } else {
            log.writeLog("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
        }
    }

    Manager::startUp();
    log.writeLog(5, "InputManager::startUp(): successfully started.");
    return 0;
}

void InputManager::shutDown() {
    LogManager &log = LogManager::getInstance();
    if (sf::RenderWindow *p_window = DisplayManager::getInstance().getWindow()) {
        p_window->setKeyRepeatEnabled(true);
        log.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
    }
    Manager::shutDown();
    log.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

EventKeyboard InputManager::toEventKeyboard(const sf::Event &event) const {
    LogManager &log = LogManager::getInstance();
    EventKeyboard keyboard;
    if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
        log.writeLog("toEventKeyboard(): Error! Called with non-keyboard event.");
        keyboard.setKey(Keyboard::UNDEFINED_KEY);
        return keyboard;
    }

    const int code = static_cast<int>(event.key.code);
    const Keyboard::Key key = keyFromSFML(code);
    if (key == Keyboard::UNDEFINED_KEY) {
        log.writeLog(1, "InputManager::toEventKeyboard(): Warning key '%s' not handled.", sfmlKeyName(code));
        keyboard.setKey(Keyboard::UNDEFINED_KEY);
        return keyboard;
    }
    keyboard.setKey(key);
    if (log.getLogLevel() >= 15)
        log.writeLog(15, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)", toString(key).c_str(),
                     sfmlKeyName(code));
    return keyboard;
}

bool InputManager::handleWindowEvent(const sf::Event &event) const {
    Recording::Input input;
    switch (event.type) {
    case sf::Event::Closed:
        input.kind = Recording::CLOSED;
        return deliver(input);
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
        input.action = event.type == sf::Event::KeyPressed ? KEY_PRESSED : KEY_RELEASED;
        input.code = toEventKeyboard(event).getKey();
        return deliver(input);
    case sf::Event::MouseMoved: {
        const Vector cell = cellsAt(event.mouseMove.x, event.mouseMove.y);
        return deliver({0, Recording::MOUSE, MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, cell.getX(), cell.getY()});
    }
    case sf::Event::MouseButtonPressed: {
        const Vector cell = cellsAt(event.mouseButton.x, event.mouseButton.y);
        return deliver(
            {0, Recording::MOUSE, CLICKED, mouseButtonFromSFML(event.mouseButton.button), cell.getX(), cell.getY()});
    }
    default:
        return true;
    }
}

bool InputManager::deliver(const Recording::Input &input) const {
    if (m_sink)
        m_sink(input);
    if (input.kind == Recording::CLOSED) {
        LogManager::getInstance().writeLog(1, "InputManager::getInput(): Window closed. Setting game over.");
        GameManager::getInstance().setGameOver();
        return false;
    }
    if (input.kind == Recording::MOUSE) {
        EventMouse mouse;
        mouse.setMouseAction(input.action);
        mouse.setMouseButton(input.code);
        mouse.setMousePosition(Vector(input.x, input.y));
        onEvent(&mouse);
        return true;
    }
    EventKeyboard keyboard;
    keyboard.setKey(input.code);
    keyboard.setKeyboardAction(input.action);
    onEvent(&keyboard);
    return true;
}

void InputManager::setSource(std::function<std::vector<Recording::Input>()> source, std::function<void()> on_key) {
    m_source = std::move(source);
    m_on_key = std::move(on_key);
}

bool InputManager::drainDuringReplay() const {
    sf::RenderWindow *p_window = DisplayManager::getInstance().getWindow();
    if (!p_window)
        return true;
    sf::Event event;
    bool key = false;
    while (p_window->pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            LogManager::getInstance().writeLog(1, "InputManager::getInput(): Window closed. Setting game over.");
            GameManager::getInstance().setGameOver();
            return false;
        }
        key = key || event.type == sf::Event::KeyPressed;
    }
    // after draining, and from a copy: the handler may end the replay, which
    // takes the source and the handler away
    if (const std::function<void()> on_key = m_on_key; key && on_key)
        on_key();
    return true;
}

void InputManager::getInput() {
    if (m_source) {
        if (!drainDuringReplay())
            return;
        // the key handler may have ended the replay
        if (!m_source)
            return;
        for (const Recording::Input &input : m_source())
            if (!deliver(input))
                return;
        return;
    }
    if (Config::getInstance().getHeadless())
        return;
    sf::RenderWindow *p_window = DisplayManager::getInstance().getWindow();
    if (!p_window) {
        LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
        return;
    }

    sf::Event event;
    while (p_window->pollEvent(event))
        if (!handleWindowEvent(event))
            return;

    const sf::Vector2i pointer = sf::Mouse::getPosition(*p_window);
    const Vector held = cellsAt(pointer.x, pointer.y);
    for (const sf::Mouse::Button button : {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle})
        if (sf::Mouse::isButtonPressed(button))
            deliver({0, Recording::MOUSE, PRESSED, mouseButtonFromSFML(button), held.getX(), held.getY()});

    for (const Keyboard::Key key : POLLED_KEYS)
        if (sf::Keyboard::isKeyPressed(sfmlKeyOf(key)))
            deliver({0, Recording::KEYBOARD, KEY_DOWN, key, 0, 0});
}

} // namespace vk
