#include <vessik/display/InputManager.h>

#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>

#include "core/Platform.h"
#include "display/TerminalScreen.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <array>
#include <csignal>

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

// One PRESSED event per held button, left first, all at `position`.
template <typename Deliver, typename Held> void deliverHeldButtons(Deliver deliver, Vector position, Held held) {
    for (const Mouse::Button button : {Mouse::LEFT, Mouse::RIGHT, Mouse::MIDDLE})
        if (held(button))
            deliver({0, Recording::MOUSE, PRESSED, button, position.getX(), position.getY()});
}

// One KEY_DOWN event per held key, in the polling order.
template <typename Deliver, typename Held> void deliverHeldKeys(Deliver deliver, Held held) {
    for (const Keyboard::Key key : POLLED_KEYS)
        if (held(key))
            deliver({0, Recording::KEYBOARD, KEY_DOWN, key, 0, 0});
}

sf::Mouse::Button sfmlButtonOf(Mouse::Button button) {
    return button == Mouse::LEFT ? sf::Mouse::Left : button == Mouse::RIGHT ? sf::Mouse::Right : sf::Mouse::Middle;
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
        DisplayManager &display = DisplayManager::getInstance();
        if (!display.isStarted()) {
            log.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
            return -1;
        }
        if (display.getTerminal()) {
            m_terminal_keys = TerminalKeys();
            log.writeLog(2, "InputManager::startUp(): Reading keys from the terminal.");
        } else if (display.getWindow()) {
            display.setKeyRepeatEnabled(false);
            log.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
        } else {
            log.writeLog("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
        }
    }

    m_has_focus = true;
    Manager::startUp();
    log.writeLog(5, "InputManager::startUp(): successfully started.");
    return 0;
}

void InputManager::shutDown() {
    LogManager &log = LogManager::getInstance();
    if (DisplayManager &display = DisplayManager::getInstance(); display.getWindow()) {
        display.setKeyRepeatEnabled(true);
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

bool InputManager::handleWindowEvent(const sf::Event &event) {
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
    case sf::Event::LostFocus:
        m_has_focus = false;
        return true;
    case sf::Event::GainedFocus:
        m_has_focus = true;
        return true;
    default:
        return true;
    }
}

bool InputManager::deliver(const Recording::Input &input) const {
    if (m_sink)
        m_sink(input);
    if (input.kind == Recording::CLOSED) {
        LogManager::getInstance().writeLog(1, "InputManager::getInput(): Window closed. Setting game over.");
        // closing the window ends the program, not just the loop it closed in
        GameManager::getInstance().requestQuit();
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
    if (TerminalScreen *p_terminal = DisplayManager::getInstance().getTerminal()) {
        getTerminalInput(*p_terminal);
        return;
    }
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
    const auto to_listeners = [this](const Recording::Input &input) { return deliver(input); };
    deliverHeldButtons(to_listeners, cellsAt(pointer.x, pointer.y),
                       [](Mouse::Button button) { return sf::Mouse::isButtonPressed(sfmlButtonOf(button)); });
    deliverHeldKeys(to_listeners, [](Keyboard::Key key) { return sf::Keyboard::isKeyPressed(sfmlKeyOf(key)); });
}

void InputManager::getTerminalInput(TerminalScreen &terminal) {
    if (TerminalScreen::quitRequested()) {
        LogManager::getInstance().writeLog(1, "InputManager::getInput(): Asked to quit. Setting game over.");
        GameManager::getInstance().setGameOver();
        return;
    }
    const std::int64_t now = platform::nowMicroseconds();
    // keys held when the game was suspended are long up
    if (terminal.takeResumed())
        m_terminal_keys.releaseAll();
    char buffer[4096];
    while (const std::size_t count = terminal.read(buffer, sizeof buffer))
        m_terminal_keys.feed(buffer, count, now);
    m_terminal_keys.update(now);
    if (m_terminal_keys.takeReleaseOffer())
        terminal.enableKeyReleases();

    const auto to_listeners = [this](const Recording::Input &input) { return deliver(input); };
    // terminal cells to the world's, which sit centred in the terminal
    const auto cells = [&](int column, int row) {
        return Vector(static_cast<float>(column - terminal.getOffsetX()),
                      static_cast<float>(row - terminal.getOffsetY()));
    };
    for (const TerminalInput &input : m_terminal_keys.take()) {
        if (input.kind == TerminalInput::SIGNAL) {
            // handled like the signal the terminal would have sent
            std::raise(input.signal);
        } else if (input.kind == TerminalInput::MOUSE) {
            const Vector cell = cells(input.column, input.row);
            to_listeners({0, Recording::MOUSE, input.mouse_action, input.button, cell.getX(), cell.getY()});
        } else {
            to_listeners({0, Recording::KEYBOARD, input.key_action, input.key, 0, 0});
        }
    }
    deliverHeldButtons(to_listeners, cells(m_terminal_keys.getMouseColumn(), m_terminal_keys.getMouseRow()),
                       [&](Mouse::Button button) { return m_terminal_keys.isButtonHeld(button); });
    deliverHeldKeys(to_listeners, [&](Keyboard::Key key) { return m_terminal_keys.isHeld(key); });
}

} // namespace vk
