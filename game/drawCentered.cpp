#include "drawCentered.h"

#include <vessik/display/DisplayManager.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

int centredColumn(int length) {
    const int width = static_cast<int>(vk::WorldManager::getInstance().getBoundary().getHorizontal());
    return width / 2 - length / 2;
}

void drawFrom(int column, int row, const std::string &text, vk::Color color) {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    for (std::size_t i = 0; i < text.size(); i++)
        if (text[i] != ' ')
            display.drawCh(vk::Vector(static_cast<float>(column + static_cast<int>(i)), static_cast<float>(row)),
                           text[i], color, 0.0f);
}

void drawCentered(int row, const std::string &text, vk::Color color) {
    drawFrom(centredColumn(static_cast<int>(text.size())), row, text, color);
}
