#include <vessik/presentation/ViewObject.h>

#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/presentation/EventView.h>
#include <vessik/services/serialization.h>
#include <vessik/world/WorldManager.h>

#include <climits>
#include <cstdint>
#include <istream>
#include <ostream>

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

namespace {

const char *boolText(bool value) { return value ? "true" : "false"; }

} // namespace

int ViewObject::serialize(std::ostream &out, unsigned attr) {
    const LogManager &log = LogManager::getInstance();
    const unsigned modified = getModified();
    log.writeLog(20, "ViewObject::serialize(): serializing attributes");
    log.writeLog(20, "ViewObject::serialize(): attr is %u, modified is %u (%s)", attr, modified,
                 boolText(modified != 0));
    Object::serialize(out, attr);

    const auto wanted = [&](unsigned bit) { return ((attr != 0 ? attr : modified) & bit) != 0; };
    // a stream that took nothing leaves the change to be sent
    const auto written = [this, &out](unsigned bit) {
        if (out.good())
            setModified(getModified() & ~bit);
    };
    if (wanted(attr::VALUE)) {
        writeInt(out, m_value);
        written(attr::VALUE);
        log.writeLog(25, "\tVALUE");
    }
    if (wanted(attr::APPEARANCE)) {
        writeString(out, m_view_string);
        writeBool(out, m_border);
        writeInt(out, static_cast<int>(m_color));
        writeInt(out, m_location);
        writeBool(out, m_draw_value);
        written(attr::APPEARANCE);
        log.writeLog(25, "\tAPPEARANCE");
        log.writeLog(25, "\tVIEW_STRING: %s", m_view_string.c_str());
        log.writeLog(25, "\tBORDER: %s", boolText(m_border));
        log.writeLog(25, "\tCOLOR: %s", toString(m_color).c_str());
        log.writeLog(25, "\tLOCATION: %s", toString(static_cast<ViewObjectLocation>(m_location)).c_str());
        log.writeLog(25, "\tDRAW_VALUE: %s", boolText(m_draw_value));
    }
    return checkStream("ViewObject::serialize()", out);
}

int ViewObject::deserialize(std::istream &in, unsigned *p_attr_out) {
    const LogManager &log = LogManager::getInstance();
    const char *const where = "ViewObject::deserialize()";
    unsigned local_mask = 0;
    unsigned *p_mask = p_attr_out ? p_attr_out : &local_mask;
    const int result = Object::deserialize(in, p_mask);
    if (result != 0) {
        log.writeLog("ViewObject::deserialize(): Error calling Object::deserialize().");
        return result;
    }
    const unsigned mask = *p_mask;
    log.writeLog(20, "ViewObject::deserialize(): attr %u (%s)", mask, bitText(mask).c_str());

    if (mask & attr::VALUE) {
        int value = 0;
        if (!readInt(in, value))
            return checkStream(where, in);
        setValue(value);
        log.writeLog(25, "\tVALUE: %d", value);
    }
    if (mask & attr::APPEARANCE) {
        std::uint64_t length = 0;
        if (!readCount(in, length))
            return checkStream(where, in);
        std::string view_string;
        const CharsRead read = readChars(in, length, view_string);
        if (read == CharsRead::NO_MEMORY) {
            log.writeLog("ViewObject::deserialize(): Error! Cannot allocate %d bytes.",
                         length > INT_MAX ? INT_MAX : static_cast<int>(length));
            return -1;
        }
        bool border = false;
        int color = 0;
        int location = 0;
        bool draw_value = false;
        // all five, or none of them
        if (read != CharsRead::OK || !readBool(in, border) || !readInt(in, color) || !readInt(in, location) ||
            !readBool(in, draw_value))
            return checkStream(where, in);
        setViewString(view_string);
        if (location == -1 && m_location != -1) {
            // placed by its position, not at a named place: the border must
            // not move it to one
            m_location = -1;
            markModified(attr::APPEARANCE);
        }
        setBorder(border);
        setColor(static_cast<Color>(color));
        if (location != -1)
            setLocation(location);
        setDrawValue(draw_value);
        log.writeLog(25, "\tAPPEARANCE");
        log.writeLog(25, "\tVIEW_STRING: %s", view_string.c_str());
        log.writeLog(25, "\tBORDER: %s", boolText(border));
        log.writeLog(25, "\tCOLOR: %s", toString(static_cast<Color>(color)).c_str());
        log.writeLog(25, "\tLOCATION: %s", toString(static_cast<ViewObjectLocation>(location)).c_str());
        log.writeLog(25, "\tDRAW_VALUE: %s", boolText(draw_value));
    }
    log.writeLog(20, "ViewObject::deserialize(): done checking all types.");
    return checkStream(where, in);
}

} // namespace vk
