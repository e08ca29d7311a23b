#include <vessik/display/Color.h>

#include <vessik/core/LogManager.h>

namespace vk {

namespace {

struct ColorInfo {
    const char *display_name;
    const char *file_name;
    unsigned char r, g, b;
};

constexpr ColorInfo COLORS[] = {
    {"Black", "black", 0, 0, 0},         {"Red", "red", 255, 0, 0},
    {"Green", "green", 0, 255, 0},       {"Yellow", "yellow", 255, 255, 0},
    {"Blue", "blue", 0, 0, 255},         {"Magenta", "magenta", 255, 0, 255},
    {"Cyan", "cyan", 0, 255, 255},       {"White", "white", 255, 255, 255},
};

constexpr int NUM_COLORS = static_cast<int>(sizeof COLORS / sizeof COLORS[0]);

bool hasRGB(Color color) { return color >= BLACK && color <= WHITE; }

} // namespace

void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
    if (color == CUSTOM)
        return;
    if (!hasRGB(color)) {
        LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.", static_cast<int>(color));
        return;
    }
    r = COLORS[color].r;
    g = COLORS[color].g;
    b = COLORS[color].b;
}

std::string toString(Color color) { return hasRGB(color) ? COLORS[color].display_name : "Unknown color"; }

int colorFromName(const std::string &name) {
    for (int i = 0; i < NUM_COLORS; i++)
        if (name == COLORS[i].file_name)
            return i;
    return -1;
}

} // namespace vk
