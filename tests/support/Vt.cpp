#include "Vt.h"

#include <vterm.h>

namespace vktest {

int Vt::setTermProp(int prop, void *p_value, void *p_user) {
    Vt &vt = *static_cast<Vt *>(p_user);
    const VTermValue &value = *static_cast<VTermValue *>(p_value);
    if (prop == VTERM_PROP_ALTSCREEN)
        vt.m_alt_screen = value.boolean != 0;
    else if (prop == VTERM_PROP_CURSORVISIBLE)
        vt.m_cursor_visible = value.boolean != 0;
    else if (prop == VTERM_PROP_MOUSE)
        vt.m_mouse = value.number;
    return 1;
}

namespace {

int onTermProp(VTermProp prop, VTermValue *p_value, void *p_user) {
    return Vt::setTermProp(static_cast<int>(prop), p_value, p_user);
}

const VTermScreenCallbacks CALLBACKS = {nullptr, nullptr, nullptr, onTermProp, nullptr, nullptr, nullptr, nullptr};

} // namespace

Vt::Vt(int columns, int rows) : m_columns(columns), m_rows(rows) {
    m_p_vt = vterm_new(rows, columns);
    vterm_set_utf8(m_p_vt, 1);
    m_p_screen = vterm_obtain_screen(m_p_vt);
    vterm_screen_enable_altscreen(m_p_screen, 1);
    vterm_screen_set_callbacks(m_p_screen, &CALLBACKS, this);
    vterm_screen_reset(m_p_screen, 1);
}

Vt::~Vt() { vterm_free(m_p_vt); }

void Vt::feed(const std::string &bytes) { vterm_input_write(m_p_vt, bytes.data(), bytes.size()); }

void Vt::resize(int columns, int rows) {
    m_columns = columns;
    m_rows = rows;
    vterm_set_size(m_p_vt, rows, columns);
}

std::string Vt::row(int y) const {
    std::string text;
    for (int x = 0; x < m_columns; x++) {
        VTermScreenCell cell{};
        vterm_screen_get_cell(m_p_screen, VTermPos{y, x}, &cell);
        text += cell.chars[0] > 0 && cell.chars[0] < 128 ? static_cast<char>(cell.chars[0]) : ' ';
    }
    return text;
}

std::string Vt::text() const {
    std::string text;
    for (int y = 0; y < m_rows; y++)
        text += row(y) + (y + 1 < m_rows ? "\n" : "");
    return text;
}

int Vt::fg(int x, int y) const {
    VTermScreenCell cell{};
    vterm_screen_get_cell(m_p_screen, VTermPos{y, x}, &cell);
    return VTERM_COLOR_IS_INDEXED(&cell.fg) && !VTERM_COLOR_IS_DEFAULT_FG(&cell.fg) ? cell.fg.indexed.idx : -1;
}

std::pair<int, int> Vt::find(const std::string &needle) const {
    for (int y = 0; y < m_rows; y++)
        if (const std::size_t x = row(y).find(needle); x != std::string::npos)
            return {static_cast<int>(x), y};
    return {-1, -1};
}

} // namespace vktest
