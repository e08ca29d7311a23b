#include <vessik/display/TerminalKeys.h>

#include <algorithm>
#include <csignal>

namespace vk {

namespace {

constexpr char ESC = '\x1b';
// longer than any sequence a terminal sends: the rest is noise
constexpr std::size_t MAX_SEQUENCE = 64;
// larger parameters mean nothing here and must not overflow
constexpr int MAX_PARAMETER = 9999999;

// The keyboard protocol's event types.
constexpr int LEGACY_PRESS = 0;
constexpr int PRESS = 1;
constexpr int REPEAT = 2;
constexpr int RELEASE = 3;
// The control bit of its modifier field (which counts from 1).
constexpr int CONTROL_BIT = 4;

Keyboard::Key offset(Keyboard::Key first, int n) { return static_cast<Keyboard::Key>(first + n); }

// The key whose character the terminal sent. The terminal cannot tell the
// keypad's operators from the main row's, so each character goes to the one
// key that has it; the grave accent is the tilde's key unshifted.
Keyboard::Key characterKey(int c) {
    if (c >= 'a' && c <= 'z')
        return offset(Keyboard::A, c - 'a');
    if (c >= 'A' && c <= 'Z')
        return offset(Keyboard::A, c - 'A');
    if (c >= '1' && c <= '9')
        return offset(Keyboard::NUM_1, c - '1');
    switch (c) {
    case '0':
        return Keyboard::NUM_0;
    case ' ':
        return Keyboard::SPACE;
    case '-':
        return Keyboard::MINUS;
    case '+':
        return Keyboard::PLUS;
    case '*':
        return Keyboard::MULTIPLY;
    case '~':
    case '`':
        return Keyboard::TILDE;
    case '.':
        return Keyboard::PERIOD;
    case ',':
        return Keyboard::COMMA;
    case '/':
        return Keyboard::SLASH;
    case '=':
        return Keyboard::EQUAL;
    case '\\':
        return Keyboard::BACKSLASH;
    case '\'':
        return Keyboard::QUOTE;
    case ';':
        return Keyboard::SEMICOLON;
    case '[':
        return Keyboard::LEFT_BRACKET;
    case ']':
        return Keyboard::RIGHT_BRACKET;
    default:
        return Keyboard::UNDEFINED_KEY;
    }
}

// The key of a single byte outside escape sequences.
Keyboard::Key byteKey(unsigned char c) {
    switch (c) {
    case '\r':
    case '\n':
        return Keyboard::ENTER;
    case '\t':
        return Keyboard::TAB;
    case 0x7f:
    case '\b':
        return Keyboard::BACKSPACE;
    case 0:
        return Keyboard::SPACE;
    default:
        break;
    }
    // control and a letter
    if (c >= 0x01 && c <= 0x1a)
        return offset(Keyboard::A, c - 0x01);
    return characterKey(c);
}

// The key of the keyboard protocol's code (a character, or one of its
// numbers for keys without one).
Keyboard::Key protocolKey(int code) {
    switch (code) {
    case 27:
        return Keyboard::ESCAPE;
    case 13:
    case 57414: // keypad enter
        return Keyboard::ENTER;
    case 9:
        return Keyboard::TAB;
    case 127:
    case 8:
        return Keyboard::BACKSPACE;
    case 57362:
        return Keyboard::PAUSE;
    case 57411:
        return Keyboard::MULTIPLY;
    case 57412:
        return Keyboard::MINUS;
    case 57413:
        return Keyboard::PLUS;
    case 57441:
        return Keyboard::LEFT_SHIFT;
    case 57442:
        return Keyboard::LEFT_CONTROL;
    case 57447:
        return Keyboard::RIGHT_SHIFT;
    case 57448:
        return Keyboard::RIGHT_CONTROL;
    default:
        return code >= 32 && code < 127 ? characterKey(code) : Keyboard::UNDEFINED_KEY;
    }
}

// The function key of "CSI n ~".
Keyboard::Key tildeKey(int n) {
    if (n >= 11 && n <= 15)
        return offset(Keyboard::F1, n - 11);
    if (n >= 17 && n <= 21)
        return offset(Keyboard::F6, n - 17);
    if (n == 23 || n == 24)
        return offset(Keyboard::F11, n - 23);
    return Keyboard::UNDEFINED_KEY; // insert, delete, home, end, page keys
}

// The key of a letter ending "CSI ... x" or "SS3 x".
Keyboard::Key letterKey(char final) {
    switch (final) {
    case 'A':
        return Keyboard::UP_ARROW;
    case 'B':
        return Keyboard::DOWN_ARROW;
    case 'C':
        return Keyboard::RIGHT_ARROW;
    case 'D':
        return Keyboard::LEFT_ARROW;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
        return offset(Keyboard::F1, final - 'P');
    case 'Z': // shift and tab
        return Keyboard::TAB;
    case 'M': // keypad enter
        return Keyboard::ENTER;
    default:
        return Keyboard::UNDEFINED_KEY;
    }
}

// "1;5:3" as fields of colon-separated numbers; an empty number is -1.
std::vector<std::vector<int>> fields(const std::string &params) {
    std::vector<std::vector<int>> result(1, std::vector<int>(1, -1));
    for (const char c : params) {
        if (c == ';') {
            result.emplace_back(1, -1);
        } else if (c == ':') {
            result.back().push_back(-1);
        } else if (c >= '0' && c <= '9') {
            int &n = result.back().back();
            n = n < 0 ? 0 : n;
            if (n <= MAX_PARAMETER)
                n = n * 10 + (c - '0');
        }
    }
    return result;
}

int field(const std::vector<std::vector<int>> &f, std::size_t i, std::size_t sub, int fallback) {
    return i < f.size() && sub < f[i].size() && f[i][sub] >= 0 ? f[i][sub] : fallback;
}

} // namespace

void TerminalKeys::feed(const char *p_bytes, std::size_t count, std::int64_t now_us) {
    m_now_us = now_us;
    if (count == 0)
        return;
    m_last_byte_us = now_us;
    m_pending.append(p_bytes, count);
    while (!m_pending.empty()) {
        const std::size_t n = decodeOne(false);
        if (n == 0)
            break;
        m_pending.erase(0, n);
    }
}

void TerminalKeys::update(std::int64_t now_us) {
    m_now_us = now_us;
    // what waited for the rest of a sequence is what it was alone
    if (!m_pending.empty() && now_us - m_last_byte_us >= ESCAPE_TIMEOUT_US)
        while (!m_pending.empty())
            m_pending.erase(0, decodeOne(true));

    if (m_releases)
        return;
    for (int k = 0; k < Keyboard::KEY_VALUES; k++) {
        Held &held = m_held[static_cast<std::size_t>(k)];
        const std::int64_t limit = held.repeated ? REPEAT_HOLD_US : FIRST_HOLD_US;
        if (held.down && now_us - held.last_us > limit) {
            held.down = false;
            emitKey(static_cast<Keyboard::Key>(k), KEY_RELEASED);
        }
    }
}

void TerminalKeys::releaseAll() {
    for (int k = 0; k < Keyboard::KEY_VALUES; k++) {
        if (m_held[static_cast<std::size_t>(k)].down) {
            m_held[static_cast<std::size_t>(k)].down = false;
            emitKey(static_cast<Keyboard::Key>(k), KEY_RELEASED);
        }
    }
    m_buttons.fill(false);
}

std::vector<TerminalInput> TerminalKeys::take() {
    std::vector<TerminalInput> out;
    out.swap(m_out);
    return out;
}

bool TerminalKeys::isHeld(Keyboard::Key key) const noexcept {
    return key >= 0 && key < Keyboard::KEY_VALUES && m_held[static_cast<std::size_t>(key)].down;
}

bool TerminalKeys::isButtonHeld(Mouse::Button button) const noexcept {
    return button >= 0 && button < 3 && m_buttons[static_cast<std::size_t>(button)];
}

bool TerminalKeys::takeReleaseOffer() noexcept {
    if (!m_release_offer || m_releases)
        return false;
    // the caller now switches the reports on
    m_releases = true;
    return true;
}

std::size_t TerminalKeys::decodeOne(bool final_bytes) {
    const auto c = static_cast<unsigned char>(m_pending[0]);
    if (c == ESC)
        return decodeEscape(final_bytes);
    if (c < 0x80) {
        key(byteKey(c), LEGACY_PRESS);
        return 1;
    }
    // a character of several bytes is one key the engine does not have
    const std::size_t length = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 1;
    if (m_pending.size() < length && !final_bytes)
        return 0;
    key(Keyboard::UNDEFINED_KEY, LEGACY_PRESS);
    return std::min(length, m_pending.size());
}

std::size_t TerminalKeys::decodeEscape(bool final_bytes) {
    if (m_pending.size() < 2) {
        if (!final_bytes)
            return 0;
        key(Keyboard::ESCAPE, LEGACY_PRESS);
        return 1;
    }
    const char second = m_pending[1];
    if (second == 'O') {
        if (m_pending.size() < 3) {
            if (!final_bytes)
                return 0;
            key(Keyboard::ESCAPE, LEGACY_PRESS);
            return 1;
        }
        key(letterKey(m_pending[2]), LEGACY_PRESS);
        return 3;
    }
    if (second != '[') {
        // a second Escape starts anew; before anything else the Escape is the
        // terminal's way of saying Alt, and the key follows on its own
        if (second == ESC)
            key(Keyboard::ESCAPE, LEGACY_PRESS);
        return 1;
    }

    // the Linux console's function keys: ESC [ [ A to E
    if (m_pending.size() >= 3 && m_pending[2] == '[') {
        if (m_pending.size() < 4) {
            if (!final_bytes)
                return 0;
            key(Keyboard::ESCAPE, LEGACY_PRESS);
            return 1;
        }
        const char letter = m_pending[3];
        key(letter >= 'A' && letter <= 'E' ? offset(Keyboard::F1, letter - 'A') : Keyboard::UNDEFINED_KEY,
            LEGACY_PRESS);
        return 4;
    }

    std::size_t i = 2;
    while (i < m_pending.size() && i < MAX_SEQUENCE) {
        const auto b = static_cast<unsigned char>(m_pending[i]);
        if (b >= 0x40 && b <= 0x7e) {
            decodeCsi(m_pending.substr(2, i - 2), static_cast<char>(b));
            return i + 1;
        }
        if (b < 0x20 || b > 0x3f) {
            // not a sequence after all: the Escape was a key
            key(Keyboard::ESCAPE, LEGACY_PRESS);
            return 1;
        }
        i++;
    }
    if (i >= MAX_SEQUENCE)
        return i;
    if (!final_bytes)
        return 0;
    key(Keyboard::ESCAPE, LEGACY_PRESS);
    return 1;
}

void TerminalKeys::decodeCsi(const std::string &params, char final) {
    const char prefix = params.empty() ? '\0' : params[0];
    if (prefix == '<') {
        decodeMouse(params, final);
        return;
    }
    if (prefix == '?' && final == 'u') {
        m_release_offer = true;
        return;
    }
    // other private sequences are the terminal's answers to questions
    // nobody here asked
    if (prefix == '?' || prefix == '>' || prefix == '=')
        return;

    const std::vector<std::vector<int>> f = fields(params);
    const int modifiers = field(f, 1, 0, 1) - 1;
    // without a type, a press: one that follows the hold rule unless the
    // terminal reports releases
    const int event = field(f, 1, 1, m_releases ? PRESS : LEGACY_PRESS);
    if (final == 'u') {
        const int code = field(f, 0, 0, 0);
        // the protocol sends control keys as keys: raise what the terminal
        // would have raised
        if ((modifiers & CONTROL_BIT) && event == PRESS && (code == 'c' || code == 'z')) {
            TerminalInput input;
            input.kind = TerminalInput::SIGNAL;
            input.signal = code == 'c' ? SIGINT : SIGTSTP;
            m_out.push_back(input);
            return;
        }
        key(protocolKey(code), event);
    } else if (final == '~') {
        key(tildeKey(field(f, 0, 0, 0)), event);
    } else if ((final == 'I' || final == 'O') && params.empty()) {
        // focus in and out
    } else if (final >= 'A' && final <= 'Z') {
        key(letterKey(final), event);
    }
}

void TerminalKeys::decodeMouse(const std::string &params, char final) {
    if (final != 'M' && final != 'm')
        return;
    const std::vector<std::vector<int>> f = fields(params.substr(1));
    const int code = field(f, 0, 0, -1);
    const int x = field(f, 1, 0, -1);
    const int y = field(f, 2, 0, -1);
    // wheels are not the engine's
    if (code < 0 || x < 1 || y < 1 || (code & 64))
        return;
    m_mouse_column = x - 1;
    m_mouse_row = y - 1;

    TerminalInput input;
    input.kind = TerminalInput::MOUSE;
    input.column = m_mouse_column;
    input.row = m_mouse_row;
    if (code & 32) {
        input.mouse_action = MOVED;
        m_out.push_back(input);
        return;
    }
    // the terminal counts left, middle, right
    const int bits = code & 3;
    if (bits == 3)
        return;
    const Mouse::Button button = bits == 0 ? Mouse::LEFT : bits == 1 ? Mouse::MIDDLE : Mouse::RIGHT;
    m_buttons[static_cast<std::size_t>(button)] = final == 'M';
    if (final == 'm')
        return;
    input.mouse_action = CLICKED;
    input.button = button;
    m_out.push_back(input);
}

void TerminalKeys::key(Keyboard::Key key, int event) {
    if (key == Keyboard::UNDEFINED_KEY) {
        // nothing to hold: a press and its release
        if (event != RELEASE && event != REPEAT)
            emitKey(key, KEY_PRESSED);
        if (event == RELEASE || event == LEGACY_PRESS)
            emitKey(key, KEY_RELEASED);
        return;
    }
    Held &held = m_held[static_cast<std::size_t>(key)];
    if (event == RELEASE) {
        if (held.down) {
            held.down = false;
            emitKey(key, KEY_RELEASED);
        }
        return;
    }
    if (!held.down) {
        held = Held{true, false, m_now_us};
        emitKey(key, KEY_PRESSED);
        return;
    }
    held.repeated = true;
    held.last_us = m_now_us;
}

void TerminalKeys::emitKey(Keyboard::Key key, KeyboardAction action) {
    TerminalInput input;
    input.key = key;
    input.key_action = action;
    m_out.push_back(input);
}

} // namespace vk
