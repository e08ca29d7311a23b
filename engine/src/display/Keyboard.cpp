#include <vessik/display/Keyboard.h>

namespace vk {

std::string toString(Keyboard::Key key) {
    using namespace Keyboard;
    if (key >= A && key <= Z)
        return std::string(1, static_cast<char>('A' + (key - A)));
    if (key >= NUM_1 && key <= NUM_9)
        return std::string(1, static_cast<char>('1' + (key - NUM_1)));
    switch (static_cast<int>(key)) {
    case SPACE:
        return " ";
    case NUM_0:
        return "0";
    case MINUS:
        return "-";
    case PLUS:
        return "+";
    case TILDE:
        return "~";
    case PERIOD:
        return ".";
    case COMMA:
        return ",";
    case SLASH:
        return "/";
    case EQUAL:
        return "=";
    case BACKSLASH:
        return "\\";
    case MULTIPLY:
        return "*";
    case QUOTE:
        return "'";
    case SEMICOLON:
        return ";";
    case LEFT_BRACKET:
        return "[";
    case RIGHT_BRACKET:
        return "]";
    case 76:
        return "`";
    default:
        return "";
    }
}

} // namespace vk
