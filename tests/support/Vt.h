#pragma once

#include <string>
#include <utility>

struct VTerm;
struct VTermScreen;

namespace vktest {

// A terminal emulator (libvterm) in memory: fed what a program writes to its
// terminal, it tells what the screen shows and what modes are on.
class Vt {
  public:
    Vt(int columns, int rows);
    ~Vt();
    Vt(const Vt &) = delete;
    Vt &operator=(const Vt &) = delete;

    void feed(const std::string &bytes);
    void resize(int columns, int rows);

    // Row `y` as text, one character per cell (blank for empty cells).
    [[nodiscard]] std::string row(int y) const;
    // The whole screen, rows joined with '\n'.
    [[nodiscard]] std::string text() const;
    // The foreground colour index (0 to 7) of a cell; -1 for the default.
    [[nodiscard]] int fg(int x, int y) const;
    // Where `text` starts on the screen: column and row, or -1, -1.
    [[nodiscard]] std::pair<int, int> find(const std::string &text) const;

    [[nodiscard]] bool altScreen() const noexcept { return m_alt_screen; }
    [[nodiscard]] bool cursorVisible() const noexcept { return m_cursor_visible; }
    [[nodiscard]] int mouseMode() const noexcept { return m_mouse; }
    [[nodiscard]] int columns() const noexcept { return m_columns; }
    [[nodiscard]] int rows() const noexcept { return m_rows; }

    // The emulator's report of a mode change.
    static int setTermProp(int prop, void *p_value, void *p_user);

  private:

    VTerm *m_p_vt = nullptr;
    VTermScreen *m_p_screen = nullptr;
    int m_columns;
    int m_rows;
    bool m_alt_screen = false;
    bool m_cursor_visible = true;
    int m_mouse = 0;
};

} // namespace vktest
