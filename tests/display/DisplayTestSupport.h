#pragma once

#include "DisplayManager.h"
#include "Event.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Object.h"
#include "Vector.h"

#include <SFML/Graphics.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace vktest {

// The window's back buffer, with every character drawn so far.
inline sf::Image screenshot() {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    display.flush();
    sf::RenderWindow *p_window = display.getWindow();
    sf::Texture texture;
    texture.create(p_window->getSize().x, p_window->getSize().y);
    texture.update(*p_window);
    return texture.copyToImage();
}

// How many pixels of the rectangle [x0, x1) x [y0, y1) have exactly this
// colour.
inline int countPixels(const sf::Image &image, int x0, int y0, int x1, int y1, sf::Color color) {
    int count = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (x >= 0 && y >= 0 && static_cast<unsigned>(x) < image.getSize().x &&
                static_cast<unsigned>(y) < image.getSize().y &&
                image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color)
                count++;
    return count;
}

// One keyboard or mouse event as a handler saw it.
struct Heard {
    std::string type;
    int action = -1;
    int key_or_button = -1;
    vk::Vector position;
    bool operator==(const Heard &other) const {
        return type == other.type && action == other.action && key_or_button == other.key_or_button;
    }
};

inline void PrintTo(const Heard &heard, std::ostream *p_os) {
    *p_os << heard.type << " action " << heard.action << " key/button " << heard.key_or_button << " at "
          << heard.position.toString();
}

// Listens to keyboard and mouse events and remembers them in order.
struct Recorder : vk::Object {
    std::vector<Heard> heard;
    Recorder() {
        registerInterest(vk::KEYBOARD_EVENT);
        registerInterest(vk::MSE_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() == vk::KEYBOARD_EVENT) {
            const auto *p_key = dynamic_cast<const vk::EventKeyboard *>(p_event);
            heard.push_back({vk::KEYBOARD_EVENT, p_key->getKeyboardAction(), p_key->getKey(), {}});
            return 1;
        }
        if (p_event->getType() == vk::MSE_EVENT) {
            const auto *p_mouse = dynamic_cast<const vk::EventMouse *>(p_event);
            heard.push_back(
                {vk::MSE_EVENT, p_mouse->getMouseAction(), p_mouse->getMouseButton(), p_mouse->getMousePosition()});
            return 1;
        }
        return 0;
    }
    // The events heard since the last call.
    std::vector<Heard> take() {
        std::vector<Heard> taken;
        taken.swap(heard);
        return taken;
    }
};

inline Heard key(int action, int key) { return {vk::KEYBOARD_EVENT, action, key, {}}; }
inline Heard mouse(int action, int button) { return {vk::MSE_EVENT, action, button, {}}; }

} // namespace vktest
