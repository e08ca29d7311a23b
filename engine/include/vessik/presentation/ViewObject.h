#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>
#include <vessik/presentation/ViewObjectLocation.h>
#include <vessik/world/Object.h>

#include <string>

namespace vk {

namespace attr {
// The view object's own attributes, after the object's eighteen.
inline constexpr unsigned VALUE = 0x40000;
inline constexpr unsigned APPEARANCE = 0x80000;
} // namespace attr

// A heads-up display item: a label and optionally a number, drawn as one
// centred line of text at a fixed place on the screen, optionally framed by a
// border of '-' and '|'. Its position is in view coordinates (cells from the
// view's top-left corner), so it stays put when the view scrolls; it is
// spectral and drawn on the top layer. Like every object it belongs to the
// world manager once created.
//
// A named place is computed from the view size when setLocation() or
// setBorder() runs; later changes of the view size do not move it. An explicit
// setPosition() detaches the object from its place (location -1).
//
// "vk-view" events (EventView) whose tag equals the view string set the
// value, or add to it.
class VK_API ViewObject : public Object {
  public:
    ViewObject();
    ~ViewObject() override = default;

    // Detaches from the named place; 0 when the position is unchanged.
    int setPosition(Vector view_pos) override;
    int eventHandler(const Event *p_event) override;
    // The sum of the display's results: 0 when every character was drawn.
    int draw() override;

    // The object's record followed by the value and the appearance (view
    // string, border, colour, location, draw value) under their own bits.
    int serialize(std::ostream &out, unsigned attr = 0) override;
    // Reads the object's record, then the view object's fields, which are
    // applied through the setters and so leave their bits set again.
    int deserialize(std::istream &in, unsigned *p_attr_out = nullptr) override;

    // Moves to one of the nine places; -1 (with a warning) outside 0 to 8.
    virtual int setLocation(int location);
    virtual void setDrawValue(bool draw_value = true);
    virtual void setValue(int value);
    // Moves the object vertically when it sits at a named place.
    virtual void setBorder(bool border);
    virtual void setColor(Color color);
    virtual void setViewString(std::string view_string);

    [[nodiscard]] int getLocation() const noexcept { return m_location; }
    [[nodiscard]] bool getDrawValue() const noexcept { return m_draw_value; }
    [[nodiscard]] int getValue() const noexcept { return m_value; }
    [[nodiscard]] bool getBorder() const noexcept { return m_border; }
    [[nodiscard]] Color getColor() const noexcept { return m_color; }
    [[nodiscard]] std::string getViewString() const { return m_view_string; }

    // The line as drawn: the view string and value with the blanks the
    // border and value settings call for.
    [[nodiscard]] std::string getText() const;

  private:
    void markModified(unsigned bits) { setModified(getModified() | bits); }

    std::string m_view_string;
    int m_value = 0;
    bool m_draw_value = true;
    bool m_border = true;
    Color m_color = WHITE;
    int m_location = TOP_CENTER;
};

} // namespace vk
