#include "ViewObject.h"

#include "DisplayManager.h"
#include "EventView.h"
#include "LogManager.h"
#include "WorldManager.h"

namespace vk {

ViewObject::ViewObject() {
    setSolidness(SPECTRAL);
    setAltitude(MAX_ALTITUDE);
    setType("ViewObject");
    m_location = -1;
    const float view_width = WorldManager::getInstance().getView().getHorizontal();
    setPosition(Vector(view_width * 3 / 6, 1));
    m_location = TOP_CENTER;
    markModified(attr::APPEARANCE);
    m_draw_value = true;
    registerInterest(VIEW_EVENT);
    markModified(attr::VALUE | attr::APPEARANCE);
}

int ViewObject::setPosition(Vector view_pos) {
    if (view_pos == getPosition())
        return 0;
    m_location = -1;
    const int result = Object::setPosition(view_pos);
    markModified(attr::APPEARANCE);
    return result;
}

int ViewObject::setLocation(int location) {
    if (location < TOP_LEFT || location > BOTTOM_RIGHT) {
        LogManager::getInstance().writeLog("ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.",
                                           location);
        return -1;
    }
    const Box view = WorldManager::getInstance().getView();
    const float w = view.getHorizontal();
    const float h = view.getVertical();

    float x = 0;
    switch (location) {
    case TOP_LEFT:
    case CENTER_LEFT:
    case BOTTOM_LEFT:
        x = w / 6;
        break;
    case TOP_CENTER:
    case BOTTOM_CENTER:
        x = w * 3 / 6;
        break;
    case CENTER_CENTER:
        x = w * 0.5f;
        break;
    default:
        x = w * 5 / 6;
        break;
    }

    // the border takes a row above and below the text
    float y = 0;
    if (location <= TOP_RIGHT)
        y = m_border ? 1.0f : 0.0f;
    else if (location <= CENTER_RIGHT)
        y = m_border ? h * 0.5f : h * 0.5f - 1;
    else
        y = m_border ? h - 2 : h - 1;

    setPosition(Vector(x, y));
    m_location = location;
    markModified(attr::APPEARANCE);
    return 0;
}

void ViewObject::setDrawValue(bool draw_value) {
    if (draw_value == m_draw_value)
        return;
    m_draw_value = draw_value;
    markModified(attr::APPEARANCE);
}

void ViewObject::setValue(int value) {
    if (value == m_value)
        return;
    m_value = value;
    markModified(attr::VALUE);
}

void ViewObject::setBorder(bool border) {
    if (border == m_border)
        return;
    m_border = border;
    markModified(attr::APPEARANCE);
    if (m_location != -1)
        setLocation(m_location);
}

void ViewObject::setColor(Color color) {
    if (color == m_color)
        return;
    m_color = color;
    markModified(attr::APPEARANCE);
}

void ViewObject::setViewString(std::string view_string) {
    if (view_string == m_view_string)
        return;
    m_view_string = std::move(view_string);
    markModified(attr::APPEARANCE);
}

std::string ViewObject::getText() const {
    const std::string value = std::to_string(m_value);
    if (m_border && m_draw_value)
        return " " + m_view_string + " " + value + " ";
    if (m_border)
        return " " + m_view_string + " ";
    if (m_draw_value)
        return m_view_string + " " + value;
    return m_view_string;
}

int ViewObject::draw() {
    DisplayManager &display = DisplayManager::getInstance();
    const std::string text = getText();
    // the display takes world positions and subtracts the view's corner again
    const Vector world_pos = getPosition() + WorldManager::getInstance().getView().getCorner();

    int result = display.drawString(world_pos, text, CENTER_JUSTIFIED, m_color);
    if (m_border) {
        const int n = static_cast<int>(text.size());
        const std::string dashes(text.size(), '-');
        const float x = world_pos.getX();
        const float y = world_pos.getY();
        result += display.drawString(Vector(x, y - 1), dashes, CENTER_JUSTIFIED, m_color);
        result += display.drawString(Vector(x, y + 1), dashes, CENTER_JUSTIFIED, m_color);
        result += display.drawCh(Vector(x - static_cast<float>(n / 2) - 1, y), '|', m_color, 0);
        result += display.drawCh(Vector(x - static_cast<float>(n / 2) + static_cast<float>(n), y), '|', m_color, 0);
    }
    return result;
}

int ViewObject::eventHandler(const Event *p_event) {
    if (p_event->getType() != VIEW_EVENT)
        return Object::eventHandler(p_event);
    // the name alone does not promise the class; without a tag there is no
    // addressee
    const auto *p_view_event = dynamic_cast<const EventView *>(p_event);
    if (!p_view_event || p_view_event->getTag() != m_view_string)
        return 0;
    setValue(p_view_event->getDelta() ? m_value + p_view_event->getValue() : p_view_event->getValue());
    return 1;
}

} // namespace vk
